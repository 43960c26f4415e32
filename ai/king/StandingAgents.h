#pragma once
// The King's economic standing agents: the merchant agent
// (ai/king/MerchantAgent.h) and the building agent.
#include "ai/AIAgent.h"
#include "ai/king/MerchantAgent.h"

class CAIBuildingAgent : public CAIStandingAgent {
public:
    using CAIStandingAgent::CAIStandingAgent;
    const char* GetName() const override { return "Building Agent"; }
};

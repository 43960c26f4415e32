#pragma once
// The King's economic standing agents: the merchant agent and the building
// agent. Their plans come with their own parts; here they take their place
// in the King's tree.
#include "ai/AIAgent.h"

class CAIMerchantAgent : public CAIStandingAgent {
public:
    using CAIStandingAgent::CAIStandingAgent;
    const char* GetName() const override { return "Merchant"; }
};

class CAIBuildingAgent : public CAIStandingAgent {
public:
    using CAIStandingAgent::CAIStandingAgent;
    const char* GetName() const override { return "Building Agent"; }
};

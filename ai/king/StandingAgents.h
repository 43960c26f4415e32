#pragma once
// The King's economic standing agents: the merchant agent
// (ai/king/MerchantAgent.h) and the building agent (ai/BuildingAgent.h).
#include "ai/BuildingAgent.h"
#include "ai/king/MerchantAgent.h"

#pragma once
// The King's resource broker: one request per requester and category, nine
// queues ordered by the requesters' priorities (equal priorities keep their
// filing order), nine holder lists ordered by ascending priority, and the
// pools of what no holder was given. A category is served the day after it
// was asked for ("_COVEVT_TICK_RESOURCE_" to the King); a request may take
// from a holder only when its priority exceeds the holder's by more than
// 0.1.
#include <cstdint>

#include "net/PayloadField.h"

class CAIAgent;
class CProvince;

// The part of the country's stocks that no holder was given.
// The squared distance between the provinces' unit points, the shorter
// way round the map's east-west wrap.
float SquaredDistance(const CProvince& a, const CProvince& b);

struct AIPools {
    float money = 0.0f;
    float colonists = 0.0f;
    float manpower = 0.0f;
    float diplomats = 0.0f;
    float merchants = 0.0f;
};

// "_COVEVT_TICK_RESOURCE_" to the King: the category it serves.
constexpr PayloadField<uint32_t> kTickResourceCategory{"category", 20};

// How much more a requester's priority must be than a holder's to take
// from it.
constexpr float kAITakeMargin = 0.1f;

class CAIResourceRequest {
public:
    CAIResourceRequest(uint32_t category, CAIAgent* requester)
        : category(category), requester(requester) {}
    virtual ~CAIResourceRequest() = default;

    bool IsSatisfied() const;
    bool IsUnitRequest() const { return category == 5 || category == 6; }
    void Clear() {
        amount = 0.0f;
        ships = 0;
    }
    float GetAmount() const { return amount; }
    void SetAmount(float value) { amount = value < 0.0f ? 0.0f : value; }

    uint32_t category;
    CAIAgent* requester;
    float amount = 0.0f;
    // Armies and fleets.
    int32_t kind = 0;
    int32_t granted[3] = {0, 0, 0};
    CProvince* destination = nullptr;
    bool buildPlanAsked = false;
    int32_t first = 0;
    int32_t second = 0;
    // Fleets: the ships still wanted.
    int32_t ships = 0;
};

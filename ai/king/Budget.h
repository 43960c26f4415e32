#pragma once
// The King's economic plans: a boost pays 200 into one investment track
// (stability, trade, production, land or naval technology); a manufactory
// plan builds one manufactory of a kind in a province. Each asks the King
// for the money, waits until it holds enough, then sends the country's own
// request and ends. The budget and the manufactory chooser that start them
// are the King's (ai/king/Budget.cpp).
#include <cstdint>

#include "ai/AIPlan.h"

class CAIBoostPlan : public CAIPlan {
public:
    // The plan type (18..22) names the track.
    CAIBoostPlan(CAIKing* owner, int32_t type) : CAIPlan(owner), m_type(type) {}
    int32_t GetPlanType() const override { return m_type; }

    void Start() override;
    float GetMoney() const override { return m_held; }
    void AddMoney(float amount) override;
    void TakeMoney(float amount) override { m_held -= amount; }
    // Sends the boost when it is allowed (and finishes), else gives up.
    void Act();
    void Finish();

    // The boost as allowed now and sent (one function per track).
    bool IsAllowed() const;
    void SendBoost() const;

private:
    int32_t m_type;
    float m_held = 0.0f;
    float m_wanted = 0.0f;
};

class CAIManufactoryPlan : public CAIPlan {
public:
    using CAIPlan::CAIPlan;
    int32_t GetPlanType() const override { return AIPLAN_BUILD_MANUFACTORY; }

    void SetUp(CAIAgent* parent, int32_t province, int32_t kind);
    void Start() override;
    void Stop() override;
    void Cancel() override;
    float GetMoney() const override { return m_held; }
    void AddMoney(float amount) override;
    void TakeMoney(float amount) override { m_held -= amount; }
    void Finish();
    void OnWar(int32_t a, int32_t b) override;

    int32_t GetKind() const { return m_kind; }
    int32_t GetProvinceId() const { return m_province; }
    float GetCost() const { return m_cost; }

private:
    int32_t m_kind = 0;
    int32_t m_province = 0;
    float m_held = 0.0f;
    float m_cost = 0.0f;
};

// The manufactory kind for a draw of rand() % total over the weights
// w0..w5 (kind 0 and no kind fall back on the second draw, rand() % 5:
// 0 -> 2, 1 -> 3, 2 -> 4, 3 -> 5, 4 -> 1).
int32_t DrawManufactoryKind(const int32_t (&weights)[6], int32_t firstDraw, int32_t fallbackDraw);

#pragma once
// Plans for the tests: a plan with real money and manpower pools that takes
// every army offered, and a diplomatic plan.
#include "ai/AIPlan.h"
#include "ai/king/King.h"
#include "military/units/UnitList.h"

class TestPlan : public CAIPlan {
public:
    TestPlan(CAIKing* king, float priorityValue, bool* deleted = nullptr)
        : CAIPlan(king), m_deleted(deleted) {
        SetPriority(priorityValue);
    }
    ~TestPlan() override {
        DetachUnits(armies);
        if (m_deleted)
            *m_deleted = true;
    }
    int32_t GetPlanType() const override { return AIPLAN_GATHERARMIES; }
    float GetMoney() const override { return money; }
    void AddMoney(float amount) override { money += amount; }
    void TakeMoney(float amount) override { money -= amount; }
    float GetManpower() const override { return manpower; }
    void AddManpower(float amount) override { manpower += amount; }
    void TakeManpower(float amount) override { manpower -= amount; }
    CUnitList* GetArmies() override { return &armies; }
    bool OfferArmy(CUnit* army) override {
        AcceptUnit(army);
        return true;
    }
    CTemplateList<CProvince>* GetProvinces() override { return &provinces; }

    // Made, initialised under the parent, added and started.
    static TestPlan* Under(CAIAgent& parent, CAIKing& king, float priorityValue,
                           bool* deleted = nullptr) {
        auto* plan = new TestPlan(&king, priorityValue, deleted);
        plan->Init(&parent);
        parent.AddChild(plan);
        plan->Start();
        return plan;
    }

    float money = 0.0f;
    float manpower = 0.0f;
    CUnitList armies;
    CTemplateList<CProvince> provinces;

private:
    bool* m_deleted;
};

class TestDiplomaticPlan : public CAIDiplomaticPlan {
public:
    using CAIDiplomaticPlan::CAIDiplomaticPlan;
    int32_t GetPlanType() const override { return AIPLAN_DECLARE_WAR; }
    void Check() override { ++checks; }
    int checks = 0;
};

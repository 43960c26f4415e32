#pragma once
// The explorer: the King's standing agent for the country's reach beyond
// its borders. It keeps lists of candidate provinces (undiscovered land
// next to what the country knows, undiscovered sea zones, places for a
// colony or a trading post, own settlements a further colonist or trader
// may grow, provinces of natives), chooses where the colonists and
// traders go (ai/king/MerchantAgent.h holds their plans), and sends fleets
// and armies to explore and against the natives
// (ai/diplomacy/ExplorationPlans.h).
#include <cstdint>
#include <vector>

#include "ai/AIAgent.h"

// A scratch list for a weighted draw: provinces with their weights and the
// running total.
class CAIWeightedList {
public:
    struct Item {
        int32_t province = 0;
        int32_t weight = 0;
    };
    void Add(int32_t province, int32_t weight) {
        m_items.push_back({province, weight});
        m_total += weight;
    }
    void RemoveAll() {
        m_items.clear();
        m_total = 0;
    }
    template <class F> void ForEach(F&& call) const {
        for (const Item& item : m_items)
            call(item.province, item.weight);
    }
    int32_t GetTotal() const { return m_total; }
    bool IsEmpty() const { return m_items.empty(); }

private:
    std::vector<Item> m_items;
    int32_t m_total = 0;
};

class CAIExplorer : public CAIStandingAgent {
public:
    using CAIStandingAgent::CAIStandingAgent;
    const char* GetName() const override { return "Explorer"; }

    void Start() override;
    void Stop() override;
    void OnTimer(uint32_t value) override;
    void OnSettlementChanged(int32_t country, int32_t province) override;
    void OnProvinceDiscovered(int32_t country, int32_t province) override;
    void OnLeaderEvent(int32_t country, int32_t category) override {
        OnExplorationRequest(country, category);
    }
    // A leader arrived in a country's service: an explorer of this country
    // sets out to sea, a conquistador overland.
    void OnExplorationRequest(int32_t country, int32_t category);
    void OnPlanSucceeded(CAIAgent* child) override { OnPlanEnded(child); }
    void OnPlanFailed(CAIAgent* child) override { OnPlanEnded(child); }
    void OnPlanEnded(CAIAgent* child);

    // Files an unowned province (or an own one still to be grown) as a
    // place for a colony, or for a trading post, and among the natives.
    void FileSettlementCandidate(int32_t province);
    // Starts one colonist or trader plan toward the best site.
    void PlanSettlement();
    float RateProvince(int32_t province) const;
    bool PrefersColonist(int32_t province) const;
    int32_t BestColonySite() const;
    int32_t BestTradingPostSite() const;
    int32_t BestColonistSite() const;
    int32_t BestTraderSite() const;
    // The colonist and trader plans running.
    int32_t CountSettlementPlans() const;
    // The plans of the type running.
    int32_t CountPlans(int32_t type) const;

    // A plan toward the best unknown sea zone, or land province, that no
    // plan of its kind aims at yet.
    void PlanExploreSeazone();
    void PlanExploreProvince();
    // A plan against the natives of a province drawn among the native
    // candidates, the fewer natives the likelier.
    void PlanGenocide();

    using IdList = std::vector<int32_t>;
    const IdList& GetLandCandidates() const { return m_land; }
    const IdList& GetSeaCandidates() const { return m_sea; }
    const IdList& GetColonyCandidates() const { return m_colonies; }
    const IdList& GetNativeCandidates() const { return m_natives; }
    const IdList& GetTraderCandidates() const { return m_traders; }
    const IdList& GetColonistCandidates() const { return m_colonists; }
    const IdList& GetTradingPostCandidates() const { return m_tradingPosts; }

private:
    int32_t Self() const;
    // Adds each undiscovered land neighbour not yet listed to the land
    // candidates.
    void AddLandNeighbours(int32_t province);
    // The best of the list by RateProvince less the price, among the places
    // the country may send to; 0 when none.
    int32_t BestSite(const IdList& list, bool trader) const;
    void StartSettlementPlan(int32_t province, bool trader);
    template <class Plan> void PlanExploration(const IdList& candidates, float priority);

    CAIWeightedList m_weighted;

    IdList m_land;
    IdList m_sea;
    IdList m_colonies;
    IdList m_natives;
    IdList m_traders;
    IdList m_colonists;
    IdList m_tradingPosts;
};

#pragma once
// The country the computer plays. The country factory makes one for a
// computer-controlled slot on the host only (a client makes a plain
// CCountry), so the whole computer player runs on the host. It owns the
// country's King, which starts when the game starts (SetAIPersonalityFile),
// answers the offers other countries make through the King's relation agent
// for the offering country, reports every change of its stocks to the King,
// and keeps a few fixed rules of its own: a religion schedule, colonisation
// limits and monthly mission points.
//
// The offers are answered only while the King exists and is active (shared
// exploration needs only the King and is declined without one); every
// handler answers as the base does.
#include <cstdint>
#include <memory>

#include "country/Country.h"

class CAIKing;
class CAIRelationAgent;

class CAICountry : public CCountry {
public:
    explicit CAICountry(uint32_t number);
    // Deletes the King when it is still there.
    ~CAICountry() override;

    CAIKing* GetKing() const { return king; }
    bool HasKing() const { return king != nullptr; }
    bool IsAIShutDown() const { return aiShutdown != 0; }

    // The King fails (its agents and plans end, what they held goes back)
    // and is let go; every unit of the country is detached from its agent.
    void StopAI();
    // The King is deleted at once; every unit is detached and its list of
    // rejecting agents emptied.
    int DestroyAI();

    // Starts the King once the game has started, then the base.
    int SetAIPersonalityFile() override;
    bool IsComputerControlled() const override { return true; }
    // The computer player goes before the country's game state.
    void Release() override;

    // Reports to the King (only while it is active).
    void AddToCappedReserve(float amount) override;
    void AddToTreasury(float amount) override;
    void AddMerchants(float amount) override;
    void AddColonists(float amount) override;
    void AddDiplomats(float amount) override;
    void DeleteUnit(const ObjectId& id) override;
    void AddTerritory(CLandTerritory* territory) override;
    bool RemoveTerritory(CLandTerritory* territory) override;
    bool MayPlaceColonist(int32_t province) const override;
    bool MayPlaceTradingPost(int32_t province) const override;

    // The answers to offers, and the monthly and yearly rules.
    int OnUnhandledMessage(COVEvent& event) override;
    int OnOfferPeace(COVEvent& event) override;
    int OnExecInviteAlliance(COVEvent& event) override;
    int OnRequestHonorAlliance(COVEvent& event) override;
    int OnSwitchAllegiance(COVEvent& event) override;
    int OnTimerMonth(COVEvent& event) override;
    int OnTimerYear(COVEvent& event) override;

    // The scheduled change of the state religion, when its year has come.
    void ApplyHistoricalReligion();
    // The points the month may give the missions category.
    void AddMonthlyMissionPoints();
    // The colonisation limits of the computer player alone.
    bool PassesColonyLimits(int32_t province) const;

private:
    // The King exists and is active.
    bool Guarded() const;
    CAIRelationAgent* AgentFor(uint32_t number) const;
    void AnswerLoanExtension(COVEvent& event);
    void AnswerLoanOffer(COVEvent& event);
    void AnswerAnnexation(COVEvent& event);
    void AnswerWarPact(COVEvent& event);
    void AnswerShareExploration(COVEvent& event);

    CAIKing* king = nullptr;
    uint8_t aiShutdown = 0;
};

// The handlers of peace: offers counted as the answers come in, the treaty
// carried out once every answer is an acceptance, and a refusal.
#include <algorithm>
#include <cmath>
#include <memory>

#include "country/Alliance.h"
#include "country/Country.h"
#include "country/CountryAI.h"
#include "country/CountryReligion.h"
#include "country/HandlerSupport.h"
#include "country/PeaceOffer.h"
#include "country/Relations.h"
#include "country/SoundEffects.h"
#include "country/War.h"
#include "engine/Format.h"
#include "engine/TextDatabase.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "net/Senders.h"
#include "net/Session.h"
#include "world/Discovery.h"
#include "world/GameNotices.h"
#include "world/Province.h"

using namespace handlers;

namespace {

constexpr uint32_t kPeaceVictoryPoints = 1;
constexpr uint32_t kExpensePeace = 14;
constexpr uint32_t kIncomePeace = 7; // "INCOMESOW"

constexpr int32_t kNoticePeaceAccept = 41;
constexpr int32_t kNoticePeaceReject = 42;
constexpr int32_t kNoticePeaceAcceptOther = 85;

constexpr uint32_t kReligionCatholic = 3;
constexpr uint32_t kReligionSunni = 5;
constexpr uint32_t kTurkeyNumber = 10;

// The offer a peace message names; null when none stands.
CPeaceOffer* OfferOf(const COVEvent& event) {
    const ObjectId id = event.Payload().Get(COVPeaceEvent::kOffer);
    for (const auto& offer : g_peaceOffers)
        if (offer && offer->id == id)
            return offer.get();
    return nullptr;
}

void RemoveOffer(const CPeaceOffer* offer) {
    std::erase_if(g_peaceOffers, [offer](const std::unique_ptr<CPeaceOffer>& held) {
        return held.get() == offer;
    });
}

// One side of the treaty.
struct TreatySide {
    CAlliance* side = nullptr;
    uint32_t named = 0;
    bool single = false;
    std::vector<uint32_t> participants;
    uint32_t Leader() const { return participants.empty() ? named : participants.front(); }
};

TreatySide MakeSide(CWar& war, uint32_t named, bool single) {
    TreatySide side;
    side.side = war.attackers && war.attackers->HasMember(named)   ? war.attackers.get()
                : war.defenders && war.defenders->HasMember(named) ? war.defenders.get()
                                                                   : nullptr;
    side.named = named;
    side.single = single;
    if (side.side)
        side.participants = single ? std::vector<uint32_t>{named} : side.side->participants;
    return side;
}

void AddPeacePoints(uint32_t number, float points) {
    if (CCountry* country = CountryOfNumber(number))
        country->AddBaseVictoryPoints(kPeaceVictoryPoints, points);
}

std::string Text(const char* key) {
    return g_textDatabase.GetText(key);
}

// The words of the terms, as the notices show them.
std::string TermsText(const CPeaceOffer& offer, uint32_t loser, uint32_t winner) {
    if (offer.annexation)
        return FormatDataText(Text("PEACETERM_ANNEX"), {NameOf(loser), NameOf(winner)});
    if (offer.religion)
        return FormatDataText(Text("PEACETERM_CONV"), {NameOf(loser)});
    const uint32_t count = std::min(offer.provinceCount, kMaxPeaceProvinces);
    if (offer.cash < 1.0f && count == 0)
        return Text("PEACETERM_QUO");
    std::string text;
    if (offer.cash > 0.0f)
        text = FormatDataText(Text("PEACETERM_CASH"),
                              {NameOf(loser), static_cast<int32_t>(offer.cash)});
    for (uint32_t i = count; i-- > 0;) {
        const CProvince* province = GetProvince(offer.provinces[i]);
        const uint32_t beneficiary = offer.newOwners[i] ? offer.newOwners[i] : winner;
        text += FormatDataText(Text("PEACETERM_PROV"),
                               {province ? province->name : std::string(), NameOf(beneficiary)});
        text += i == 1 ? " & " : i > 1 ? ", " : ".";
    }
    return text;
}

void EndWarBetween(CCountry& a, CCountry& b) {
    a.EndWarWith(b.GetNumber());
    b.EndWarWith(a.GetNumber());
}

void ReturnBothWays(CCountry& a, CCountry& b) {
    ReturnOccupiedProvinces(a, b);
    ReturnOccupiedProvinces(b, a);
}

void NotifySeparatePeace(uint32_t a, uint32_t b) {
    if (IsHost() && g_countryAI.notifyListeners)
        g_countryAI.notifyListeners(kAINoticeSeparatePeace, a, b);
}

} // namespace

int CCountry::OnOfferPeace(COVEvent& event) {
    if (CPeaceOffer* offer = OfferOf(event))
        ++offer->expectedAnswers;
    return EVENT_CONSUMED;
}

int CCountry::OnExecDeclinePeace(COVEvent& event) {
    CPeaceOffer* offer = OfferOf(event);
    if (!offer)
        return EVENT_CONSUMED;
    if (IsLocalHuman())
        PostGameMessage2At(kNoticePeaceReject, m_number, NameOf(offer->to), NameOf(offer->to),
                           NameOf(offer->from), -1);
    ++offer->refusals;
    const bool ultimatum = offer->isBetter != 0;
    const uint32_t from = offer->from;
    if (offer->expectedAnswers <= offer->acceptances + offer->refusals)
        RemoveOffer(offer);
    if (ultimatum) {
        if (CCountry* offering = CountryOfNumber(from)) {
            offering->DecreaseStability(1);
            offering->AddBaseVictoryPoints(kPeaceVictoryPoints, -25.0f);
            // The revolts are rolled on the host alone; their outcome
            // reaches the other machines as messages.
            if (IsHost())
                offering->RevoltPass(2);
        }
    }
    return EVENT_CONSUMED;
}

int CCountry::OnExecAcceptPeace(COVEvent& event) {
    CPeaceOffer* offer = OfferOf(event);
    if (!offer)
        return EVENT_CONSUMED;
    ++offer->acceptances;
    if (offer->acceptances != offer->expectedAnswers) {
        if (offer->expectedAnswers <= offer->acceptances + offer->refusals)
            RemoveOffer(offer);
        return EVENT_CONSUMED;
    }
    if (!IsCountryNumber(offer->from) || !IsCountryNumber(offer->to)) {
        DropMessage(event, "offer without its countries");
        RemoveOffer(offer);
        return EVENT_CONSUMED;
    }
    const uint32_t receivingNumber = offer->to;
    const uint32_t offeringNumber = offer->from;
    std::vector<uint32_t> affected{m_number, receivingNumber, offeringNumber};

    CWar* war = m_diplomacy.FindWarWith(receivingNumber);
    if (war) {
        TreatySide offering = MakeSide(*war, offeringNumber, offer->separateFrom != 0);
        TreatySide receiving = MakeSide(*war, receivingNumber, offer->separateTo != 0);
        if (!offering.side || !receiving.side) {
            RemoveOffer(offer);
            return EVENT_CONSUMED;
        }
        const bool offeringWins = offer->demanding != 0;
        TreatySide& winner = offeringWins ? offering : receiving;
        TreatySide& loser = offeringWins ? receiving : offering;
        for (uint32_t n : winner.participants)
            affected.push_back(n);
        for (uint32_t n : loser.participants)
            affected.push_back(n);
        const uint32_t provinceCount = std::min(offer->provinceCount, kMaxPeaceProvinces);

        // 4: trade opens between the whole sides.
        if (offer->cash > 0.0f || provinceCount > 0)
            for (uint32_t l : loser.side->participants)
                if (CCountry* losing = CountryOfNumber(l))
                    for (uint32_t w : winner.side->participants)
                        if (CRelation* relation = losing->m_diplomacy.GetRelation(w))
                            relation->refuseTrade = 0;

        // 5: the notice of the terms.
        const std::string terms = TermsText(*offer, loser.named, winner.named);
        const CCountry* receivingCountry = CountryOfNumber(receivingNumber);
        const int32_t link = receivingCountry ? receivingCountry->GetCapitalId() : -1;
        if (IsLocalHuman())
            PostGameMessage2At(kNoticePeaceAccept, m_number, NameOf(receivingNumber),
                               NameOf(receivingNumber), terms, link);
        else
            PostGameMessage3At(kNoticePeaceAcceptOther, m_number, NameOf(receivingNumber),
                               NameOf(receivingNumber), NameOf(offeringNumber), terms, link);

        // 7, 8: annexation marked, cash paid.
        if (offer->annexation)
            if (CCountry* annexed = CountryOfNumber(receivingNumber))
                annexed->m_annexed = true;
        if (CCountry* payer = CountryOfNumber(loser.named))
            payer->SpendMoney(kExpensePeace, offer->cash);
        if (offer->cash <= 0.0f || winner.participants.empty() || winner.single) {
            if (CCountry* payee = CountryOfNumber(winner.named))
                payee->BookLedgerEntry(kIncomePeace, offer->cash);
        } else {
            const float share = offer->cash / static_cast<float>(winner.participants.size());
            for (uint32_t n : winner.participants) {
                if (CCountry* payee = CountryOfNumber(n))
                    payee->BookLedgerEntry(kIncomePeace, share);
                if (n != winner.Leader())
                    ChangeRelationMutual(n, winner.Leader(), share * 0.04f);
            }
        }

        // 9: the provinces change hands.
        for (uint32_t i = 0; i < provinceCount; ++i) {
            CProvince* province =
                IsProvinceId(offer->provinces[i]) ? GetProvince(offer->provinces[i]) : nullptr;
            const uint32_t beneficiaryNumber =
                offer->newOwners[i] ? offer->newOwners[i] : winner.named;
            CCountry* beneficiary = CountryOfNumber(beneficiaryNumber);
            if (!province || !beneficiary)
                continue;
            const int32_t ownerNumber = province->GetOwnerNumber();
            CCountry* owner = CountryOfNumber(ownerNumber);
            if (!owner)
                continue;
            const float income = province->GetTotalIncome();
            owner->AddBaseVictoryPoints(kPeaceVictoryPoints, -income);
            beneficiary->AddBaseVictoryPoints(kPeaceVictoryPoints, income);
            ChangeRelationMutual(static_cast<uint32_t>(ownerNumber), beneficiaryNumber, -25.0f);
            const uint32_t leader = winner.Leader();
            if (beneficiaryNumber == leader) {
                for (uint32_t n : winner.participants)
                    if (n != leader)
                        ChangeRelationMutual(n, leader, -10.0f);
            } else {
                ChangeRelationMutual(beneficiaryNumber, leader, 50.0f);
                for (uint32_t n : winner.participants)
                    if (n != beneficiaryNumber)
                        ChangeRelationMutual(n, beneficiaryNumber, -5.0f);
            }
            beneficiary->m_aggression += 1;
            owner->m_aggression -= 1;
            province->ChangeOwner(beneficiary);
            if (!IsProvinceDiscovered(beneficiaryNumber, static_cast<int32_t>(offer->provinces[i])))
                ExecuteEvent(std::make_unique<COVProvinceEvent>(
                    EVT_DISCOVERPROVINCE, beneficiary->GetId(), offer->provinces[i]));
        }

        // 10: the war ends between those the treaty binds.
        const float s = static_cast<float>(std::abs(offer->value));
        if (!winner.single && !loser.single) {
            for (uint32_t w : winner.participants)
                for (uint32_t l : loser.participants) {
                    CCountry* a = CountryOfNumber(w);
                    CCountry* b = CountryOfNumber(l);
                    if (!a || !b)
                        continue;
                    EndWarBetween(*a, *b);
                    ReturnBothWays(*a, *b);
                    NotifySeparatePeace(w, l);
                }
            for (uint32_t l : loser.participants)
                AddPeacePoints(l, -2.0f * s);
            for (uint32_t w : winner.participants)
                AddPeacePoints(w, 2.0f * s);
            const CWar* ended = war;
            std::erase_if(
                g_wars, [ended](const std::unique_ptr<CWar>& held) { return held.get() == ended; });
            war = nullptr;
        } else if (winner.single && !loser.single) {
            for (uint32_t l : loser.participants)
                AddPeacePoints(l, -2.0f * s);
            AddPeacePoints(winner.named, 2.0f * s);
            if (CCountry* country = CountryOfNumber(winner.named))
                country->MakeSeparatePeace(*war);
        } else if (!winner.single && loser.single) {
            for (uint32_t w : winner.participants)
                AddPeacePoints(w, 2.0f * s);
            AddPeacePoints(loser.named, -2.0f * s);
            if (CCountry* country = CountryOfNumber(loser.named))
                country->MakeSeparatePeace(*war);
        } else {
            const bool winnerAttacks = war->IsAttacker(winner.named);
            AddPeacePoints(winnerAttacks ? winner.named : loser.named, -2.0f * s);
            AddPeacePoints(winnerAttacks ? loser.named : winner.named, 2.0f * s);
            CCountry* a = CountryOfNumber(winner.named);
            CCountry* b = CountryOfNumber(loser.named);
            if (a && b) {
                ReturnBothWays(*a, *b);
                EndWarBetween(*a, *b);
            }
            // Both leave their sides, so that the treaty flags rebuilt
            // below no longer set them at war; every machine does this
            // alike, as every machine carries out the treaty.
            for (const TreatySide* side : {&winner, &loser})
                std::erase_if(side->side->participants,
                              [side](uint32_t n) { return n == side->named; });
            NotifySeparatePeace(winner.named, loser.named);
        }
    }

    // 11: annexation.
    if (offer->annexation) {
        const CCountry* annexed = CountryOfNumber(receivingNumber);
        for (uint32_t n = 0; annexed && n < kCountrySlots; ++n) {
            const CCountry* other = CountryOfNumber(n);
            if (!other || n == m_number || n == receivingNumber)
                continue;
            const CRelation* relation = m_diplomacy.GetRelation(n);
            if (relation && relation->sameSide)
                continue;
            if (other->m_religion.stateReligion == annexed->m_religion.stateReligion)
                ChangeRelationMutual(n, m_number, -100.0f);
        }
        Annex(receivingNumber);
    }

    // 12: conversion.
    if (offer->religion) {
        if (CCountry* converted = CountryOfNumber(receivingNumber)) {
            const bool turkish = m_number == kTurkeyNumber;
            const uint32_t religion = turkish ? kReligionSunni : kReligionCatholic;
            const float points = turkish ? 50.0f : converted->m_major ? 100.0f : 20.0f;
            converted->m_religion = GetDefaultTolerances(religion);
            converted->m_religion.stateReligion = religion;
            AddBaseVictoryPoints(kPeaceVictoryPoints, points);
            if (religion == kReligionCatholic)
                converted->UpdateMissionProgress(7);
        }
    }

    // 13: the offer is done; every country takes stock.
    RemoveOffer(offer);
    RecolourMapNow();
    for (uint32_t n = 0; n < kCountrySlots; ++n)
        if (CCountry* country = CountryOfNumber(n))
            country->RecountProvinces();
    RebuildDiplomaticStatus();
    std::sort(affected.begin(), affected.end());
    affected.erase(std::unique(affected.begin(), affected.end()), affected.end());
    for (uint32_t n : affected)
        if (CCountry* country = CountryOfNumber(n)) {
            country->RefreshMilitaryState();
            PlayCountrySound(*country, SOUND_PEACE);
        }
    SendRefreshWindows();
    return EVENT_CONSUMED;
}

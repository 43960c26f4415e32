// Losses: spreading an amount over the unit's kinds, the owner's records
// of them and the messages that report them.
#include <array>
#include <cmath>
#include <memory>

#include "country/Country.h"
#include "military/units/Unit.h"
#include "net/EventTypes.h"
#include "net/Posting.h"

namespace {

constexpr float kEmptyBelow = 0.00001f;
constexpr int32_t kMaxEvenPasses = 64;
// God mode keeps an army of this many men and a fleet of this many ships.
constexpr float kGodModeArmyFloor = 1972.0f;
constexpr float kGodModeFleetFloor = 17.0f;

float Cleaned(float value) {
    return value < kEmptyBelow ? 0.0f : value;
}

float WholeLoss(float before, float after) {
    return std::ceil(before) - std::ceil(after);
}

using SubtractFunction = float (*)(float* entries, int32_t count, float amount);

// A fleet's losses over galleys, warships and transports (the last not when
// the owner halves losses); the owner records the whole ships lost.
float TakeFleetLosses(std::array<float, 3>& strength, CCountry* owner, bool halves,
                      SubtractFunction subtract, float amount, int32_t cause) {
    const std::array<float, 3> before = strength;
    std::array<float, 3> entries = {strength[1], strength[0], strength[2]};
    const float left = subtract(entries.data(), halves ? 2 : 3, amount);
    strength[1] = entries[0];
    strength[0] = entries[1];
    strength[2] = entries[2];
    if (owner) {
        owner->RecordGalleyLoss(WholeLoss(before[1], strength[1]), cause);
        owner->RecordWarshipLoss(WholeLoss(before[0], strength[0]), cause);
        owner->RecordTransportLoss(WholeLoss(before[2], strength[2]), cause);
    }
    return left;
}

// An army's losses over infantry, cavalry and (count 3) artillery at 100
// men a piece; the owner records the whole men and pieces lost.
float TakeArmyLosses(std::array<float, 3>& strength, CCountry* owner, int32_t count,
                     SubtractFunction subtract, float amount, int32_t cause) {
    const std::array<float, 3> before = strength;
    std::array<float, 3> entries = {strength[2], strength[1], strength[0] * 100.0f};
    const float left = subtract(entries.data(), count, amount);
    strength[2] = entries[0];
    strength[1] = entries[1];
    if (count == 3)
        strength[0] = entries[2] / 100.0f;
    if (owner) {
        owner->RecordInfantryLoss(WholeLoss(before[2], strength[2]), cause);
        owner->RecordCavalryLoss(WholeLoss(before[1], strength[1]), cause);
        owner->RecordArtilleryLoss(WholeLoss(before[0], strength[0]), cause);
    }
    return left;
}

} // namespace

float SubtractInOrder(float* entries, int32_t count, float amount) {
    if (!entries || count < 1)
        return amount;
    for (int32_t i = 0; i < count && amount > 0.0f; ++i) {
        if (amount >= entries[i]) {
            amount -= entries[i];
            entries[i] = 0.0f;
        } else {
            entries[i] -= amount;
            amount = 0.0f;
        }
    }
    return amount;
}

float SubtractEvenly(float* entries, int32_t count, float amount) {
    if (!entries || count < 1)
        return amount;
    int32_t emptied = 0;
    // A share too small to change anything ends the passes: float rounding
    // can leave a remainder that never reaches 0.
    for (int32_t pass = 0; pass < kMaxEvenPasses && amount > 0.0f && emptied < count; ++pass) {
        const float share = amount / static_cast<float>(count - emptied);
        if (!(share > 0.0f))
            break;
        emptied = 0;
        for (int32_t i = 0; i < count; ++i) {
            if (entries[i] <= share) {
                amount -= entries[i];
                entries[i] = 0.0f;
                ++emptied;
            } else {
                entries[i] -= share;
                amount -= share;
            }
        }
    }
    return amount;
}

bool CUnit::OwnerHalvesLosses() const {
    return m_owner && m_owner->m_alternativeBanner != 0;
}

float CUnit::ApplyLosses(float amount, int32_t cause) {
    float first = amount * 0.6666667f;
    float second = amount - first;
    if (OwnerHalvesLosses()) {
        float halved = amount * 0.5f;
        const float total = GetStrength();
        const float floor = IsFleet() ? kGodModeFleetFloor : kGodModeArmyFloor;
        if (total - halved < floor)
            halved = total - floor;
        first = halved;
        second = halved;
    }
    if (!(first > 0.0f) || !(second > 0.0f))
        return 0.0f;
    const float left = TakeLossesInOrder(first, cause);
    const float result = TakeLossesEvenly(left + second, cause);
    Refresh();
    return result;
}

void CUnit::ApplyTroopLosses(float a, float b, float c, int32_t cause) {
    if (OwnerHalvesLosses()) {
        a *= 0.5f;
        b *= 0.5f;
        c *= 0.5f;
    }
    // Indexes of the strengths taken by a, b and c.
    const std::array<size_t, 3> order =
        IsFleet() ? std::array<size_t, 3>{0, 1, 2} : std::array<size_t, 3>{2, 1, 0};
    const std::array<float, 3> amounts = {a, b, c};
    std::array<float, 3> lost{};
    for (size_t k = 0; k < 3; ++k) {
        float& strength = m_strength[order[k]];
        const float before = strength;
        strength = Cleaned(strength - amounts[k]);
        lost[k] = WholeLoss(before, strength);
    }
    if (m_owner) {
        if (IsFleet()) {
            m_owner->RecordWarshipLoss(lost[0], cause);
            m_owner->RecordGalleyLoss(lost[1], cause);
            m_owner->RecordTransportLoss(lost[2], cause);
        } else {
            m_owner->RecordInfantryLoss(lost[0], cause);
            m_owner->RecordCavalryLoss(lost[1], cause);
            m_owner->RecordArtilleryLoss(lost[2], cause);
        }
    }
    Refresh();
}

float CUnit::TakeLossesInOrder(float amount, int32_t cause) {
    if (IsFleet())
        return TakeFleetLosses(m_strength, m_owner, OwnerHalvesLosses(), SubtractInOrder, amount,
                               cause);
    return TakeArmyLosses(m_strength, m_owner, 3, SubtractInOrder, amount, cause);
}

float CUnit::TakeLossesEvenly(float amount, int32_t cause) {
    if (IsFleet())
        return TakeFleetLosses(m_strength, m_owner, OwnerHalvesLosses(), SubtractEvenly, amount,
                               cause);
    // Attrition spares the guns.
    return TakeArmyLosses(m_strength, m_owner, cause != LOSS_ATTRITION ? 3 : 2, SubtractEvenly,
                          amount, cause);
}

void CUnit::SendSizeLosses(float a, float b, float c, uint32_t cause) {
    if (!(a > 0.0f) && !(b > 0.0f) && !(c > 0.0f))
        return;
    if (!m_owner)
        return;
    auto event = std::make_unique<COVDataEvent>(EVT_UNITSIZELOSSES, m_owner->GetId());
    event->Payload().Set(UnitSizeLossesPayload::kUnit, GetId());
    event->Payload().Set(UnitSizeLossesPayload::kFirst, a);
    event->Payload().Set(UnitSizeLossesPayload::kSecond, b);
    event->Payload().Set(UnitSizeLossesPayload::kThird, c);
    event->Payload().Set(UnitSizeLossesPayload::kCause, cause);
    ExecuteAndSendEvent(std::move(event));
}

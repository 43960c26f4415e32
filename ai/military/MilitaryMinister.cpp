#include "ai/military/MilitaryMinister.h"

CAIMilitaryMinister::~CAIMilitaryMinister() {
    DetachUnits(m_armies);
    DetachUnits(m_fleets);
}

bool CAIMilitaryMinister::OfferArmy(CUnit* army) {
    if (!army || failed || succeeded)
        return false;
    AcceptUnit(army);
    return true;
}

bool CAIMilitaryMinister::OfferFleet(CUnit* fleet) {
    if (!fleet || failed || succeeded)
        return false;
    AcceptUnit(fleet);
    return true;
}

// Rebel armies, the collapse of a country, scandals and the scenario
// mission's progress.
#include "country/Country.h"

void CCountry::RevoltPass(int32_t) {}

void CCountry::UpdateMissionProgress(int32_t) {}

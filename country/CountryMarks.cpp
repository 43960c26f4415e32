#include "country/CountryMarks.h"

#include "country/Country.h"

void ResetCountryMarks() {
    g_countryController.fill(0);
    g_countryController[96] = 6;
    g_countryController[97] = 5;
    g_countryController[98] = 4;
}

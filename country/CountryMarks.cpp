#include "country/CountryMarks.h"

#include "country/Country.h"

void ResetCountryMarks() {
    g_countryController.fill(0);
}

#pragma once
// The per-country marks of who plays each country (g_countryController).

// Clears all 99 marks; the lobby then marks the chosen countries.
void ResetCountryMarks();

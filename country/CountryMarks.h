#pragma once
// The per-country marks of who plays each country (g_countryController).

// Clears the marks of the nations; the three forces of the world keep their
// fixed kinds (the pirates 96 kind 6, the natives 97 kind 5, the rebels 98
// kind 4). The lobby then marks the chosen countries.
void ResetCountryMarks();

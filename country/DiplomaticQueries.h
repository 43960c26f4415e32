#pragma once
// What a country's relations answer about another country number: whether
// it is hostile, whether it gives access to its lands, and how the
// diplomacy map shows a province of the other country. Pure queries of the
// relation records; they change nothing.
#include <cstdint>

// Hostility of the country of number `country` toward country n: never
// toward itself; always when either is 96, 97 or 98; otherwise at war with
// n. False when `country` has no country (but for the three numbers).
bool CountryIsHostileTo(int64_t country, int64_t n);

// Whether the country of number `country` gives n access: to itself, to a
// country fighting on its side of a war, and to its vassal. False when
// `country` has no country.
bool CountryHasAccessTo(int64_t country, int64_t n);

// The diplomacy map's colour and shade of a province owned by `owner` as
// the viewing country sees it (both exist and differ; otherwise colour 2,
// shade 0, or colour 1 for the viewer's own).
void DiplomacyColourOf(int64_t viewer, int64_t owner, int32_t& colour, int32_t& shade);

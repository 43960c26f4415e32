#pragma once
// The base victory points' monthly step of a country: stability, rebel-held
// provinces and peace, and the seven figures in which it leads every other
// country (province income, land and naval strength, the four technology
// levels; a tie still leads). Points are added only while the base victory
// points option is on.
class CCountry;

void BaseVictoryPointsMonth(CCountry& country);

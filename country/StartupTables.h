#pragma once
// Tables of the countries that start-up loads once.

bool LoadDiplomaticMatrix();
bool LoadStabilityTable();
// Fills g_buildingCostClasses (country/BuildingCosts.h); false without the
// file.
bool LoadBuildingCosts();

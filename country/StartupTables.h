#pragma once
// Tables of the countries that start-up loads once.

bool LoadDiplomaticMatrix();
bool LoadStabilityTable();
bool LoadBuildingCosts();

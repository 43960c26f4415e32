#include "military/units/UnitNames.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <memory>
#include <vector>

#include "country/Country.h"
#include "country/CountryMilitary.h"
#include "country/CountryTags.h"
#include "country/CsvRows.h"
#include "engine/CriticalError.h"
#include "engine/CsvReader.h"
#include "engine/Format.h"
#include "engine/GameTimer.h"
#include "engine/TextDatabase.h"
#include "military/StartupTables.h"
#include "military/units/Leader.h"
#include "military/units/Unit.h"
#include "net/EventTypes.h"
#include "net/Posting.h"
#include "world/Areas.h"
#include "world/City.h"
#include "world/Province.h"
#include "world/Settlement.h"

std::array<CGrowArray<std::string>, 99> g_armyNames;
std::array<CGrowArray<std::string>, 99> g_navyNames;
std::array<CGrowArray<ColonyName>, 99> g_colonyNamesByProvince;
std::array<CGrowArray<ColonyName>, 99> g_colonyNamesByRegion;
std::array<CGrowArray<ColonyName>, 99> g_colonyNamesAnywhere;

namespace {

constexpr const char* kArmyNamesFile = "db\\armynames.csv";
constexpr const char* kNavyNamesFile = "db\\navynames.csv";
constexpr const char* kColonyNamesFile = "db\\colonynames.csv";

// The continent whose provinces give the built colony names.
constexpr int32_t kColonyPrefixContinent = 2;
// Armies from this many men are armies, smaller ones regiments.
constexpr int32_t kMenOfAnArmy = 10000;

template <class T> void ClearAll(std::array<CGrowArray<T>, 99>& lists) {
    for (auto& list : lists)
        list.Clear();
}

// The country number of a row's tag and its name; false (reported) when
// either is missing.
bool ReadTagAndName(const char* file, int line, const std::vector<std::string>& cells,
                    int32_t& country, std::string& name) {
    const std::string tag = CsvCell(cells, 1);
    name = CsvCell(cells, 2);
    country = FindCountryByTag(tag.c_str());
    if (country <= 0) {
        DebugPrint("%s line %d: unknown country tag \"%s\", skipped\n", file, line, tag.c_str());
        return false;
    }
    if (name.empty()) {
        DebugPrint("%s line %d: no name, skipped\n", file, line);
        return false;
    }
    return true;
}

bool LoadNameList(const char* file, std::array<CGrowArray<std::string>, 99>& lists) {
    ClearAll(lists);
    CCsvReader reader(file);
    if (!reader.IsOpen())
        return false; // the reader has shown the missing file
    std::vector<std::string> cells;
    for (int line = 1; ReadCsvRow(reader, cells); ++line) {
        int32_t country = 0;
        std::string name;
        if (ReadTagAndName(file, line, cells, country, name))
            lists[static_cast<size_t>(country)].Add(std::move(name));
    }
    return true;
}

bool IsNumberText(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]));
}

// Men of an army (a piece of artillery counts 100), 5000 a ship of a fleet.
int64_t SizeInMen(const CUnit& unit) {
    const auto whole = [&unit](int index) {
        return static_cast<int64_t>(std::min(
            1.0e12, std::ceil(static_cast<double>(std::max(0.0f, unit.GetStrength(index))))));
    };
    if (unit.IsFleet())
        return 5000 * (whole(0) + whole(1) + whole(2));
    return whole(2) + whole(1) + 100 * whole(0);
}

bool CityBears(const std::string& name) {
    for (int32_t id = kFirstProvinceId; id <= kLastProvinceId; ++id) {
        const CProvince* province = GetProvince(id);
        const CCity* city = province ? province->GetCity() : nullptr;
        if (city && city->GetName() && name == city->GetName())
            return true;
    }
    return false;
}

const char* ColonyPrefix(uint32_t country) {
    switch (country) {
    case 2:
        return "Nouwelle";
    case 3:
    case 6:
        return "Neu";
    case 4:
        return "Nieuw";
    case 5:
    case 8:
    case 11:
        return "Nova";
    case 7:
        return "Novij";
    case 9:
        return "Nya";
    case 25:
        return "Nye";
    default:
        return "New";
    }
}

// The countries name their new units and colonies through these.
const bool g_nameHooksRegistered = [] {
    g_countryMilitary.nameNewUnit = NameNewUnit;
    g_countryMilitary.nameNewColony = [](int32_t province) {
        const CProvince* record = GetProvince(province);
        if (const CSettlement* settlement = record ? record->GetSettlement() : nullptr)
            NameNewColony(*settlement);
    };
    return true;
}();

void PostRename(const ObjectId& object, const ObjectId& receiver, const std::string& name) {
    auto event = std::make_unique<COVDataEvent>(EVT_RENAME_OBJECT, receiver);
    event->Payload().Set(RenameObjectPayload::kObject, object);
    event->Payload().Set(RenameObjectPayload::kName, name);
    CDate due = g_gameTimer ? g_gameTimer->GetDate() : CDate();
    due.AddDays(1);
    PostEventAtAndSend(std::move(event), due);
}

} // namespace

bool LoadUnitNames() {
    const bool armies = LoadNameList(kArmyNamesFile, g_armyNames);
    const bool fleets = LoadNameList(kNavyNamesFile, g_navyNames);
    return armies && fleets;
}

bool LoadColonyNames() {
    ClearAll(g_colonyNamesByProvince);
    ClearAll(g_colonyNamesByRegion);
    ClearAll(g_colonyNamesAnywhere);
    CCsvReader reader(kColonyNamesFile);
    if (!reader.IsOpen())
        return false;
    std::vector<std::string> cells;
    for (int line = 1; ReadCsvRow(reader, cells); ++line) {
        int32_t country = 0;
        std::string name;
        if (!ReadTagAndName(kColonyNamesFile, line, cells, country, name))
            continue;
        const std::string place = CsvCell(cells, 3);
        const auto slot = static_cast<size_t>(country);
        if (place == "any") {
            g_colonyNamesAnywhere[slot].Add({name, 0});
        } else if (IsNumberText(place)) {
            const int32_t province = ParseCsvInt(place);
            if (province < kFirstProvinceId || province > kLastProvinceId) {
                DebugPrint("%s line %d: no province %s, skipped\n", kColonyNamesFile, line,
                           place.c_str());
                continue;
            }
            g_colonyNamesByProvince[slot].Add({name, province});
        } else {
            const int32_t region = FindRegionByName(place.c_str());
            if (region <= 0) {
                DebugPrint("%s line %d: unknown region \"%s\", skipped\n", kColonyNamesFile, line,
                           place.c_str());
                continue;
            }
            g_colonyNamesByRegion[slot].Add({name, region});
        }
    }
    return true;
}

bool IsUnitNameTaken(const CCountry& country, const std::string& name) {
    bool taken = false;
    const auto check = [&](CUnit* unit) {
        if (unit && unit->GetName() == name)
            taken = true;
    };
    const_cast<CLinkedList<CUnit>&>(country.m_units).ForEach(check);
    const_cast<CLinkedList<CUnit>&>(country.m_unitsInDevelopment).ForEach(check);
    return taken;
}

std::string ChooseUnitName(const CUnit& unit) {
    if (const CLeader* commander = unit.GetMovementCommander())
        if (commander->category == LEADER_CONQUISTADOR || commander->category == LEADER_EXPLORER)
            return FormatDataText(g_textDatabase.GetText("UNITNAMEEXP"), {commander->GetName()});
    const CCountry* owner = unit.GetOwner();
    const uint32_t number = owner ? owner->GetNumber() : 0;
    if (owner && number < g_armyNames.size()) {
        const auto& list = unit.IsFleet() ? g_navyNames[number] : g_armyNames[number];
        for (const std::string& name : list.Items())
            if (!IsUnitNameTaken(*owner, name))
                return name;
    }
    const char* key = nullptr;
    if (unit.IsFleet())
        key = SizeInMen(unit) < 10 ? "UNITNAMESQUADRON" : "UNITNAMEFLEET";
    else
        key = SizeInMen(unit) < kMenOfAnArmy ? "UNITNAMEREGIMENT" : "UNITNAMEARMY";
    const CProvince* province = GetProvince(unit.GetLocation());
    const std::string place = province ? province->name : std::string();
    return place + " " + g_textDatabase.GetText(key);
}

std::string ChooseColonyName(int32_t provinceId, uint32_t owner) {
    const CProvince* province = GetProvince(provinceId);
    if (!province || provinceId < kFirstProvinceId)
        return {};
    if (owner < g_colonyNamesByProvince.size()) {
        for (const ColonyName& entry : g_colonyNamesByProvince[owner].Items())
            if (entry.key == provinceId)
                return entry.name;
        for (const ColonyName& entry : g_colonyNamesByRegion[owner].Items())
            if (entry.key == province->region && !CityBears(entry.name))
                return entry.name;
        for (const ColonyName& entry : g_colonyNamesAnywhere[owner].Items())
            if (!CityBears(entry.name))
                return entry.name;
    }
    if (const CCountry* country = CountryOfNumber(owner)) {
        std::string chosen;
        const std::string prefix = ColonyPrefix(owner);
        const_cast<CIntList&>(country->m_ownedProvinces).ForEach([&](int32_t id) {
            const CProvince* own = GetProvince(id);
            if (!chosen.empty() || !own || own->continent != kColonyPrefixContinent)
                return;
            const std::string name = prefix + " " + own->name;
            if (!CityBears(name))
                chosen = name;
        });
        if (!chosen.empty())
            return chosen;
    }
    return province->name;
}

void NameNewUnit(const CUnit& unit) {
    if (!unit.GetOwner())
        return;
    PostRename(unit.GetId(), unit.GetOwner()->GetId(), ChooseUnitName(unit));
}

void NameNewColony(const CSettlement& settlement) {
    const CProvince* province = GetProvince(settlement.GetProvinceId());
    const CCountry* owner = province ? province->GetOwner() : nullptr;
    if (!owner)
        return;
    PostRename(province->GetId(), owner->GetId(),
               ChooseColonyName(province->GetNumber(), owner->GetNumber()));
}

#include "world/Areas.h"

#include <algorithm>
#include <cstring>

#include "world/Province.h"

std::array<CTemplateList<CProvince>, kAreaCount> g_areaProvinces;
std::array<CTemplateList<CProvince>, kRegionCount> g_regionProvinces;
std::array<CTemplateList<CProvince>, kContinentCount> g_continentProvinces;
std::array<CIntList, kAreaCount> g_areaNeighbours;

namespace {

template <size_t N> int32_t FindName(const std::array<const char*, N>& names, const char* name) {
    if (!name)
        return 0;
    for (size_t i = 0; i < N; ++i)
        if (std::strcmp(names[i], name) == 0)
            return static_cast<int32_t>(i);
    return 0;
}

template <size_t N> const char* NameOf(const std::array<const char*, N>& names, int32_t index) {
    return index >= 0 && static_cast<size_t>(index) < N ? names[static_cast<size_t>(index)]
                                                        : names[0];
}

template <size_t N>
void AddTo(std::array<CTemplateList<CProvince>, N>& lists, int32_t index, CProvince& province) {
    if (index >= 0 && static_cast<size_t>(index) < N)
        lists[static_cast<size_t>(index)].AddTail(&province);
}

} // namespace

int32_t FindAreaByName(const char* name) {
    return FindName(g_areaNames, name);
}

int32_t FindRegionByName(const char* name) {
    return FindName(g_regionNames, name);
}

int32_t FindContinentByName(const char* name) {
    return FindName(g_continentNames, name);
}

const char* GetAreaName(int32_t area) {
    return NameOf(g_areaNames, area);
}

const char* GetRegionName(int32_t region) {
    return NameOf(g_regionNames, region);
}

const char* GetContinentName(int32_t continent) {
    return NameOf(g_continentNames, continent);
}

bool AreaHasProvinceOf(int32_t area, const CCountry* country) {
    if (!country || area < 0 || area >= kAreaCount)
        return false;
    bool found = false;
    g_areaProvinces[static_cast<size_t>(area)].ForEach([&](CProvince* province) {
        if (province->GetOwner() == country || province->GetController() == country)
            found = true;
    });
    return found;
}

void ClearAreaGroups() {
    for (auto& list : g_areaProvinces)
        list.RemoveAll();
    for (auto& list : g_regionProvinces)
        list.RemoveAll();
    for (auto& list : g_continentProvinces)
        list.RemoveAll();
    for (auto& list : g_areaNeighbours)
        list.RemoveAll();
}

void AddProvinceToGroups(CProvince& province) {
    AddTo(g_areaProvinces, province.area, province);
    AddTo(g_regionProvinces, province.region, province);
    AddTo(g_continentProvinces, province.continent, province);
}

void BuildAreaNeighbours() {
    for (int32_t id = 0; id <= kLastProvinceId; ++id) {
        const CProvince& province = g_provinces[static_cast<size_t>(id)];
        if (province.IsSea() || province.area <= 0 || province.area == kSeaArea ||
            province.area >= kAreaCount)
            continue;
        CIntList& list = g_areaNeighbours[static_cast<size_t>(province.area)];
        const int32_t leading =
            std::min<int32_t>(province.neighbourCount, province.GetNeighbourTotal());
        for (int32_t i = 0; i < leading; ++i) {
            const CProvince* other = GetProvince(province.neighbours[static_cast<size_t>(i)].id);
            if (!other || other->IsSea() || other->area == province.area)
                continue;
            if (!list.Contains(other->area))
                list.AddTail(other->area);
        }
    }
}

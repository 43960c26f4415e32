// What the province knows of the units standing in it (through the units'
// seam of the province economy) and the zones of the demarcation treaty.
#include <algorithm>
#include <vector>

#include "world/Province.h"
#include "world/ProvinceEconomy.h"

namespace {

// Class codes of units that do not hold up building in the province.
bool IsNonBlockingClass(int32_t code) {
    return code == 6 || code == 7 || code == 13;
}

} // namespace

bool CProvince::HasOrdinaryUnit() const {
    if (!g_provinceEconomy.unitsIn)
        return false;
    std::vector<EconomyUnit> units;
    g_provinceEconomy.unitsIn(GetNumber(), units);
    for (const EconomyUnit& unit : units)
        if (!IsNonBlockingClass(unit.classCode))
            return true;
    return false;
}

// The zones of the demarcation treaty -----------------------------------------

namespace {

struct IdRange {
    int32_t first;
    int32_t last;
};

constexpr IdRange kSpanishZone[] = {{6, 51}, {137, 194}, {215, 230}, {690, 694}};
constexpr IdRange kPortugueseZone[] = {{195, 214}, {537, 556}, {695, 731}, {751, 804}};

template <size_t N> bool InRanges(const IdRange (&ranges)[N], int32_t id) {
    for (const IdRange& range : ranges)
        if (id >= range.first && id <= range.last)
            return true;
    return false;
}

// The province lies in the ranges, or is coastal beside a province that does.
template <size_t N> bool InZone(const CProvince& province, const IdRange (&ranges)[N]) {
    if (InRanges(ranges, province.GetNumber()))
        return true;
    if (!province.coastal)
        return false;
    const size_t leading = std::min(static_cast<size_t>(std::max(province.neighbourCount, 0)),
                                    province.neighbours.size());
    for (size_t i = 0; i < leading; ++i)
        if (InRanges(ranges, province.neighbours[i].id))
            return true;
    return false;
}

} // namespace

bool CProvince::IsInSpanishZone() const {
    return InZone(*this, kSpanishZone);
}

bool CProvince::IsInPortugueseZone() const {
    return InZone(*this, kPortugueseZone);
}

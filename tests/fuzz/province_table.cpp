// Fuzz target: arbitrary bytes as one of the province tables. The first
// byte chooses the table ("db\province.csv", "db\goods.csv" or
// "db\straits.csv"), the rest is its text; the other two tables are small
// valid ones. The whole load runs, as at scenario start.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tests/fuzz/FuzzSupport.h"
#include "world/Goods.h"
#include "world/Province.h"
#include "world/ProvinceTable.h"

namespace {

// A province table whose rows are all alike (valid for every id).
std::string ValidProvinces() {
    std::string text = "header\n";
    for (int32_t id = 0; id <= kLastProvinceId; ++id)
        text += std::to_string(id) +
                ";P;land;catholic;0;0;0;0;0;1;2;0;0;0;GRAI;0;0;0;0;1.0;1.0;0;0;0;0;0;0;0;0;0;0;0;"
                "-1;0;0;-1;0;0;-1;0;0;-1;0;0;France;Western Europe;Europe;#N/A;0;0;0\n";
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InScratchFolder folder;
    static const std::string provinces = ValidProvinces();
    const std::string goods = "goods\nNOTHING;0;0;0;0\nGRAI;2;0;0;20\n";
    const std::string straits = "10;20\n-1;-1\n";
    const uint8_t which = size > 0 ? data[0] % 3 : 0;
    const uint8_t* text = size > 0 ? data + 1 : data;
    const size_t length = size > 0 ? size - 1 : 0;
    const auto write = [&](const char* path, const std::string& valid, uint8_t mine) {
        if (which == mine)
            folder.WriteFile(path, text, length);
        else
            folder.WriteFile(path, reinterpret_cast<const uint8_t*>(valid.data()), valid.size());
    };
    write("db/province.csv", provinces, 0);
    write("db/goods.csv", goods, 1);
    write("db/straits.csv", straits, 2);
    const bool loaded = LoadProvinces();
    // A valid province table always loads.
    if (which != 0)
        fuzz::Check(loaded);
    for (const CProvince& province : g_provinces)
        fuzz::Check(province.portSeaZone >= 0 && province.portSeaZone <= kLastProvinceId);
    return 0;
}

#pragma once
// The trade goods of the demo world, in the order of the game's goods ids
// (0 "NOTHING" .. 18 "WOOL"): the keyword the tables use, the name shown and
// the base price in ducats. The goods table ("db\goods.csv") is written from
// this list and the province table picks each land province's good from it.
#include <array>

namespace demo {

struct Goods {
    const char* keyword;
    const char* name;
    int basePrice;
};

inline constexpr std::array<Goods, 19> kGoods = {{
    {"NOTHING", "Nothing", 0},  {"CLO", "Cloth", 7},   {"GOLD", "Gold", 12},
    {"COT", "Cotton", 5},       {"FISH", "Fish", 3},   {"FURS", "Furs", 6},
    {"GRAI", "Grain", 2},       {"IVOR", "Ivory", 8},  {"METAL", "Metal", 5},
    {"MINERAL", "Minerals", 4}, {"ORIENT", "Silk", 9}, {"NAVS", "Naval supplies", 4},
    {"SALT", "Salt", 3},        {"SLAV", "Labour", 6}, {"SPIC", "Spices", 10},
    {"SUG", "Sugar", 7},        {"TOB", "Tobacco", 6}, {"WINE", "Wine", 5},
    {"WOOL", "Wool", 4},
}};

} // namespace demo

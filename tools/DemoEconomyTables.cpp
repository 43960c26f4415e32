// The economy tables of the demo world:
//   db\goods.csv    a header, then one row per good of tools/DemoGoods.h in
//                   the order of the goods ids: keyword; base price; flag A;
//                   flag B; value. Flag A marks the goods of the treasure and
//                   labour trade (gold, labour), flag B the luxuries of the far
//                   east trade (silk, spices); the value is ten times the base
//                   price.
//   db\tax_stab.csv a header, then one row per stability level -3..+3: the
//                   level; the percentage by which it changes the tax income.
//                   The percentages rise with the level, 0 at level 0.
// Lines end in CR LF, as the game's tables do.
#include <string>

#include "tools/DemoGoods.h"
#include "tools/DemoWorld.h"

namespace {

using namespace demo;

bool WriteGoods(const std::filesystem::path& game) {
    std::string csv = "goods;baseprice;flaga;flagb;value\r\n";
    for (const Goods& goods : kGoods) {
        const std::string keyword = goods.keyword;
        const int flagA = keyword == "GOLD" || keyword == "SLAV" ? 1 : 0;
        const int flagB = keyword == "ORIENT" || keyword == "SPIC" ? 1 : 0;
        csv += keyword + ";" + std::to_string(goods.basePrice) + ";" + std::to_string(flagA) + ";" +
               std::to_string(flagB) + ";" + std::to_string(goods.basePrice * 10) + "\r\n";
    }
    return WriteFile(game / "db" / "goods.csv", csv);
}

// A realm in turmoil loses half of its taxes; a content one pays a fifth more.
struct StabilityRow {
    int level;
    int taxPercent;
};
constexpr StabilityRow kStabilityRows[] = {
    {-3, -50}, {-2, -30}, {-1, -15}, {0, 0}, {1, 5}, {2, 10}, {3, 20},
};

bool WriteStabilityTaxes(const std::filesystem::path& game) {
    std::string csv = "stability;tax\r\n";
    for (const StabilityRow& row : kStabilityRows)
        csv += std::to_string(row.level) + ";" + std::to_string(row.taxPercent) + "\r\n";
    return WriteFile(game / "db" / "tax_stab.csv", csv);
}

const DemoWriter kGoodsWriter("db/goods.csv", &WriteGoods);
const DemoWriter kStabilityTaxWriter("db/tax_stab.csv", &WriteStabilityTaxes);

} // namespace

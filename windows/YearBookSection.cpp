#include "windows/YearBookSection.h"

#include <array>

#include "data/Keywords.h"
#include "windows/YearBook.h"

namespace {

struct SavedPage {
    uint32_t key;
    int32_t page; // book page number
};

// The saved pages, in the order written.
constexpr std::array<SavedPage, 13> kSavedPages = {{
    {KW_VP, 0},
    {KW_MONARCH, 3},
    {KW_WEALTH, 4},
    {KW_PE, 5},
    {KW_TE, 6},
    {KW_INFLATION, 7},
    {KW_INCOME, 10},
    {KW_EXPENSE, 11},
    {KW_LANDTECH, 20},
    {KW_NAVALTECH, 21},
    {KW_ARMY, 23},
    {KW_NAVY, 24},
    {KW_SIZE, 29},
}};

} // namespace

CDataBlock* WriteYearBookSection() {
    CDataBlock* block = new CDataBlock();
    for (const SavedPage& saved : kSavedPages)
        block->AddChild(new CDataAssignment(saved.key, g_yearBook.GetPage(saved.page)->Write()));
    return block;
}

int32_t ReadYearBookSection(CFieldReader& in) {
    g_yearBook.CreatePages();
    for (;;) {
        int32_t result = in.ReadFieldOrClose();
        if (result != FIELD_READ)
            return result; // FIELD_BLOCK_END once the block's "}" was taken
        const SavedPage* found = nullptr;
        for (const SavedPage& saved : kSavedPages)
            if (saved.key == in.key.code)
                found = &saved;
        if (!found) {
            in.ReportError("unknown EYR page");
            return FIELD_ERROR;
        }
        // A page whose value is no block has nothing to read.
        if (in.value.code != TOKEN_OPEN_BRACE)
            continue;
        result = g_yearBook.GetPage(found->page)->Read(in);
        if (result != FIELD_BLOCK_END)
            return result;
    }
}

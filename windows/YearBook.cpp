#include "windows/YearBook.h"

#include "data/GameFile.h"
#include "data/Keywords.h"
#include "engine/CriticalError.h"
#include "windows/YearBookSection.h"

CYearBook g_yearBook;

void CYearBook::CreatePages() {
    m_pages.clear();
    for (int32_t i = 0; i < kPageCount; ++i)
        m_pages.push_back(std::make_unique<CYearBookPage>());
}

CYearBookPage* CYearBook::GetPage(int32_t number) {
    if (m_pages.empty())
        CreatePages();
    if (number < 0 || number >= static_cast<int32_t>(m_pages.size())) {
        DebugPrint("Array bounds violation.\n");
        number = 0;
    }
    return m_pages[static_cast<size_t>(number)].get();
}

// ---------------------------------------------------------------------------
// The "eyr" object of saved games (windows/YearBookSection.h)

namespace {

void WriteYearBookObject(CGameFileOutput& out) {
    out.Write(WriteYearBookSection());
}

const bool g_gameFileRegistered = [] {
    RegisterGameFileObject(KW_EYR, {&ReadYearBookSection, &WriteYearBookObject});
    return true;
}();

} // namespace

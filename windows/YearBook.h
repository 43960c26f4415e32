#pragma once
// The year book: history pages whose contents grow during a game. A saved
// game keeps some of the pages; each page reads and writes its own block,
// kept as the data tree it was read into.
#include <cstdint>
#include <memory>
#include <vector>

#include "data/KeptBlock.h"

class CYearBookPage : public CKeptBlock {};

class CYearBook {
public:
    // Book page numbers run from 0 to kPageCount - 1.
    static constexpr int32_t kPageCount = 30;

    // Builds every page afresh (the old pages are deleted).
    void CreatePages();
    // The page of a book page number. A number outside the book is reported
    // ("Array bounds violation.") and answers the first page; pages not built
    // yet are built first.
    CYearBookPage* GetPage(int32_t number);

private:
    std::vector<std::unique_ptr<CYearBookPage>> m_pages;
};

// The year book of the main game screen; it lives for the whole run.
extern CYearBook g_yearBook;

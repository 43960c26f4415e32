#include "ui/DirtySpans.h"

#include "engine/Pixel.h"

std::vector<DirtySpanRow> g_dirtySpans;

void CreateDirtySpans() {
    int32_t height = CGraphicsBase::GetScreenHeight();
    g_dirtySpans.assign(static_cast<size_t>(height > 0 ? height : 600), DirtySpanRow{});
}

void FreeDirtySpans() {
    g_dirtySpans.clear();
    g_dirtySpans.shrink_to_fit();
}

void MarkScreenDirty() {
    int32_t width = CGraphicsBase::GetScreenWidth();
    for (DirtySpanRow& row : g_dirtySpans)
        row.spans.assign(1, DirtySpan{0, 2 * (width - 1)});
}

bool IsPointUnderPopup(int32_t x, int32_t y) {
    if (x < 0 || y < 0 || x >= CGraphicsBase::GetScreenWidth() ||
        static_cast<size_t>(y) >= g_dirtySpans.size())
        return false;
    const int32_t offset = 2 * x;
    for (const DirtySpan& span : g_dirtySpans[static_cast<size_t>(y)].spans)
        if (offset >= span.start && offset < span.end)
            return false;
    return true;
}

#include <algorithm>

#include "engine/Display.h"
#include "platform/EventPump.h"

std::vector<std::unique_ptr<CImage>> g_cursorImages;
int32_t g_currentCursor = 0;

namespace {

std::unique_ptr<CImage> LoadCursorPicture(const std::string& path) {
    auto image = std::make_unique<CImage>(path, kPlaceSurface, false);
    if (image->surface) {
        if (g_directDraw)
            g_directDraw->SetColourKey(*image->surface);
        else
            image->surface->SetColourKey(g_colourKey);
    }
    return image;
}

} // namespace

int32_t LoadCursorImage(const std::string& path) {
    const size_t needed = g_cursorImages.empty() ? 2 : 1;
    if (g_cursorImages.size() + needed > kMaxCursorImages)
        return 0;
    if (g_cursorImages.empty())
        g_cursorImages.push_back(LoadCursorPicture(path)); // the save image
    g_cursorImages.push_back(LoadCursorPicture(path));
    return static_cast<int32_t>(g_cursorImages.size() - 1);
}

void SetCurrentCursor(int32_t index) {
    g_currentCursor = index;
}

// Both the cursor and the save image need a surface of their own (a cursor
// whose file could not be read has none and is not drawn). The cursor is cut
// at the surface's right and bottom edges.
void CDirectDraw::DrawCursor(CImageBase& cursor, CImageBase& save, bool onDrawingSurface) {
    if (cursorDrawn || !drawingSurface || !cursor.surface || !save.surface)
        return;
    CSurface& target = *drawingSurface;
    int32_t x = 0;
    int32_t y = 0;
    platform::GetCursorPosition(x, y);
    x = std::max(x, 0);
    y = std::max(y, 0);
    Rect rect{0, 0, cursor.surface->GetWidth(), cursor.surface->GetHeight()};
    rect.right = std::min(rect.right, target.GetWidth() - x);
    rect.bottom = std::min(rect.bottom, target.GetHeight() - y);

    if (!onDrawingSurface && cursorRect.right > 0 && cursorRect.bottom > 0) {
        // The screen saved last time goes back first.
        target.BltFast(cursorX, cursorY, *save.surface, cursorRect, false);
        MarkChanged({cursorX, cursorY, cursorX + cursorRect.right, cursorY + cursorRect.bottom});
    }
    if (rect.right > 0 && rect.bottom > 0) {
        const Rect under{x, y, x + rect.right, y + rect.bottom};
        save.surface->BltFast(0, 0, target, under, false);
        target.BltFast(x, y, *cursor.surface, rect, true);
        MarkChanged(under);
    } else {
        rect = {};
    }
    if (onDrawingSurface)
        cursorDrawn = 1;
    cursorX = x;
    cursorY = y;
    cursorRect = rect;
}

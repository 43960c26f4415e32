#include "ui/widgets/PopupWindow.h"

#include <algorithm>
#include <cstring>

#include "engine/Display.h"
#include "engine/Sprite.h"
#include "net/EventTypes.h"
#include "net/InputEvent.h"
#include "net/MousePosition.h"
#include "ui/DirtySpans.h"
#include "ui/WindowFrame.h"

PopupPosition g_nextPopupPosition{200, 100};
CPopupWindow* g_lastPopup = nullptr;

CPopupWindow::CPopupWindow() = default;

CPopupWindow::CPopupWindow(const PopupPosition* position, int32_t width, int32_t height,
                           int32_t tileSize) {
    if (!position) {
        Create(nullptr, width, height, tileSize);
        return;
    }
    const int32_t screenWidth = GetScreenWidth();
    const int32_t screenHeight = GetScreenHeight();
    PopupPosition held = *position;
    if (held.x < 224)
        held.x = 224;
    if (held.x + width > screenWidth)
        held.x = screenWidth - width;
    if (held.y < 32)
        held.y = 32;
    if (held.y + height > screenHeight)
        held.y = screenHeight - height;
    Create(&held, width, height, tileSize);
}

CPopupWindow::~CPopupWindow() {
    if (g_lastPopup == this)
        g_lastPopup = nullptr;
}

void CPopupWindow::Create(const PopupPosition* position, int32_t requestedWidth,
                          int32_t requestedHeight, int32_t tileSize) {
    dragging = 0;
    shadow = 0;
    tile = tileSize == 8 ? 8 : 16;
    frame = tile == 16 ? g_windowFrame16 : g_windowFrame8;
    children = std::make_unique<CDrawableGroup>();

    auto side = [this](int32_t requested) {
        int32_t held = std::clamp(requested, 3 * tile, kMaxSide);
        return held / tile * tile;
    };
    width = side(requestedWidth);
    height = side(requestedHeight);
    image = std::make_unique<CImage>(width, height, 16, kImageMemory);

    if (position) {
        x = position->x;
        y = position->y;
    } else {
        x = g_nextPopupPosition.x;
        y = g_nextPopupPosition.y;
        g_nextPopupPosition.x += 8;
        g_nextPopupPosition.y += 8;
        if (g_nextPopupPosition.x > 400)
            g_nextPopupPosition = {200, 100};
        if (y + height > 500)
            y = 500 - height;
    }
    DrawFrame();
    g_lastPopup = this;
}

void CPopupWindow::DrawFrame() {
    clip = {0, 0, GetScreenWidth() - 1, GetScreenHeight() - 1};
    if (!image || !frame)
        return;
    const int32_t t = tile;
    const int32_t nx = width / t - 1;
    const int32_t ny = height / t - 1;
    auto put = [this](CWindowFrame::Piece which, int32_t px, int32_t py) {
        CSprite* piece = frame->Get(which);
        if (!piece)
            return;
        piece->SetDestination(image.get());
        piece->SetPosition(px, py);
        piece->Draw(0);
    };
    put(CWindowFrame::kTopLeft, 0, 0);
    put(CWindowFrame::kTopRight, width - t, 0);
    for (int32_t i = 1; i < nx; ++i)
        put(CWindowFrame::kTop, t * i, 0);
    put(CWindowFrame::kBottomLeft, 0, height - t);
    put(CWindowFrame::kBottomRight, width - t, height - t);
    for (int32_t i = 1; i < nx; ++i)
        put(CWindowFrame::kBottom, t * i, height - t);
    for (int32_t j = 1; j < ny; ++j) {
        put(CWindowFrame::kLeft, 0, t * j);
        put(CWindowFrame::kRight, width - t, t * j);
        for (int32_t i = 1; i < nx; ++i)
            put(CWindowFrame::kCentre, t * i, t * j);
    }
}

bool CPopupWindow::HitTest(int32_t px, int32_t py) const {
    return x <= px && px <= x + width && y <= py && py <= y + height;
}

int CPopupWindow::HandleEvent(COVEvent& event) {
    const uint32_t type = event.GetType();
    if (type == EVT_CLOSEALLWINDOWS)
        return DRAWABLE_DELETE_ME;

    if (children) {
        int taken = children->HandleEvent(event);
        if (taken != DRAWABLE_NOT_TAKEN) {
            if (!IsMouseButtonHeld())
                dragging = 0;
            return taken;
        }
    }

    const MousePosition mouse = *GetMousePosition();
    int answer = DRAWABLE_NOT_TAKEN;
    if (type == EVT_MOUSELBHELD && dragging && IsMouseButtonHeld()) {
        x = std::max(mouse.x - dragOffsetX, 0);
        y = std::max(mouse.y - dragOffsetY, 0);
        x = std::min(x, GetScreenWidth() - width - 1);
        y = std::min(y, GetScreenHeight() - height - 1);
        answer = DRAWABLE_TAKEN;
    }
    if (HitTest(mouse.x, mouse.y)) {
        if (type == EVT_MOUSEMOVE || type == EVT_MOUSELBDOUBLECLICK) {
            answer = DRAWABLE_TAKEN;
        } else if (type == EVT_MOUSELBUP) {
            answer = DRAWABLE_TAKEN;
            dragging = 0;
        } else if (type == EVT_MOUSELBDOWN) {
            answer = DRAWABLE_TO_FRONT;
            if (IsMouseButtonHeld()) {
                dragging = 1;
                dragOffsetX = mouse.x - x;
                dragOffsetY = mouse.y - y;
            }
        }
    }
    if (!IsMouseButtonHeld())
        dragging = 0;
    return answer;
}

void CPopupWindow::CopySpan(uint8_t* screenLine, const uint8_t* windowLine, int32_t from,
                            int32_t to, int32_t left, uint16_t seeThrough,
                            uint16_t quarterMask) const {
    for (int32_t offset = from & ~1; offset + 1 < to; offset += 2) {
        uint16_t pixel;
        std::memcpy(&pixel, windowLine + (offset - left), 2);
        uint16_t* target = reinterpret_cast<uint16_t*>(screenLine + offset);
        if (pixel == seeThrough)
            *target = static_cast<uint16_t>((*target >> 2) & quarterMask);
        else
            *target = pixel;
    }
}

void CPopupWindow::Draw(int32_t param) {
    const int32_t screenHeight = GetScreenHeight();
    uint8_t* screen = GetScreenPixels();
    if (!image || !image->pixels || y >= screenHeight - 1 || y + height < 1)
        return;
    if (screen) {
        const int32_t pitch = GetScreenPitch();
        const int32_t first = std::max(y, 0);
        const int32_t last =
            std::min({y + height, screenHeight - 1, static_cast<int32_t>(g_dirtySpans.size())});
        const uint16_t seeThrough = RgbToPixel(35, 35, 35);
        const uint16_t quarterMask = RgbToPixel(63, 63, 63);
        const int32_t left = 2 * x;
        const int32_t right = 2 * (x + width);
        std::vector<DirtySpan> kept;
        for (int32_t line = first; line < last; ++line) {
            uint8_t* screenLine = screen + static_cast<ptrdiff_t>(line) * pitch;
            const uint8_t* windowLine =
                image->pixels + static_cast<ptrdiff_t>(line - y) * image->pitch;
            std::vector<DirtySpan>& spans = g_dirtySpans[static_cast<size_t>(line)].spans;
            kept.clear();
            kept.reserve(2 * spans.size() + 1);
            for (const DirtySpan& span : spans) {
                if (left > span.start && right < span.end) {
                    kept.push_back({span.start, left});
                    kept.push_back({right, span.end});
                    CopySpan(screenLine, windowLine, left, right, left, seeThrough, quarterMask);
                } else if (left > span.start && left < span.end) {
                    kept.push_back({span.start, left});
                    CopySpan(screenLine, windowLine, left, span.end, left, seeThrough, quarterMask);
                } else if (right > span.start && right < span.end) {
                    kept.push_back({right, span.end});
                    CopySpan(screenLine, windowLine, span.start, right, left, seeThrough,
                             quarterMask);
                } else if (right < span.end || left > span.start) {
                    kept.push_back(span);
                } else {
                    CopySpan(screenLine, windowLine, span.start, span.end, left, seeThrough,
                             quarterMask);
                }
            }
            spans.swap(kept);
        }
        if (shadow && g_screen) {
            g_screen->DimRect({x - 8, y + 8, x, y + height + 8});
            g_screen->DimRect({x, y + height, x + width - 8, y + height + 8});
        }
    }
    if (children)
        children->Draw(param);
}

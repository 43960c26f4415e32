#pragma once
// A small world for the popup tests: a game folder holding the frame pieces
// (each piece one plain colour, told apart by red), the palettes the popups
// ask for, an 800 x 600 memory screen, the dirty spans, both frame sets and
// a popup list in place of the game frame's.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/Display.h"
#include "engine/Palette.h"
#include "engine/Sprite.h"
#include "net/InputEvent.h"
#include "net/MousePosition.h"
#include "tests/TestSupport.h"
#include "tests/engine/ImageTestSupport.h"
#include "ui/DirtySpans.h"
#include "ui/WindowFrame.h"
#include "ui/widgets/PopupHost.h"
#include "ui/widgets/PopupList.h"
#include "ui/widgets/PopupWindow.h"

namespace popuptest {

// The red of frame piece p (CWindowFrame::Piece) and the screen's fill.
inline uint8_t PieceRed(int32_t piece) {
    return static_cast<uint8_t>(40 + 20 * piece);
}
inline uint16_t PiecePixel(int32_t piece) {
    return CGraphicsBase::RgbToPixel(PieceRed(piece), 100, 0);
}
inline uint16_t ScreenFill() {
    return CGraphicsBase::RgbToPixel(200, 160, 120);
}

// A 24-bit picture of one colour.
inline std::string PlainBmp(int32_t width, int32_t height, uint8_t r, uint8_t g, uint8_t b) {
    std::vector<std::string> rows;
    for (int32_t y = 0; y < height; ++y) {
        std::string row;
        for (int32_t x = 0; x < width; ++x)
            row += imagetest::Bytes({b, g, r});
        rows.push_back(row);
    }
    return imagetest::MakeBmp(imagetest::BmpSpec(width, height, 24, imagetest::FileRows(rows)));
}

inline std::string GreyAct() {
    std::string act;
    for (int i = 0; i < 256; ++i)
        act += imagetest::Bytes({i, i, i});
    return act;
}

// The list the tests' popups register with.
inline CPopupList*& TestPopups() {
    static CPopupList* list = nullptr;
    return list;
}

class PopupWorld {
public:
    PopupWorld() {
        static const char* const kSuffixes[] = {"b", "bl", "br", "c", "cl", "cr", "t", "tl", "tr"};
        for (int32_t i = 0; i < 9; ++i) {
            dir.WriteFile(std::string("gfx/interface/win_") + kSuffixes[i] + ".bmp",
                          PlainBmp(16, 16, PieceRed(i), 100, 0));
            dir.WriteFile(std::string("gfx/interface/win8_") + kSuffixes[i] + ".bmp",
                          PlainBmp(8, 8, PieceRed(i), 100, 0));
        }
        dir.WriteFile("gfx/dummy.bmp", PlainBmp(4, 4, 90, 90, 90));
        for (const char* palette : {"dialogue.act", "arrows.act"})
            dir.WriteFile(std::string("gfx/palette/") + palette, GreyAct());
        // Palettes stay cached by name from test to test: read these again
        // from this game folder.
        for (const char* name : {"dialogue.act", "arrows.act"})
            GetPalette(name)->LoadPalette(name);
        g_screen = std::make_unique<CImage>(800, 600, 16, kImageMemory);
        g_screen->Fill(ScreenFill());
        CreateDirtySpans();
        MarkScreenDirty();
        g_windowFrame16 = new CWindowFrame(16);
        g_windowFrame8 = new CWindowFrame(8);
        g_nextPopupPosition = {200, 100};
        m_savedHost = g_popupHost;
        TestPopups() = &popups;
        g_popupHost.addPopup = [](CPopupWindow* w) { TestPopups()->Add(w); };
        g_popupHost.removePopup = [](CPopupWindow* w) { TestPopups()->Remove(w); };
        SetMouse(0, 0, false);
    }
    ~PopupWorld() {
        popups.DeleteAll();
        g_popupHost = m_savedHost;
        TestPopups() = nullptr;
        delete g_windowFrame16;
        delete g_windowFrame8;
        g_windowFrame16 = g_windowFrame8 = nullptr;
        FreeDirtySpans();
        g_screen.reset();
        g_nextPopupPosition = {200, 100};
        SetMouse(0, 0, false);
    }
    PopupWorld(const PopupWorld&) = delete;
    PopupWorld& operator=(const PopupWorld&) = delete;

    static void SetMouse(int32_t x, int32_t y, bool held) {
        g_mousePos = {x, y};
        g_inputState.leftHeld = held ? 1 : 0;
    }
    // An input event at the mouse position.
    static CInputEvent Input(uint32_t type, uint32_t code = 0) {
        return CInputEvent(type, ObjectId{}, code, 0, g_mousePos.x, g_mousePos.y);
    }
    static uint16_t ScreenAt(int32_t x, int32_t y) { return imagetest::PixelAt(*g_screen, x, y); }

    test::ScopedGameDir dir;
    CPopupList popups;

private:
    PopupHostHooks m_savedHost;
};

} // namespace popuptest

#pragma once
// The popups over the screen harness: the generated frames, the uncovered
// spans, the sine table and a popup list in place of the game frame's,
// over a striped game picture so that see-through pixels show.
#include <cstdint>

#include "engine/Display.h"
#include "engine/Palette.h"
#include "engine/TextDatabase.h"
#include "engine/Trig.h"
#include "net/Event.h"
#include "net/Scheduler.h"
#include "tests/ui/ScreenHarness.h"
#include "ui/DirtySpans.h"
#include "ui/WindowFrame.h"
#include "ui/widgets/PopupHost.h"
#include "ui/widgets/PopupList.h"
#include "ui/widgets/PopupPause.h"
#include "ui/widgets/PopupWindow.h"

namespace popuptest {

inline CPopupList*& ScreenPopups() {
    static CPopupList* list = nullptr;
    return list;
}

class PopupScreen {
public:
    PopupScreen() {
        InitTrigTables();
        // Palettes stay cached by name from test to test: read these again
        // from this game folder.
        for (const char* name : {"dialogue.act", "arrows.act"})
            GetPalette(name)->LoadPalette(name);
        // Other tests load texts of their own.
        g_textDatabase.Load(0);
        CreateDirtySpans();
        g_windowFrame16 = new CWindowFrame(16);
        g_windowFrame8 = new CWindowFrame(8);
        g_nextPopupPosition = {200, 100};
        m_savedHost = g_popupHost;
        ScreenPopups() = &popups;
        g_popupHost.addPopup = [](CPopupWindow* w) { ScreenPopups()->Add(w); };
        g_popupHost.removePopup = [](CPopupWindow* w) { ScreenPopups()->Remove(w); };
        ResetPopupPause();
        g_scheduler.Clear();
        for (int32_t y = 0; y < 600; ++y)
            for (int32_t x = 0; x < 800; ++x)
                StorePixel(g_screen->pixels + y * g_screen->pitch + 2 * x,
                           ((x / 8 + y / 8) % 2) ? CGraphicsBase::RgbToPixel(90, 160, 220)
                                                 : CGraphicsBase::RgbToPixel(240, 230, 200));
    }
    ~PopupScreen() {
        popups.DeleteAll();
        g_popupHost = m_savedHost;
        ScreenPopups() = nullptr;
        delete g_windowFrame16;
        delete g_windowFrame8;
        g_windowFrame16 = g_windowFrame8 = nullptr;
        FreeDirtySpans();
        g_nextPopupPosition = {200, 100};
        ResetPopupPause();
        g_scheduler.Clear();
    }
    PopupScreen(const PopupScreen&) = delete;
    PopupScreen& operator=(const PopupScreen&) = delete;

    uitest::ScreenHarness screen;
    CPopupList popups;

private:
    PopupHostHooks m_savedHost;
};

} // namespace popuptest

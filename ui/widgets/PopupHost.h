#pragma once
// What the widgets ask of the game frame (dialogs/GameFrame.h), which lies
// above them: entering a popup window into its popup list and taking it out,
// and the same for the window layer that holds the interface buttons. The
// game frame fills the hooks at start-up; a null hook answers as a game
// without a game frame (nothing is listed).
class CPopupWindow;
class Drawable;

struct PopupHostHooks {
    void (*addPopup)(CPopupWindow* window) = nullptr;
    // Takes the window out of the list when it is there; never deletes it.
    void (*removePopup)(CPopupWindow* window) = nullptr;
    void (*addWindow)(Drawable* window) = nullptr;
    void (*removeWindow)(Drawable* window) = nullptr;
};

extern constinit PopupHostHooks g_popupHost;

inline void AddPopupToFrame(CPopupWindow* window) {
    if (g_popupHost.addPopup)
        g_popupHost.addPopup(window);
}
inline void RemovePopupFromFrame(CPopupWindow* window) {
    if (g_popupHost.removePopup)
        g_popupHost.removePopup(window);
}
inline void AddWindowToFrame(Drawable* window) {
    if (g_popupHost.addWindow)
        g_popupHost.addWindow(window);
}
inline void RemoveWindowFromFrame(Drawable* window) {
    if (g_popupHost.removeWindow)
        g_popupHost.removeWindow(window);
}

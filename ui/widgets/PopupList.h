#pragma once
// CPopupList: the open popup windows, topmost first. Drawing resets the
// uncovered spans of the screen and draws from the topmost window down, so
// that each window paints only what the windows above it left free; events
// go the same way. The list owns its windows.
#include <cstddef>
#include <cstdint>
#include <vector>

class COVEvent;
class CPopupWindow;

class CPopupList {
public:
    CPopupList() = default;
    ~CPopupList();
    CPopupList(const CPopupList&) = delete;
    CPopupList& operator=(const CPopupList&) = delete;

    // On top of the others; a window already listed is raised.
    void Add(CPopupWindow* window);
    // Takes the window out when it is listed; does not delete it.
    void Remove(CPopupWindow* window);
    bool Contains(const CPopupWindow* window) const;
    size_t GetCount() const { return m_windows.size(); }
    // 0 is the topmost window; null past the end.
    CPopupWindow* At(size_t index) const;

    // Offers the event from the topmost window down; the first that takes
    // it ends the walk: DRAWABLE_DELETE_ME removes and deletes that window,
    // DRAWABLE_TO_FRONT raises it. "_COVEVT_CLOSEALLWINDOWS_" is offered to
    // every window. EVENT_CONSUMED when a window took it, else
    // EVENT_NOT_HANDLED.
    int HandleEvent(COVEvent& event);
    // MarkScreenDirty, then every window from the topmost down.
    void Draw(int32_t param);
    // Deletes every window.
    void DeleteAll();

private:
    std::vector<CPopupWindow*> m_windows; // the topmost at the back
};

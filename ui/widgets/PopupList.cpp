#include "ui/widgets/PopupList.h"

#include <algorithm>

#include "net/EventTypes.h"
#include "ui/DirtySpans.h"
#include "ui/widgets/PopupHost.h"
#include "ui/widgets/PopupWindow.h"

constinit PopupHostHooks g_popupHost;

CPopupList::~CPopupList() {
    DeleteAll();
}

void CPopupList::Add(CPopupWindow* window) {
    if (!window)
        return;
    Remove(window);
    m_windows.push_back(window);
}

void CPopupList::Remove(CPopupWindow* window) {
    auto at = std::find(m_windows.begin(), m_windows.end(), window);
    if (at != m_windows.end())
        m_windows.erase(at);
}

bool CPopupList::Contains(const CPopupWindow* window) const {
    return std::find(m_windows.begin(), m_windows.end(), window) != m_windows.end();
}

CPopupWindow* CPopupList::At(size_t index) const {
    return index < m_windows.size() ? m_windows[m_windows.size() - 1 - index] : nullptr;
}

int CPopupList::HandleEvent(COVEvent& event) {
    const bool toAll = event.GetType() == EVT_CLOSEALLWINDOWS;
    // A window's handler may open or close windows: walk a copy and offer
    // only to windows still listed.
    const std::vector<CPopupWindow*> order(m_windows.rbegin(), m_windows.rend());
    int answer = EVENT_NOT_HANDLED;
    for (CPopupWindow* window : order) {
        if (!Contains(window))
            continue;
        const int taken = window->HandleEvent(event);
        if (taken == DRAWABLE_NOT_TAKEN)
            continue;
        answer = EVENT_CONSUMED;
        if (taken == DRAWABLE_DELETE_ME) {
            Remove(window);
            delete window;
        } else if (taken == DRAWABLE_TO_FRONT) {
            Add(window);
        }
        if (!toAll)
            break;
    }
    return answer;
}

void CPopupList::Draw(int32_t param) {
    MarkScreenDirty();
    const std::vector<CPopupWindow*> order(m_windows.rbegin(), m_windows.rend());
    for (CPopupWindow* window : order)
        if (Contains(window))
            window->Draw(param);
}

void CPopupList::DeleteAll() {
    while (!m_windows.empty()) {
        CPopupWindow* window = m_windows.back();
        m_windows.pop_back();
        delete window;
    }
}

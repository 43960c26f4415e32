#include "engine/DisplayList.h"

#include "engine/Drawable.h"

CDisplayList* g_displayList = nullptr;

int DispatchToDisplayList(COVEvent& event) {
    return g_displayList ? g_displayList->DispatchEvent(event) : EVENT_NOT_HANDLED;
}

namespace {

// Brackets a walk: nodes removed meanwhile are only marked; the outermost
// walk frees them at its end.
class WalkScope {
public:
    explicit WalkScope(CDisplayList& list) : m_list(list), m_outermost(!list.IsWalking()) {
        if (m_outermost)
            m_list.BeginWalk();
    }
    ~WalkScope() {
        if (m_outermost)
            m_list.EndWalk();
    }
    WalkScope(const WalkScope&) = delete;
    WalkScope& operator=(const WalkScope&) = delete;

private:
    CDisplayList& m_list;
    bool m_outermost;
};

} // namespace

CDisplayList::~CDisplayList() {
    if (g_displayList == this)
        g_displayList = nullptr;
}

void CDisplayList::Add(Drawable* object, int32_t layer, int32_t param) {
    Node* before = nullptr;
    GetHeadPosition(before);
    while (before && before->item.layer < layer)
        MoveNext(before);
    InsertBefore(DisplayEntry{object, param, layer}, before);
}

CDisplayList::Node* CDisplayList::FindEntry(Drawable* object, int32_t param) const {
    return Find(DisplayEntry{object, param, 0});
}

bool CDisplayList::RemoveAndDelete(Drawable* object, int32_t param) {
    Node* node = FindEntry(object, param);
    if (!node)
        return false;
    RemoveNode(node);
    delete object;
    return true;
}

bool CDisplayList::Remove(Drawable* object, int32_t param) {
    return RemoveNode(FindEntry(object, param));
}

void CDisplayList::RemoveObject(Drawable* object) {
    WalkScope walk(*this);
    Node* node = nullptr;
    GetHeadPosition(node);
    for (; node; node = node->next)
        if (!node->removed && node->item.object == object)
            RemoveNode(node);
}

int CDisplayList::DispatchEvent(COVEvent& event) {
    WalkScope walk(*this);
    for (Node* node = GetTail(); node; node = node->prev) {
        if (node->removed || node->item.param != 0 || !node->item.object)
            continue;
        Drawable* object = node->item.object;
        if (object->HandleEvent(event) == DRAWABLE_DELETE_ME) {
            RemoveNode(node);
            delete object;
            return EVENT_CONSUMED;
        }
    }
    return EVENT_NOT_HANDLED;
}

void CDisplayList::DrawAll() {
    WalkScope walk(*this);
    Node* node = nullptr;
    GetHeadPosition(node);
    for (; node; node = node->next)
        if (!node->removed && node->item.object)
            node->item.object->Draw(node->item.param);
}

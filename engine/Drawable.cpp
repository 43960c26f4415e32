#include "engine/Drawable.h"

#include "engine/DisplayList.h"

constinit AnimationTicksReader g_animationTicksReader = nullptr;

bool ReadAnimationTicks(const COVEvent& event, uint32_t& ticks) {
    return g_animationTicksReader && g_animationTicksReader(event, ticks);
}

Drawable::~Drawable() {
    if (g_displayList)
        g_displayList->RemoveObject(this);
}

int Drawable::HandleEvent(COVEvent& /*event*/) {
    return DRAWABLE_NOT_TAKEN;
}

int Drawable::ReadDefinition(CFieldReader& /*reader*/) {
    return -2; // FIELD_ERROR: the text format lies above the engine
}

void Drawable::Draw(int32_t /*param*/) {}

int CDrawableGroup::HandleEvent(COVEvent& event) {
    // Children removed by a handler meanwhile are only marked, so the walk
    // never reaches a freed node; the outermost walk sweeps them.
    bool outermost = !IsWalking();
    if (outermost)
        BeginWalk();
    int answer = DRAWABLE_NOT_TAKEN;
    for (Node* node = GetTail(); node; node = node->prev) {
        if (node->removed || !node->item)
            continue;
        Drawable* child = node->item;
        int taken = child->HandleEvent(event);
        if (taken == DRAWABLE_NOT_TAKEN)
            continue;
        if (taken == DRAWABLE_DELETE_ME) {
            RemoveNode(node);
            delete child;
        } else if (taken == DRAWABLE_TO_FRONT) {
            RemoveNode(node);
            AddTail(child);
        }
        answer = DRAWABLE_TAKEN;
        break;
    }
    if (outermost)
        EndWalk();
    return answer;
}

void CDrawableGroup::Draw(int32_t param) {
    bool outermost = !IsWalking();
    if (outermost)
        BeginWalk();
    Node* node = nullptr;
    GetHeadPosition(node);
    for (; node; node = node->next)
        if (!node->removed && node->item)
            node->item->Draw(param);
    if (outermost)
        EndWalk();
}

void CDrawableGroup::DrawChildren(int32_t param) {
    bool outermost = !IsWalking();
    if (outermost)
        BeginWalk();
    for (Node* node = GetTail(); node; node = node->prev)
        if (!node->removed && node->item)
            node->item->Draw(param);
    if (outermost)
        EndWalk();
}

#include "ui/widgets/TimedDrawable.h"

#include "engine/DisplayList.h"
#include "engine/GameTimer.h"

CTimedDrawableList* g_timedDrawables = nullptr;

// 19 October 1971 (days and months count from 0).
CTimedDrawable::CTimedDrawable() : removalDate(18, 9, 1971) {}

CTimedDrawable::CTimedDrawable(const CDate& /*date*/) : CTimedDrawable() {}

int32_t TimerInterrupts() {
    return g_gameTimer ? static_cast<int32_t>(g_gameTimer->interrupts.load()) : 0;
}

CCountdown::CCountdown(int32_t n, const char* copied)
    : text(copied ? std::make_unique<std::string>(copied) : nullptr),
      due(static_cast<int32_t>(static_cast<uint32_t>(TimerInterrupts()) +
                               static_cast<uint32_t>(kCountdownUnit * n))) {}

namespace {

// Interrupts until due; the counter may wrap round between the two.
int32_t InterruptsLeft(int32_t due) {
    return static_cast<int32_t>(static_cast<uint32_t>(due) -
                                static_cast<uint32_t>(TimerInterrupts()));
}

} // namespace

int CCountdown::HandleEvent(COVEvent& /*event*/) {
    return InterruptsLeft(due) <= 0 ? DRAWABLE_DELETE_ME : DRAWABLE_NOT_TAKEN;
}

int32_t CCountdown::GetRemaining() const {
    return InterruptsLeft(due) / kCountdownUnit;
}

CTimedDrawableList::~CTimedDrawableList() {
    if (g_displayList)
        g_displayList->RemoveObject(this);
    Node* node = nullptr;
    GetHeadPosition(node);
    while (node) {
        Node* next = node->next;
        if (!node->removed)
            delete node->item;
        node = next;
    }
    RemoveAll();
}

int CTimedDrawableList::HandleEvent(COVEvent& event) {
    const bool outermost = !IsWalking();
    if (outermost)
        BeginWalk();
    Node* node = nullptr;
    GetHeadPosition(node);
    for (; node; node = node->next) {
        if (node->removed || !node->item)
            continue;
        CTimedDrawable* item = node->item;
        if (item->finished) {
            if (item->removeWhenFinished) {
                RemoveNode(node);
                delete item;
            }
            continue;
        }
        if (item->HandleEvent(event) == DRAWABLE_DELETE_ME) {
            RemoveNode(node);
            delete item;
        }
    }
    if (outermost)
        EndWalk();
    return DRAWABLE_NOT_TAKEN;
}

void CTimedDrawableList::Draw(int32_t param) {
    Node* node = nullptr;
    GetHeadPosition(node);
    for (; node; node = node->next)
        if (!node->removed && node->item)
            node->item->Draw(param);
}

void CreateTimedDrawableList() {
    DeleteTimedDrawableList();
    g_timedDrawables = new CTimedDrawableList;
    if (g_displayList)
        g_displayList->Add(g_timedDrawables, 2499, 0);
}

void DeleteTimedDrawableList() {
    delete g_timedDrawables;
    g_timedDrawables = nullptr;
}

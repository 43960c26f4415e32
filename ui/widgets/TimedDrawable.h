#pragma once
// Timed drawables: items that count the game timer rather than game days.
// CTimedDrawable is their base (flags and an expiry tick), CCountdown the
// time limit of a message box, CTimedDrawableList the list at layer 2499
// that draws them and drops the finished ones, CBlankDrawable a drawable
// that neither draws nor takes events.
#include <cstdint>
#include <memory>
#include <string>

#include "engine/Date.h"
#include "engine/Drawable.h"
#include "engine/LinkedList.h"

class CTimedDrawable : public Drawable {
public:
    // The date is not kept: every item's removal date is 19 October 1971.
    CTimedDrawable();
    explicit CTimedDrawable(const CDate& date);

    uint32_t expiryTick = 0; // game ticks at which a non-permanent item ends
    uint8_t permanent = 1;   // while set, the expiry tick is ignored
    uint8_t finished = 0;    // set when the item has done its work
    uint8_t removeWhenFinished = 0;
    CDate removalDate;
};

// Interrupts of the game timer in one unit of a countdown (15 ms each).
constexpr int32_t kCountdownUnit = 70;

class CCountdown : public CTimedDrawable {
public:
    // Due n units after the timer's interrupt count now; the text is copied.
    CCountdown(int32_t n, const char* text);

    // DRAWABLE_DELETE_ME once due, whatever the event; else not taken.
    int HandleEvent(COVEvent& event) override;
    // Whole units left, truncated toward zero (negative once expired).
    int32_t GetRemaining() const;

    std::unique_ptr<std::string> text;
    int32_t due = 0;
};

// The game timer's interrupt count (0 without a timer).
int32_t TimerInterrupts();

class CBlankDrawable : public Drawable {};

class CTimedDrawableList : public CLinkedList<CTimedDrawable>, public Drawable {
public:
    CTimedDrawableList() = default;
    // Takes itself off the display list and deletes every item.
    ~CTimedDrawableList() override;

    // Walks the items head to tail: a finished item is removed (and deleted
    // when it asks for it), others handle the event and are removed and
    // deleted when they answer DRAWABLE_DELETE_ME. Never takes the event.
    int HandleEvent(COVEvent& event) override;
    // Every item head to tail.
    void Draw(int32_t param) override;
};

// The list at layer 2499 of the display list; null when there is none.
extern CTimedDrawableList* g_timedDrawables;
void CreateTimedDrawableList();
void DeleteTimedDrawableList();

#pragma once
// The pause the message boxes hold while they are open. Each box counts
// itself in; the first one pauses a running single-player game, and the
// last one to close resumes it, but only when the boxes paused it
// themselves: a game the player had paused before stays paused, and a
// network game is never paused or resumed by a box (one machine's clock
// must not run alone).
#include <cstdint>

// The number of open message boxes.
extern int32_t g_popupPauseCount;

// Counts a box in; outside an active network session posts
// "_COVEVT_PAUSE_" at once.
void PushPopupPause();
// Counts a box out (never below 0); when it was the last and the boxes
// made the pause, posts "_COVEVT_UNPAUSE_" at once, outside an active
// network session.
void PopPopupPause();
// Forgets the count and the pause (a new game).
void ResetPopupPause();

#pragma once
// The uncovered spans of the screen: per screen line, the byte ranges (2
// bytes a pixel) that no popup window has painted yet in this frame. The
// game frame resets them (MarkScreenDirty) before it draws its popups from
// the topmost down; each popup paints only into the spans left and takes
// its own rectangle out of them.
#include <cstdint>
#include <vector>

struct DirtySpan {
    int32_t start = 0; // first byte of the line
    int32_t end = 0;   // just past the last byte
};

struct DirtySpanRow {
    std::vector<DirtySpan> spans;
};

// One row per screen line; empty before start-up and after shutdown.
extern std::vector<DirtySpanRow> g_dirtySpans;

// One row per line of the screen image (600 without one), no spans.
void CreateDirtySpans();
void FreeDirtySpans();
// Every line gets exactly one span, 0 to 2 x (screen width - 1): the
// rightmost pixel column is never part of a span.
void MarkScreenDirty();
// True when the screen point lies outside every span of its line, that is
// under a popup drawn this frame; false off the screen or without spans.
bool IsPointUnderPopup(int32_t x, int32_t y);

#pragma once
// The dirty spans: per screen row, the part that changed since the last
// present. Made at start-up, freed at shutdown.
#include <cstdint>
#include <vector>

struct DirtySpan {
    int32_t left = 0;
    int32_t right = 0; // just outside; left == right: the row is clean
};

extern std::vector<DirtySpan> g_dirtySpans;

// One span per row of the 800 x 600 screen, all clean.
void CreateDirtySpans();
void FreeDirtySpans();

#include "ui/DirtySpans.h"

std::vector<DirtySpan> g_dirtySpans;

void CreateDirtySpans() {
    g_dirtySpans.assign(600, DirtySpan{});
}

void FreeDirtySpans() {
    g_dirtySpans.clear();
    g_dirtySpans.shrink_to_fit();
}

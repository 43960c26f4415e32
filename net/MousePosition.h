#pragma once
// The cursor position in screen pixels, kept by the mouse polling.
#include <cstdint>

struct MousePosition {
    int32_t x = 0;
    int32_t y = 0;
};

extern MousePosition g_mousePos;

// The address of g_mousePos.
MousePosition* GetMousePosition();

#include "net/MousePosition.h"

MousePosition g_mousePos;

MousePosition* GetMousePosition() {
    return &g_mousePos;
}

#include "ui/Pointer.h"

CPointer* g_pointer = nullptr;

void CreatePointer() {
    if (!g_pointer)
        g_pointer = new CPointer;
}

void DeletePointer() {
    delete g_pointer;
    g_pointer = nullptr;
}

#pragma once
// The pointer object of the interface (g_pointer), made at start-up and
// deleted at shutdown.

class CPointer {
public:
    virtual ~CPointer() = default;
};

extern CPointer* g_pointer;

void CreatePointer();
void DeletePointer();

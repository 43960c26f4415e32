#pragma once
// CInputReceiver: the one operation an object needs to be registered where
// only input is wanted. Widgets carry it as an extra base and forward it to
// their own event handler.
#include <cstdint>

class COVEvent;

class CInputReceiver {
public:
    virtual ~CInputReceiver() = default;
    // DRAWABLE_NOT_TAKEN by default.
    virtual int HandleEvent(COVEvent& event);
};

#pragma once
// The control slots of an information window that hold buttons. The main
// game screen keeps the slots of the windows whose buttons' pressed states a
// saved game keeps.
#include <array>
#include <cstddef>

#include "ui/Button.h"

// A control slot that holds a button.
struct CButtonControl {
    CButton button;
};

// The control slots of a window, in slot order.
template <size_t Count> struct CButtonControls {
    static constexpr size_t kControlCount = Count;
    std::array<CButtonControl, Count> controls;
};

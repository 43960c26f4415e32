#pragma once
// The control slots of an information window that hold buttons. The main
// game screen keeps the slots of the windows whose buttons' pressed states a
// saved game keeps.
#include <array>
#include <cstddef>

#include "ui/widgets/Button.h"

// A control slot that holds a button (a picture of its own until the
// window gives it its look, so that no file is read for it).
struct CButtonControl {
    CButton button{1, 1, 16};
};

// The control slots of a window, in slot order.
template <size_t Count> struct CButtonControls {
    static constexpr size_t kControlCount = Count;
    std::array<CButtonControl, Count> controls;
};

#pragma once
// A control slot of an information window that holds a button.
#include <array>
#include <cstddef>

#include "ui/Button.h"

struct CButtonControl {
    CButton button;
};

// The control slots of a window, in slot order.
template <size_t Count> struct CButtonControls {
    static constexpr size_t kControlCount = Count;
    std::array<CButtonControl, Count> controls;
};

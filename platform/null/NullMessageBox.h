#pragma once
// The box without a screen, the box handler while no other is installed (and
// the fall-back of the window system's box, platform/SdlBox.h). It never
// waits for a click: the caption and the text go to stderr, and the answer
// comes from ORVANDEL_BOX_ANSWER ("abort", "retry" or "ignore", any case;
// Ignore when unset or unknown).
#include <string>

#include "platform/MessageBox.h"

namespace platform {

class NullMessageBox {
public:
    BoxAnswer operator()(const std::string& caption, const std::string& text) const;
};

} // namespace platform

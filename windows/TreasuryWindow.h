#pragma once
// The treasury window: six controls in consecutive slots, each holding a
// button whose pressed state a saved game keeps.
#include "windows/WindowControl.h"

class CTreasuryWindow : public CButtonControls<6> {};

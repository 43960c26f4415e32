#pragma once
// The treasury window: six controls in consecutive slots, each holding a
// button whose pressed state a saved game keeps. The main game screen holds
// the window's control slots (CMainScreen::treasuryWindow).
#include "ui/WindowControl.h"

using CTreasuryWindow = CButtonControls<6>;

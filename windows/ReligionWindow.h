#pragma once
// The religion window: eight controls in consecutive slots, each holding a
// button whose pressed state a saved game keeps. The main game screen holds
// the window's control slots (CMainScreen::religionWindow).
#include "ui/WindowControl.h"

using CReligionWindow = CButtonControls<8>;

#pragma once
// The religion window: eight controls in consecutive slots, each holding a
// button whose pressed state a saved game keeps.
#include "windows/WindowControl.h"

class CReligionWindow : public CButtonControls<8> {};

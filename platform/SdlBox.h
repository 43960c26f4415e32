#pragma once
// Inside the platform layer: the critical-error box of the window system,
// the box handler while an SDL window exists.
#include "platform/MessageBox.h"

struct SDL_Window;

namespace platform {

// Installs the window system's box over the window as the box handler;
// when that box cannot be shown the null box answers
// (platform/null/NullMessageBox.h).
void InstallWindowBox(SDL_Window* window);
// Puts back the handler that was installed before InstallWindowBox.
void RemoveWindowBox();

} // namespace platform

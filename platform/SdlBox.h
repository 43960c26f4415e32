#pragma once
// Inside the platform layer: the critical-error box of the window system,
// the box handler while an SDL window exists.
#include <string>

#include "platform/MessageBox.h"

struct SDL_Window;

namespace platform {

// Installs the window system's box over the window as the box handler;
// when that box cannot be shown the headless one answers.
void InstallWindowBox(SDL_Window* window);
// Puts back the handler that was installed before InstallWindowBox.
void RemoveWindowBox();

// The box without a screen (stderr and ORVANDEL_BOX_ANSWER).
BoxAnswer HeadlessBox(const std::string& caption, const std::string& text);

} // namespace platform

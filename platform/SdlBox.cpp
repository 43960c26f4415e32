#include "platform/SdlBox.h"

#include <SDL.h>

#include "platform/null/NullMessageBox.h"

namespace platform {

namespace {

BoxHandler g_previous;
bool g_installed = false;

BoxAnswer WindowBox(SDL_Window* window, const std::string& caption, const std::string& text) {
    const SDL_MessageBoxButtonData buttons[] = {
        {0, 0, "Abort"},
        {0, 1, "Retry"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 2, "Ignore"},
    };
    const SDL_MessageBoxData box = {SDL_MESSAGEBOX_ERROR,   window,  caption.c_str(), text.c_str(),
                                    SDL_arraysize(buttons), buttons, nullptr};
    int pressed = -1;
    if (SDL_ShowMessageBox(&box, &pressed) != 0 || pressed < 0)
        return NullMessageBox()(caption, text);
    return pressed == 0 ? BoxAnswer::Abort : pressed == 1 ? BoxAnswer::Retry : BoxAnswer::Ignore;
}

} // namespace

void InstallWindowBox(SDL_Window* window) {
    BoxHandler previous =
        SetBoxHandler([window](const std::string& caption, const std::string& text) {
            return WindowBox(window, caption, text);
        });
    if (!g_installed)
        g_previous = std::move(previous);
    g_installed = true;
}

void RemoveWindowBox() {
    if (!g_installed)
        return;
    SetBoxHandler(std::move(g_previous));
    g_previous = nullptr;
    g_installed = false;
}

} // namespace platform

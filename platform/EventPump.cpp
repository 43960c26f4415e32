#include "platform/EventPump.h"

#include <SDL.h>

#include <algorithm>
#include <deque>
#include <mutex>

#include "platform/DisplaySdl.h"

namespace platform {

namespace {

struct PumpState {
    std::mutex waitingMutex; // guards waiting: any thread may post
    std::deque<WindowMessage> waiting;
    int32_t cursorX = 0;
    int32_t cursorY = 0;
    int32_t areaWidth = 800;
    int32_t areaHeight = 600;
    uint32_t buttons = 0;   // kMouseFlagLeft, kMouseFlagRight
    uint16_t modifiers = 0; // SDL's modifier state of the last key event
};

PumpState g_pump;

// Key codes that are not letters or digits.
struct KeyEntry {
    SDL_Keycode sdl;
    uint32_t virtualKey;
};

constexpr KeyEntry kKeys[] = {
    {SDLK_BACKSPACE, 8},      {SDLK_TAB, 9},
    {SDLK_RETURN, 13},        {SDLK_KP_ENTER, 13},
    {SDLK_LSHIFT, 16},        {SDLK_RSHIFT, 16},
    {SDLK_LCTRL, 17},         {SDLK_RCTRL, 17},
    {SDLK_LALT, 18},          {SDLK_RALT, 18},
    {SDLK_PAUSE, 19},         {SDLK_CAPSLOCK, 20},
    {SDLK_ESCAPE, 27},        {SDLK_SPACE, 32},
    {SDLK_PAGEUP, 33},        {SDLK_PAGEDOWN, 34},
    {SDLK_END, 35},           {SDLK_HOME, 36},
    {SDLK_LEFT, 37},          {SDLK_UP, 38},
    {SDLK_RIGHT, 39},         {SDLK_DOWN, 40},
    {SDLK_PRINTSCREEN, 44},   {SDLK_INSERT, 45},
    {SDLK_DELETE, 46},        {SDLK_KP_0, 96},
    {SDLK_KP_1, 97},          {SDLK_KP_2, 98},
    {SDLK_KP_3, 99},          {SDLK_KP_4, 100},
    {SDLK_KP_5, 101},         {SDLK_KP_6, 102},
    {SDLK_KP_7, 103},         {SDLK_KP_8, 104},
    {SDLK_KP_9, 105},         {SDLK_KP_MULTIPLY, 106},
    {SDLK_KP_PLUS, 107},      {SDLK_KP_MINUS, 109},
    {SDLK_KP_PERIOD, 110},    {SDLK_KP_DIVIDE, 111},
    {SDLK_F1, 112},           {SDLK_F2, 113},
    {SDLK_F3, 114},           {SDLK_F4, 115},
    {SDLK_F5, 116},           {SDLK_F6, 117},
    {SDLK_F7, 118},           {SDLK_F8, 119},
    {SDLK_F9, 120},           {SDLK_F10, 121},
    {SDLK_F11, 122},          {SDLK_F12, 123},
    {SDLK_NUMLOCKCLEAR, 144}, {SDLK_SCROLLLOCK, 145},
    {SDLK_SEMICOLON, 186},    {SDLK_EQUALS, 187},
    {SDLK_COMMA, 188},        {SDLK_MINUS, 189},
    {SDLK_PERIOD, 190},       {SDLK_SLASH, 191},
    {SDLK_BACKQUOTE, 192},    {SDLK_LEFTBRACKET, 219},
    {SDLK_BACKSLASH, 220},    {SDLK_RIGHTBRACKET, 221},
    {SDLK_QUOTE, 222},
};

// Keys that type a character which SDL does not send as text.
uint32_t ControlCharacterOf(SDL_Keycode key) {
    switch (key) {
    case SDLK_BACKSPACE:
        return 8;
    case SDLK_TAB:
        return 9;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return 13;
    case SDLK_ESCAPE:
        return 27;
    default:
        return 0;
    }
}

void Post(MessageType type, uint32_t code, uint32_t data, int32_t x = 0, int32_t y = 0,
          int32_t wheel = 0) {
    PostWindowMessage({type, code, data, x, y, wheel});
}

uint32_t MouseFlags() {
    uint32_t flags = g_pump.buttons;
    if (g_pump.modifiers & KMOD_SHIFT)
        flags |= kMouseFlagShift;
    if (g_pump.modifiers & KMOD_CTRL)
        flags |= kMouseFlagControl;
    return flags;
}

int32_t ClampX(int32_t x) {
    return std::clamp(x, 0, std::max(g_pump.areaWidth - 1, 0));
}
int32_t ClampY(int32_t y) {
    return std::clamp(y, 0, std::max(g_pump.areaHeight - 1, 0));
}

// The characters of UTF-8 text that fit one byte (Latin-1); others are
// dropped, as are broken sequences.
void PostText(const char* text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p) {
        uint32_t point = *p;
        int length = point < 0x80             ? 1
                     : (point & 0xE0) == 0xC0 ? 2
                     : (point & 0xF0) == 0xE0 ? 3
                     : (point & 0xF8) == 0xF0 ? 4
                                              : 0;
        if (length == 0) {
            ++p;
            continue;
        }
        point &= length == 1 ? 0x7F : 0x3F >> (length - 1);
        int i = 1;
        for (; i < length && (p[i] & 0xC0) == 0x80; ++i)
            point = point << 6 | (p[i] & 0x3F);
        if (i == length && point < 256)
            Post(MessageType::Char, point, 1);
        p += i;
    }
}

void Translate(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:
        Post(MessageType::Quit, 0, 0);
        break;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED)
            Post(MessageType::ActivateApp, 1, 0);
        else if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST)
            Post(MessageType::ActivateApp, 0, 0);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const bool down = event.type == SDL_KEYDOWN;
        g_pump.modifiers = event.key.keysym.mod;
        const uint32_t key = VirtualKeyOfSdlKey(event.key.keysym.sym);
        if (key == 0)
            break;
        uint32_t data = 1;
        if (!down)
            data |= kKeyDataRepeat | kKeyDataRelease;
        else if (event.key.repeat)
            data |= kKeyDataRepeat;
        Post(down ? MessageType::KeyDown : MessageType::KeyUp, key, data);
        if (down)
            if (uint32_t character = ControlCharacterOf(event.key.keysym.sym))
                Post(MessageType::Char, character, data);
        break;
    }
    case SDL_TEXTINPUT:
        PostText(event.text.text);
        break;
    case SDL_MOUSEMOTION:
        g_pump.cursorX = event.motion.x;
        g_pump.cursorY = event.motion.y;
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        const bool down = event.type == SDL_MOUSEBUTTONDOWN;
        const uint8_t button = event.button.button;
        if (button != SDL_BUTTON_LEFT && button != SDL_BUTTON_RIGHT)
            break;
        const uint32_t flag = button == SDL_BUTTON_LEFT ? kMouseFlagLeft : kMouseFlagRight;
        g_pump.buttons = down ? g_pump.buttons | flag : g_pump.buttons & ~flag;
        g_pump.cursorX = event.button.x;
        g_pump.cursorY = event.button.y;
        MessageType type;
        if (button == SDL_BUTTON_LEFT)
            type = !down ? MessageType::LeftButtonUp
                   : event.button.clicks >= 2 && event.button.clicks % 2 == 0
                       ? MessageType::LeftButtonDoubleClick
                       : MessageType::LeftButtonDown;
        else
            type = down ? MessageType::RightButtonDown : MessageType::RightButtonUp;
        Post(type, 0, MouseFlags(), ClampX(event.button.x), ClampY(event.button.y));
        break;
    }
    case SDL_MOUSEWHEEL: {
        int32_t notches = event.wheel.y;
        if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            notches = -notches;
        if (notches != 0)
            Post(MessageType::MouseWheel, 0, MouseFlags(), ClampX(g_pump.cursorX),
                 ClampY(g_pump.cursorY), notches * kWheelDelta);
        break;
    }
    default:
        break;
    }
}

} // namespace

uint32_t VirtualKeyOfSdlKey(int32_t sdlKey) {
    if (sdlKey >= SDLK_a && sdlKey <= SDLK_z)
        return static_cast<uint32_t>(sdlKey - SDLK_a + 'A');
    if (sdlKey >= SDLK_0 && sdlKey <= SDLK_9)
        return static_cast<uint32_t>(sdlKey);
    for (const KeyEntry& entry : kKeys)
        if (entry.sdl == sdlKey)
            return entry.virtualKey;
    return 0;
}

bool PollWindowMessage(WindowMessage& message) {
    if (SDL_WasInit(SDL_INIT_EVENTS)) {
        SDL_Event event;
        while (SDL_PollEvent(&event))
            Translate(event);
    }
    std::lock_guard lock(g_pump.waitingMutex);
    if (g_pump.waiting.empty())
        return false;
    message = g_pump.waiting.front();
    g_pump.waiting.pop_front();
    return true;
}

void PostWindowMessage(const WindowMessage& message) {
    std::lock_guard lock(g_pump.waitingMutex);
    g_pump.waiting.push_back(message);
}

void ClearWindowMessages() {
    std::lock_guard lock(g_pump.waitingMutex);
    g_pump.waiting.clear();
}

void DropWindowMessages(MessageType type, uint32_t data) {
    std::lock_guard lock(g_pump.waitingMutex);
    std::erase_if(g_pump.waiting,
                  [&](const WindowMessage& m) { return m.type == type && m.data == data; });
}

void GetCursorPosition(int32_t& x, int32_t& y) {
    x = g_pump.cursorX;
    y = g_pump.cursorY;
}

void SetCursorPosition(int32_t x, int32_t y) {
    g_pump.cursorX = x;
    g_pump.cursorY = y;
    WarpSdlPointer(x, y);
}

void SetPointerArea(int32_t width, int32_t height) {
    g_pump.areaWidth = width;
    g_pump.areaHeight = height;
}

} // namespace platform

#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <vector>

#include "platform/Display.h"
#include "platform/EventPump.h"

namespace {

using platform::MessageType;
using platform::WindowMessage;

// An SDL display on the dummy driver, so that SDL's event queue exists;
// events are pushed into it as the window system would send them.
class EventPumpTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::DisplayConfig config;
        config.videoDriver = "dummy";
        display = platform::CreateDisplay(config);
        ASSERT_TRUE(display);
        ASSERT_TRUE(display->SetMode(800, 600, 16, false));
        Drain();
        platform::SetCursorPosition(0, 0);
        // Modifiers and buttons left over from an earlier test.
        Key(SDL_KEYUP, SDLK_LSHIFT, KMOD_NONE);
        Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, 0, 0);
        Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 1, 0, 0);
        Drain();
    }
    void TearDown() override {
        display.reset();
        platform::ClearWindowMessages();
    }

    static std::vector<WindowMessage> Drain() {
        std::vector<WindowMessage> out;
        WindowMessage message;
        while (platform::PollWindowMessage(message))
            out.push_back(message);
        return out;
    }

    static void Push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1); }

    static void Key(uint32_t type, SDL_Keycode key, uint16_t mod = KMOD_NONE, uint8_t repeat = 0) {
        SDL_Event event{};
        event.type = type;
        event.key.keysym.sym = key;
        event.key.keysym.mod = mod;
        event.key.repeat = repeat;
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        Push(event);
    }

    static void Button(uint32_t type, uint8_t button, uint8_t clicks, int32_t x, int32_t y) {
        SDL_Event event{};
        event.type = type;
        event.button.button = button;
        event.button.clicks = clicks;
        event.button.x = x;
        event.button.y = y;
        Push(event);
    }

    std::unique_ptr<platform::Display> display;
};

TEST_F(EventPumpTest, KeysCarryTheirVirtualKeyCodes) {
    const struct {
        SDL_Keycode sdl;
        uint32_t virtualKey;
    } keys[] = {
        {SDLK_F1, 112},      {SDLK_F12, 123},      {SDLK_a, 'A'},     {SDLK_z, 'Z'},
        {SDLK_7, '7'},       {SDLK_LEFT, 37},      {SDLK_DOWN, 40},   {SDLK_PAGEUP, 33},
        {SDLK_DELETE, 46},   {SDLK_PAUSE, 19},     {SDLK_LSHIFT, 16}, {SDLK_RCTRL, 17},
        {SDLK_KP_PLUS, 107}, {SDLK_KP_MINUS, 109}, {SDLK_SPACE, 32},
    };
    for (const auto& key : keys) {
        EXPECT_EQ(platform::VirtualKeyOfSdlKey(key.sdl), key.virtualKey) << key.sdl;
        Key(SDL_KEYDOWN, key.sdl);
        Key(SDL_KEYUP, key.sdl);
        auto messages = Drain();
        ASSERT_EQ(messages.size(), 2u) << key.sdl;
        EXPECT_EQ(messages[0].type, MessageType::KeyDown);
        EXPECT_EQ(messages[0].code, key.virtualKey);
        EXPECT_EQ(messages[0].data, 1u);
        EXPECT_EQ(messages[1].type, MessageType::KeyUp);
        EXPECT_EQ(messages[1].code, key.virtualKey);
        EXPECT_EQ(messages[1].data, 1u | platform::kKeyDataRepeat | platform::kKeyDataRelease);
    }
    Key(SDL_KEYDOWN, SDLK_APPLICATION); // unknown to the game
    EXPECT_TRUE(Drain().empty());
}

TEST_F(EventPumpTest, KeysThatTypeWithoutTextAlsoMakeCharacters) {
    const struct {
        SDL_Keycode sdl;
        uint32_t character;
    } keys[] = {{SDLK_BACKSPACE, 8},
                {SDLK_TAB, 9},
                {SDLK_RETURN, 13},
                {SDLK_KP_ENTER, 13},
                {SDLK_ESCAPE, 27}};
    for (const auto& key : keys) {
        Key(SDL_KEYDOWN, key.sdl, KMOD_NONE, 1);
        auto messages = Drain();
        ASSERT_EQ(messages.size(), 2u) << key.sdl;
        EXPECT_EQ(messages[0].type,
                  MessageType::KeyDown); // the key first, as the window system sends it
        EXPECT_EQ(messages[1].type, MessageType::Char);
        EXPECT_EQ(messages[1].code, key.character);
        EXPECT_EQ(messages[1].data, 1u | platform::kKeyDataRepeat); // an auto-repeat
    }
}

TEST_F(EventPumpTest, TextBecomesLatin1Characters) {
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    SDL_strlcpy(event.text.text, "a\xC3\xA9\xE2\x82\xAC!\xC3",
                sizeof event.text.text); // a, e-acute, euro, !, cut
    Push(event);
    auto messages = Drain();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].code, uint32_t{'a'});
    EXPECT_EQ(messages[1].code, 0xE9u);
    EXPECT_EQ(messages[2].code, uint32_t{'!'});
    for (const auto& message : messages)
        EXPECT_EQ(message.type, MessageType::Char);
}

TEST_F(EventPumpTest, MouseButtonsWithFlagsAndDoubleClicks) {
    Key(SDL_KEYDOWN, SDLK_LSHIFT, KMOD_LSHIFT);
    Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 100, 200);
    Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, 100, 200);
    Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 2, 101, 201);
    Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 1, 900,
           -20); // beyond the picture: held to its edge
    Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 1, 5, 6);
    Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 1, 5, 6); // not used by the game
    auto messages = Drain();
    ASSERT_EQ(messages.size(), 6u);
    const uint32_t shift = platform::kMouseFlagShift;
    const uint32_t left = platform::kMouseFlagLeft;
    const uint32_t right = platform::kMouseFlagRight;
    EXPECT_EQ(messages[0].type, MessageType::KeyDown);
    EXPECT_EQ(messages[1].type, MessageType::LeftButtonDown);
    EXPECT_EQ(messages[1].data, left | shift);
    EXPECT_EQ(messages[1].x, 100);
    EXPECT_EQ(messages[1].y, 200);
    EXPECT_EQ(messages[2].type, MessageType::LeftButtonUp);
    EXPECT_EQ(messages[2].data, shift);
    EXPECT_EQ(messages[3].type, MessageType::LeftButtonDoubleClick);
    EXPECT_EQ(messages[3].x, 101);
    EXPECT_EQ(messages[4].type, MessageType::RightButtonDown);
    EXPECT_EQ(messages[4].data, left | right | shift);
    EXPECT_EQ(messages[4].x, 799);
    EXPECT_EQ(messages[4].y, 0);
    EXPECT_EQ(messages[5].type, MessageType::RightButtonUp);
    EXPECT_EQ(messages[5].data, left | shift);
}

TEST_F(EventPumpTest, WheelAtThePointer) {
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 321;
    motion.motion.y = 123;
    Push(motion);
    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.y = 2;
    Push(wheel);
    wheel.wheel.y = 1;
    wheel.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
    Push(wheel);
    wheel.wheel.y = 0; // sideways only
    wheel.wheel.x = 1;
    Push(wheel);
    auto messages = Drain();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].type, MessageType::MouseWheel);
    EXPECT_EQ(messages[0].wheel, 240);
    EXPECT_EQ(messages[0].x, 321);
    EXPECT_EQ(messages[0].y, 123);
    EXPECT_EQ(messages[1].wheel, -120);
    int32_t x = 0;
    int32_t y = 0;
    platform::GetCursorPosition(x, y);
    EXPECT_EQ(x, 321);
    EXPECT_EQ(y, 123);
}

TEST_F(EventPumpTest, ActivationAndQuit) {
    SDL_Event window{};
    window.type = SDL_WINDOWEVENT;
    window.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    Push(window);
    window.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
    Push(window);
    window.window.event = SDL_WINDOWEVENT_MOVED;
    Push(window);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    Push(quit);
    // A posted message waits before the window system's events, which are
    // only read by the next poll.
    platform::PostWindowMessage({MessageType::Char, 'x', 1, 0, 0, 0});
    auto messages = Drain();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0].type, MessageType::Char);
    EXPECT_EQ(messages[1].type, MessageType::ActivateApp);
    EXPECT_EQ(messages[1].code, 0u);
    EXPECT_EQ(messages[2].type, MessageType::ActivateApp);
    EXPECT_EQ(messages[2].code, 1u);
    EXPECT_EQ(messages[3].type, MessageType::Quit);
}

TEST(EventPumpWithoutDisplay, OnlyPostedMessagesArrive) {
    platform::ClearWindowMessages();
    WindowMessage message;
    EXPECT_FALSE(platform::PollWindowMessage(message));
    platform::PostWindowMessage({MessageType::Quit, 0, 0, 0, 0, 0});
    ASSERT_TRUE(platform::PollWindowMessage(message));
    EXPECT_EQ(message.type, MessageType::Quit);
    EXPECT_FALSE(platform::PollWindowMessage(message));
    platform::SetCursorPosition(-4, 9000); // no window to move the pointer in
    int32_t x = 0;
    int32_t y = 0;
    platform::GetCursorPosition(x, y);
    EXPECT_EQ(x, -4);
    EXPECT_EQ(y, 9000);
}

} // namespace

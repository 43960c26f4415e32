#pragma once
// CButton: the clickable picture of every screen. A sprite whose image is a
// strip of four frames (plain, pointer over, down, disabled) and a small
// state machine driven by the events its owner hands it: up or down,
// hovered, disabled, an optional hotkey, a click sound and an accelerating
// auto-repeat while it is held. A button never acts by itself: its owner
// calls HandleEvent and reads clicked or pulse afterwards, or a subclass
// overrides OnReleased or OnClicked.
#include <cstdint>
#include <string>

#include "engine/Sprite.h"
#include "ui/widgets/InputReceiver.h"

class CButton : public CSprite, public CInputReceiver {
public:
    // Frames of the strip.
    static constexpr int32_t kFramePlain = 0;
    static constexpr int32_t kFrameOver = 1;
    static constexpr int32_t kFrameDown = 2;
    static constexpr int32_t kFrameDisabled = 3;
    // Interrupt counts (15 ms) from a press to the first repeat, the
    // interval after it, and the shortest interval.
    static constexpr int32_t kFirstRepeat = 8;
    static constexpr int32_t kPressInterval = 4;
    static constexpr int32_t kShortestInterval = 2;

    // The picture of the file (shared); hotkey: the char sign-extended, -1
    // for none.
    CButton(const std::string& imagePath, int32_t commandId, char hotkey);
    // A private picture of the size, for widgets that paint their own
    // frames; hotkey and command id 0.
    CButton(int32_t width, int32_t height, int32_t depth);
    // The placeholder picture; hotkey and command id 0.
    CButton();

    // Hover 0, four frames, up, enabled, plain frame, clicked 0, silent,
    // latch 0, pulse 0, next repeat time 0, interval 16, release when let
    // go.
    void ResetState();

    bool IsPressed() const { return state == 1; }
    bool IsReleased() const { return state == 0; }
    // Down with the down frame / up with the plain frame and the latch
    // cleared (for owners that keep one button of a group down).
    void Press();
    void Release();
    // Disabled with the disabled frame / enabled with the plain frame.
    void Disable();
    void Enable();

    // The state machine; DRAWABLE_NOT_TAKEN or DRAWABLE_TAKEN.
    int HandleEvent(COVEvent& event) override;
    void SetPosition(int32_t newX, int32_t newY) override;

    // Hooks for subclasses; nothing here.
    virtual void OnReleased() {}
    virtual void OnClicked() {}
    virtual void ShowPlain() { SetFrame(kFramePlain); }
    virtual void ShowDown() { SetFrame(kFrameDown); }
    virtual void ShowOver() { SetFrame(kFrameOver); }
    virtual void ShowDisabled() { SetFrame(kFrameDisabled); }

    int32_t state = 0; // 0 up, 1 down
    uint8_t disabled = 0;
    int32_t hotkey = -1;
    int32_t commandId = 0; // the owner's; never read here
    uint8_t clicked = 0;   // a click or hotkey press completed in this event
    int32_t clickSound = -1;
    uint8_t soundLatch = 0; // the sound of the current press was played
    uint8_t pulse = 0;      // pressed, or an auto-repeat step, in this event
    int32_t nextRepeatTime = 0;
    uint8_t releaseWhenLetGo = 1; // 0: the button latches
    int32_t repeatInterval = 16;
    uint8_t hover = 0;

private:
    // True for a button that answers as disabled: disabled, or parked at
    // negative coordinates.
    bool IsInert() const;
    int OnFrameTick();
};

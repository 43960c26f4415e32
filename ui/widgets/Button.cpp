#include "ui/widgets/Button.h"

#include "engine/Drawable.h"
#include "net/InputEvent.h"
#include "ui/widgets/WidgetEvents.h"

CButton::CButton(const std::string& imagePath, int32_t commandIdValue, char hotkeyChar)
    : CSprite(imagePath) {
    hotkey = static_cast<int32_t>(static_cast<signed char>(hotkeyChar));
    commandId = commandIdValue;
    ResetState();
}

CButton::CButton(int32_t width, int32_t height, int32_t depth) : CSprite(width, height, depth) {
    hotkey = 0;
    commandId = 0;
    ResetState();
}

CButton::CButton() : CSprite() {
    hotkey = 0;
    commandId = 0;
    ResetState();
}

void CButton::ResetState() {
    hover = 0;
    SetFrameCount(4);
    state = 0;
    disabled = 0;
    ShowPlain();
    clicked = 0;
    clickSound = -1;
    soundLatch = 0;
    pulse = 0;
    nextRepeatTime = 0;
    repeatInterval = 16;
    releaseWhenLetGo = 1;
}

void CButton::Press() {
    state = 1;
    ShowDown();
}

void CButton::Release() {
    state = 0;
    ShowPlain();
    soundLatch = 0;
}

void CButton::Disable() {
    ShowDisabled();
    disabled = 1;
}

void CButton::Enable() {
    if (disabled)
        ShowPlain();
    disabled = 0;
}

void CButton::SetPosition(int32_t newX, int32_t newY) {
    CSprite::SetPosition(newX, newY);
}

bool CButton::IsInert() const {
    const SpritePoint at = GetPosition();
    return disabled || at.x < 0 || at.y < 0;
}

int CButton::HandleEvent(COVEvent& event) {
    clicked = 0;
    pulse = 0;
    const uint32_t kind = widget::Kind(event);
    const int32_t px = widget::PointerX(event);
    const int32_t py = widget::PointerY(event);

    if (IsInert()) {
        if (kind == widget::kLeftUp || kind == widget::kLeftDown || kind == widget::kDoubleClick)
            return HitTest(px, py) ? DRAWABLE_TAKEN : DRAWABLE_NOT_TAKEN;
        return DRAWABLE_NOT_TAKEN;
    }

    switch (kind) {
    case widget::kMouseMove:
        if (HitTest(px, py)) {
            if (IsReleased())
                ShowOver();
            hover = 1;
        } else {
            hover = 0;
        }
        return DRAWABLE_NOT_TAKEN;
    case widget::kLeftUp:
        if (!HitTest(px, py))
            return DRAWABLE_NOT_TAKEN;
        if (IsReleased())
            OnReleased();
        else
            OnClicked();
        pulse = 0;
        clicked = 1;
        return DRAWABLE_TAKEN;
    case widget::kLeftDown:
        if (!HitTest(px, py))
            return DRAWABLE_NOT_TAKEN;
        if (IsReleased()) {
            if (clickSound != -1 && soundLatch == 0)
                widget::PlaySound(clickSound);
            soundLatch = 1;
            state = 1;
            ShowDown();
            pulse = 1;
            repeatInterval = kPressInterval;
            nextRepeatTime = static_cast<int32_t>(widget::Now()) + kFirstRepeat;
        } else {
            if (clickSound != -1 && soundLatch == 1)
                widget::PlaySound(clickSound);
            soundLatch = 0;
            state = 0;
            ShowPlain();
        }
        return DRAWABLE_TAKEN;
    case widget::kDoubleClick:
        return HitTest(px, py) ? DRAWABLE_TAKEN : DRAWABLE_NOT_TAKEN;
    case widget::kKey:
        if (static_cast<int32_t>(widget::KeyCode(event)) != hotkey)
            return DRAWABLE_NOT_TAKEN;
        if (IsReleased()) {
            state = 1;
            ShowDown();
            OnClicked();
            clicked = 1;
            pulse = 1;
        } else {
            state = 0;
            ShowPlain();
            soundLatch = 0;
            OnReleased();
            clicked = 1;
        }
        return DRAWABLE_TAKEN;
    case widget::kFrameTick:
        return OnFrameTick();
    default:
        return DRAWABLE_NOT_TAKEN;
    }
}

int CButton::OnFrameTick() {
    if (IsPressed()) {
        if (releaseWhenLetGo && !IsMouseButtonHeld()) {
            state = 0;
            ShowPlain();
            soundLatch = 0;
            OnReleased();
        } else {
            // At or past the repeat time, so that the repeats come 8, 12, 14,
            // 16 ... counts after the press.
            const int32_t now = static_cast<int32_t>(widget::Now());
            if (now - nextRepeatTime >= 0) {
                pulse = 1;
                nextRepeatTime = now + repeatInterval;
                repeatInterval =
                    repeatInterval - 2 < kShortestInterval ? kShortestInterval : repeatInterval - 2;
            }
        }
    }
    if (HitTest(widget::MouseX(), widget::MouseY())) {
        if (IsReleased())
            ShowOver();
    } else if (IsReleased()) {
        ShowPlain();
        soundLatch = 0;
    } else {
        ShowDown();
    }
    return DRAWABLE_NOT_TAKEN;
}

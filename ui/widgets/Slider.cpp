#include "ui/widgets/Slider.h"

#include <algorithm>

#include "ui/widgets/WidgetEvents.h"

CSliderArrow::CSliderArrow(const std::string& imagePath, CSlider& slider, int32_t direction)
    : CButton(imagePath, 0, static_cast<char>(-1)), m_slider(slider), m_direction(direction) {}

void CSliderArrow::OnClicked() {
    m_slider.SetValue(m_slider.value + static_cast<float>(m_direction) * m_slider.step);
    Release();
}

CSliderKnob::CSliderKnob(const std::string& imagePath)
    : CButton(imagePath, 0, static_cast<char>(-1)) {}

int CSliderKnob::HandleEvent(COVEvent& event) {
    const uint32_t kind = widget::Kind(event);
    if (kind == widget::kLeftDown) {
        rememberedX = x;
        rememberedY = y;
    } else if (kind == widget::kDoubleClick &&
               HitTest(widget::PointerX(event), widget::PointerY(event))) {
        if (IsLocked()) {
            ShowPlain();
            disabled = 0;
        } else {
            if (releaseWhenLetGo)
                Release();
            ShowDisabled();
            disabled = 1;
        }
        SetPosition(rememberedX, rememberedY);
        return DRAWABLE_TAKEN;
    }
    return CButton::HandleEvent(event);
}

CSlider::CSlider(float minimumValue, float maximumValue, float initial, float stepValue,
                 const std::string& leftImage, const std::string& rightImage,
                 const std::string& knobImage, const std::string& trackImage)
    : CSprite(trackImage), value(initial), step(stepValue), minimum(minimumValue),
      maximum(maximumValue) {
    m_left = std::make_unique<CSliderArrow>(leftImage, *this, -1);
    m_right = std::make_unique<CSliderArrow>(rightImage, *this, 1);
    m_knob = std::make_unique<CSliderKnob>(knobImage);
}

CSlider::~CSlider() = default;

void CSlider::SetValue(float newValue) {
    value = std::max(std::min(newValue, maximum), minimum);
    changed = 1;
}

void CSlider::PlaceKnob() {
    if (m_knob->IsLocked()) {
        m_knob->SetPosition(m_knob->rememberedX, m_knob->rememberedY);
        return;
    }
    const int32_t w = GetWidth();
    const int32_t h = GetHeight();
    const float span = maximum - minimum;
    const int32_t t =
        span != 0.0f ? static_cast<int32_t>(static_cast<float>(w) * (value - minimum) / span) : 0;
    m_knob->SetPosition(x - m_knob->GetWidth() / 2 + t, y + h / 2 - m_knob->GetHeight() / 2);
}

void CSlider::SetPosition(int32_t newX, int32_t newY) {
    CSprite::SetPosition(newX, newY);
    const int32_t w = GetWidth();
    const int32_t h = GetHeight();
    m_left->SetPosition(x - m_left->GetWidth(), y + h / 2 - m_left->GetHeight() / 2);
    m_right->SetPosition(x + w, y + h / 2 - m_right->GetHeight() / 2);
    PlaceKnob();
}

int CSlider::HandleEvent(COVEvent& event) {
    const uint32_t kind = widget::Kind(event);
    int result = DRAWABLE_NOT_TAKEN;
    if (kind == widget::kLeftUp && !m_knob->IsLocked() && m_knob->IsPressed()) {
        m_knob->Release();
        result = DRAWABLE_TAKEN;
    }
    const int released = result;
    PlaceKnob();
    result = DRAWABLE_NOT_TAKEN;
    if (arrowsShown) {
        result = m_left->HandleEvent(event);
        if (result == DRAWABLE_NOT_TAKEN)
            result = m_right->HandleEvent(event);
    }
    if (result == DRAWABLE_NOT_TAKEN)
        result = m_knob->HandleEvent(event);
    if (result == DRAWABLE_NOT_TAKEN)
        result = released;
    if (result == DRAWABLE_NOT_TAKEN && m_knob->IsPressed() &&
        (kind == widget::kFrameTick || kind == widget::kLeftHeld)) {
        const int32_t w = GetWidth();
        float f = w > 0 ? static_cast<float>(widget::MouseX() - x) / static_cast<float>(w) : 0.0f;
        f = std::clamp(f, 0.0f, 1.0f);
        SetValue((maximum - minimum) * f + minimum);
        result = DRAWABLE_TAKEN;
    }
    if (!m_knob->IsPressed())
        changed = 0;
    return result;
}

void CSlider::Draw(int32_t param) {
    CSprite::Draw(param);
    if (arrowsShown) {
        m_left->Draw(param);
        m_right->Draw(param);
    }
    m_knob->Draw(param);
}

float CSlider::MoveBy(float amount) {
    if (IsLocked() || amount == 0.0f)
        return 0.0f;
    if (amount < 0.0f) {
        const float room = value - minimum;
        if (room + amount <= 0.0f) {
            SetValue(minimum);
            return -room;
        }
    } else {
        const float room = maximum - value;
        if (room - amount <= 0.0f) {
            SetValue(maximum);
            return room;
        }
    }
    SetValue(value + amount);
    return amount;
}

void CSliderGroup::Balance() {
    float sum = 0.0f;
    int32_t locked = 0;
    for (CSlider* slider : sliders) {
        sum += slider->value;
        locked += slider->IsLocked() ? 1 : 0;
    }
    float remaining = total - sum;
    const int32_t shares = static_cast<int32_t>(sliders.size()) - 1 - locked;
    if (shares < 1) {
        for (CSlider* slider : sliders) {
            if (remaining == 0.0f)
                break;
            remaining -= slider->MoveBy(remaining);
        }
        return;
    }
    const float share = remaining / static_cast<float>(shares);
    for (CSlider* slider : sliders) {
        if (remaining == 0.0f)
            break;
        if (!slider->changed)
            remaining -= slider->MoveBy(share);
    }
}

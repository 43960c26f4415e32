#pragma once
// CSlider: a float between a minimum and a maximum, set with a knob on a
// track picture and two arrow buttons; a double click on the knob locks the
// slider. CSliderGroup keeps several sliders at a fixed total by spreading
// every change over the other, unlocked sliders.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/Sprite.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/InputReceiver.h"

class CSlider;

// An arrow of a slider: each click steps the value down (left) or up
// (right) by the slider's step and pops the arrow up.
class CSliderArrow : public CButton {
public:
    CSliderArrow(const std::string& imagePath, CSlider& slider, int32_t direction);
    void OnClicked() override;

private:
    CSlider& m_slider;
    int32_t m_direction;
};

// The knob: its locked state is the button's disabled flag.
class CSliderKnob : public CButton {
public:
    explicit CSliderKnob(const std::string& imagePath);
    // Remembers its place on a press; a double click on it locks or unlocks
    // it and puts it back where it was.
    int HandleEvent(COVEvent& event) override;
    bool IsLocked() const { return disabled != 0; }
    int32_t rememberedX = 0;
    int32_t rememberedY = 0;
};

class CSlider : public CSprite, public CInputReceiver {
public:
    CSlider(float minimum, float maximum, float value, float step, const std::string& leftImage,
            const std::string& rightImage, const std::string& knobImage,
            const std::string& trackImage);
    ~CSlider() override;

    int HandleEvent(COVEvent& event) override;
    void Draw(int32_t param) override;
    // Places the track, the arrows beside it and the knob by the value.
    void SetPosition(int32_t newX, int32_t newY) override;
    using CSprite::MoveBy;
    // Moves the value by the amount within the bounds; answers the part
    // applied (0 for a locked slider).
    float MoveBy(float amount);
    // Sets the value within the bounds and marks it changed.
    void SetValue(float newValue);
    bool IsLocked() const { return m_knob->IsLocked(); }

    CSliderArrow& LeftArrow() const { return *m_left; }
    CSliderArrow& RightArrow() const { return *m_right; }
    CSliderKnob& Knob() const { return *m_knob; }

    float value = 0.0f;
    float step = 0.0f;
    float minimum = 0.0f;
    float maximum = 0.0f;
    uint8_t changed = 0;
    uint8_t arrowsShown = 1;

private:
    void PlaceKnob();

    std::unique_ptr<CSliderArrow> m_left;
    std::unique_ptr<CSliderArrow> m_right;
    std::unique_ptr<CSliderKnob> m_knob;
};

class CSliderGroup {
public:
    // The sliders are the owner's; the group keeps them in order.
    void Add(CSlider* slider) { sliders.push_back(slider); }
    // Spreads total - the sum of the values over the sliders: over the
    // unchanged, unlocked ones in equal shares, or, when no slider but the
    // moved one is free, over all of them (the moved one included) so that
    // the total holds.
    void Balance();

    std::vector<CSlider*> sliders;
    float total = 0.0f;
};

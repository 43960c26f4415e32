// Radio groups keep one button pressed; sliders place their knob by the
// value, follow a drag to exactly their ends, step by their arrows, lock by
// a double click; slider groups keep their total.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/Display.h"
#include "tests/ui/ScreenHarness.h"
#include "ui/widgets/RadioGroup.h"
#include "ui/widgets/Slider.h"

namespace {

constexpr const char* kRadio = "gfx\\settings\\btn_radio.bmp"; // 16 x 16 frames
constexpr const char* kKnob = "gfx\\interface\\button area\\btn_slider.bmp";
constexpr const char* kTrack = "gfx\\interface\\sprite_slider.bmp"; // 100 x 8
constexpr const char* kEmpty = "gfx\\empty.bmp";
constexpr const char* kLeft = "gfx\\interface\\menu\\scrollbar_top.bmp";
constexpr const char* kRight = "gfx\\interface\\menu\\scrollbar_bottom.bmp";

TEST(RadioGroupTest, KeepsOneButtonPressed) {
    uitest::ScreenHarness screen;
    CRadioGroup group;
    group.originX = 200;
    group.originY = 100;
    group.SetDestination(g_screen.get());
    for (int32_t id = 0; id < 3; ++id)
        group.AddButton(kRadio, id)->homeX = 20 * id;
    EXPECT_EQ(group.GetButtonCount(), 3);
    group.Select(0);
    group.Draw(0); // places the buttons on the screen
    screen.SetTarget(group);
    auto pressed = [&] {
        std::vector<int> states;
        for (CRadioButton* button : group.Buttons())
            states.push_back(button->IsPressed() ? 1 : 0);
        return states;
    };
    EXPECT_EQ(pressed(), (std::vector<int>{1, 0, 0}));

    // A click on the third: it becomes the selection, the first pops up.
    EXPECT_EQ(screen.Press(248, 108), DRAWABLE_TAKEN);
    EXPECT_EQ(group.selectedId, 2u);
    screen.Release(248, 108);
    screen.Frame();
    screen.Frame();
    EXPECT_EQ(pressed(), (std::vector<int>{0, 0, 1}));
    // A click on the selected one leaves it pressed.
    screen.Press(248, 108);
    screen.Release(248, 108);
    screen.Frame();
    EXPECT_EQ(group.selectedId, 2u);
    EXPECT_EQ(pressed(), (std::vector<int>{0, 0, 1}));

    group.DisableOthers();
    EXPECT_EQ(screen.Press(208, 108), DRAWABLE_TAKEN);
    EXPECT_EQ(group.selectedId, 2u);
    group.EnableAll();
    screen.Press(208, 108);
    EXPECT_EQ(group.selectedId, 0u);
    EXPECT_EQ(pressed(), (std::vector<int>{1, 0, 0}));
}

class SliderTest : public ::testing::Test {
protected:
    std::unique_ptr<CSlider> Make(float value, const char* left = kLeft,
                                  const char* right = kRight) {
        auto slider =
            std::make_unique<CSlider>(0.0f, 100.0f, value, 5.0f, left, right, kKnob, kTrack);
        slider->SetPosition(300, 200);
        return slider;
    }
    uitest::ScreenHarness screen;
};

TEST_F(SliderTest, KnobPlacedByTheValueAndDraggedToTheEnds) {
    auto slider = Make(50.0f);
    ASSERT_EQ(slider->GetWidth(), 100);
    CSliderKnob& knob = slider->Knob();
    EXPECT_EQ(knob.GetPosition().x + knob.GetWidth() / 2, 350);
    screen.SetTarget(*slider);

    const int32_t knobY = knob.GetPosition().y + knob.GetHeight() / 2;
    EXPECT_EQ(screen.Press(350, knobY), DRAWABLE_TAKEN);
    EXPECT_EQ(screen.Held(900, knobY), DRAWABLE_TAKEN);
    EXPECT_EQ(slider->value, 100.0f);
    EXPECT_EQ(slider->changed, 1);
    EXPECT_EQ(screen.Held(-50, knobY), DRAWABLE_TAKEN);
    EXPECT_EQ(slider->value, 0.0f);
    screen.PointAt(325, knobY);
    EXPECT_EQ(screen.Frame(), DRAWABLE_TAKEN);
    EXPECT_EQ(slider->value, 25.0f);
    EXPECT_EQ(screen.Release(325, knobY), DRAWABLE_TAKEN);
    EXPECT_EQ(slider->changed, 0);
    screen.Move(325, knobY);
    EXPECT_EQ(knob.GetPosition().x + knob.GetWidth() / 2, 325);
}

TEST_F(SliderTest, ArrowsStepAndDoubleClickLocks) {
    auto slider = Make(50.0f);
    screen.SetTarget(*slider);
    const SpritePoint right = slider->RightArrow().GetPosition();
    screen.Click(right.x + 5, right.y + 5);
    EXPECT_EQ(slider->value, 55.0f);
    const SpritePoint left = slider->LeftArrow().GetPosition();
    for (int i = 0; i < 30; ++i)
        screen.Click(left.x + 5, left.y + 5);
    EXPECT_EQ(slider->value, 0.0f);

    // A double click on the knob locks it: MoveBy is refused, the arrows
    // still step it; a second double click unlocks.
    CSliderKnob& knob = slider->Knob();
    const SpritePoint at = knob.GetPosition();
    screen.Press(at.x + 8, at.y + 8);
    screen.Release(at.x + 8, at.y + 8);
    EXPECT_EQ(screen.DoubleClick(at.x + 8, at.y + 8), DRAWABLE_TAKEN);
    EXPECT_TRUE(slider->IsLocked());
    EXPECT_EQ(slider->MoveBy(10.0f), 0.0f);
    EXPECT_EQ(slider->value, 0.0f);
    screen.Click(right.x + 5, right.y + 5);
    EXPECT_EQ(slider->value, 5.0f);
    EXPECT_EQ(knob.GetPosition().x, at.x); // a locked knob stays where it was
    screen.DoubleClick(at.x + 8, at.y + 8);
    EXPECT_FALSE(slider->IsLocked());
}

TEST_F(SliderTest, MoveByKeepsTheBounds) {
    auto slider = Make(50.0f);
    EXPECT_EQ(slider->MoveBy(0.0f), 0.0f);
    EXPECT_EQ(slider->MoveBy(30.0f), 30.0f);
    EXPECT_EQ(slider->MoveBy(30.0f), 20.0f);
    EXPECT_EQ(slider->value, 100.0f);
    EXPECT_EQ(slider->MoveBy(-150.0f), -100.0f);
    EXPECT_EQ(slider->value, 0.0f);
}

TEST_F(SliderTest, GroupsKeepTheirTotal) {
    struct Case {
        const char* name;
        bool lockThird;
        bool lockSecond;
        std::vector<float> after;
    };
    for (const Case& c : {Case{"spread over the others", false, false, {60, 20, 20}},
                          Case{"the third locked", true, false, {60, 10, 30}},
                          Case{"both others locked", true, true, {40, 30, 30}}}) {
        SCOPED_TRACE(c.name);
        std::vector<std::unique_ptr<CSlider>> sliders;
        CSliderGroup group;
        group.total = 100.0f;
        for (float value : {40.0f, 30.0f, 30.0f}) {
            sliders.push_back(Make(value, kEmpty, kEmpty));
            group.Add(sliders.back().get());
        }
        if (c.lockThird)
            sliders[2]->Knob().disabled = 1;
        if (c.lockSecond)
            sliders[1]->Knob().disabled = 1;
        sliders[0]->SetValue(60.0f); // as a drag leaves it: changed
        group.Balance();
        for (size_t i = 0; i < 3; ++i)
            EXPECT_EQ(sliders[i]->value, c.after[i]) << i;
    }
}

TEST_F(SliderTest, SliderGroupDrawn) {
    std::vector<std::unique_ptr<CSlider>> sliders;
    screen.Fill(CGraphicsBase::RgbToPixel(30, 24, 16));
    int32_t y = 100;
    for (float value : {20.0f, 50.0f, 90.0f}) {
        sliders.push_back(Make(value));
        sliders.back()->SetPosition(330, y);
        sliders.back()->Draw(0);
        y += 24;
    }
    screen.CheckGolden("slider_group", 310, 92, 454, 170);
}

} // namespace

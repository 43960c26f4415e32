#pragma once
// CRadioGroup: image buttons of which exactly one, the one with the
// selected id, stays pressed (tabs and choices of windows and screens).
#include <cstdint>
#include <string>
#include <vector>

#include "engine/Drawable.h"
#include "ui/widgets/Button.h"

class CImageBase;

// A button of a radio group: its id is its command id; home is its place
// inside the group's image.
class CRadioButton : public CButton {
public:
    CRadioButton(const std::string& imagePath, int32_t id);
    int32_t homeX = 0;
    int32_t homeY = 0;
    uint32_t reserved = 0;
};

class CRadioGroup {
public:
    CRadioGroup() = default;
    virtual ~CRadioGroup() = default;
    CRadioGroup(const CRadioGroup&) = delete;
    CRadioGroup& operator=(const CRadioGroup&) = delete;

    // A radio button drawing into the group's image, appended; the group
    // owns it.
    CRadioButton* AddButton(const std::string& imagePath, int32_t id);
    int32_t GetButtonCount() const { return static_cast<int32_t>(m_list.GetCount()); }
    void SetDestination(CImageBase* image);
    // The id becomes the selected one: its buttons pressed, the others
    // released.
    void Select(uint32_t id);
    // Releases every button of another id.
    void ReleaseAll();
    // Every button of another id released (when it pops up by itself),
    // shown disabled and disabled.
    void DisableOthers();
    // Every disabled button enabled with its plain frame.
    void EnableAll();

    // The buttons take the event first; then a pressed button of another id
    // becomes the selection and the selected button stays pressed. Answers
    // the buttons' answer.
    virtual int HandleEvent(COVEvent& event);
    // Draws the buttons at their home places into the destination, then
    // moves them to home plus origin for hit tests on the screen. 0.
    virtual int Draw(int32_t param);

    std::vector<CRadioButton*> Buttons() const;

    int32_t originX = 0;
    int32_t originY = 0;
    uint32_t selectedId = 0;
    CImageBase* destination = nullptr;

private:
    CDrawableGroup m_list;
};

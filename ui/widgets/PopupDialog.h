#pragma once
// CPopupDialog: the framed dialog 320 pixels wide with a country's shield
// near both top corners and up to eight stacked, centred text blocks; the
// diplomatic popups and CEventPopup derive from it. CEventPopup pauses a
// single-player game while it is open when the player's setting for its
// message type asks for it.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "ui/widgets/DialogText.h"
#include "ui/widgets/PopupWindow.h"

class CFont;
class CSprite;
class CTextArea;

// What the event popups ask of the pause control and the message-type
// table, which lie above the widgets (dialogs/): the game frame's layer
// fills them at start-up. Null entries answer as a game without them:
// no type pauses, and pausing does nothing.
struct EventPauseHooks {
    bool (*typePauses)(int32_t messageType) = nullptr;
    void (*pause)() = nullptr;
    void (*unpause)() = nullptr;
};
extern constinit EventPauseHooks g_eventPauseHooks;

class CPopupDialog : public CPopupWindow {
public:
    static constexpr int32_t kWidth = 320;

    // Eight blocks 160 wide, the style "dip"; enters the game frame's popup
    // list. The window is made by Layout.
    explicit CPopupDialog(int32_t countryNumber);
    // Leaves the popup list.
    ~CPopupDialog() override;

    // A new block of the width in place of the old one.
    void SetTextArea(int32_t block, CFont* font, uint16_t colour, int32_t blockWidth);
    // The font and colour of text set afterwards.
    void SetBlockFont(int32_t block, CFont* font, uint16_t colour);
    // Every line of the block in upper case.
    void UpperCaseBlock(int32_t block);
    // At most three characters are kept.
    void SetStyleName(const std::string& name);
    // The pieces of the text, separated by ';', into blocks 0 to 6 (blocks
    // 3 and 5 in upper case); each replaces what the block held.
    void SetText(const std::string& text);
    // The country's shield and the style's flap overlay, drawn near both
    // top corners of the window image.
    void SetShield(int32_t countryNumber);
    // Sizes the window to its blocks, frames it, draws the shields and the
    // blocks into it. Subclasses call it once their texts are set.
    virtual void Layout();

    CTextArea* GetBlock(int32_t block) const;

    std::unique_ptr<CSprite> smallShield;
    std::unique_ptr<CSprite> shield;
    std::unique_ptr<CSprite> overlay;
    int32_t country = 0;
    std::array<std::unique_ptr<CTextArea>, kDialogBlockCount> blocks;
    std::string styleName = "dip";

private:
    static bool IsBlock(int32_t block) {
        return block >= 0 && block < static_cast<int32_t>(kDialogBlockCount);
    }
    int32_t BlockHeight(int32_t block) const;
};

class CEventPopup : public CPopupDialog {
public:
    // In a started single-player game: remembers whether the game was
    // paused, and pauses it when the message type's setting asks and it was
    // not.
    CEventPopup(int32_t type, int32_t countryNumber);
    // Resumes only a pause this popup made.
    ~CEventPopup() override;

    int32_t messageType = 0;
    uint8_t pausedBefore = 0;

private:
    bool m_paused = false;
};

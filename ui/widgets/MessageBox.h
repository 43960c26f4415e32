#pragma once
// CMessageBox: a text, an "OK" button and a time limit in a popup window.
// While it is open the box counts itself into the popup pause
// (ui/widgets/PopupPause.h); it closes on OK, Enter, the end of its
// countdown or "_COVEVT_CLOSEALLWINDOWS_".
#include <cstdint>
#include <memory>
#include <string>

#include "ui/widgets/PopupWindow.h"

class CCountdown;
class CTextButton;

class CMessageBox : public CPopupWindow {
public:
    // The box opens at the next cascading place, enters the game frame's
    // popup list and pauses. A text wider than 300 pixels is wrapped.
    CMessageBox(const std::string& text, int32_t timeout);
    // The same with a header line above the text (always the wrapped form).
    CMessageBox(const std::string& header, const std::string& text, int32_t timeout);
    // Leaves the popup list when still listed and counts out of the pause.
    ~CMessageBox() override;

    // DRAWABLE_DELETE_ME once OK was clicked or Enter released, or the
    // countdown has run out; otherwise as a popup window.
    int HandleEvent(COVEvent& event) override;
    // The OK button centred at the bottom of the window image, then the
    // window.
    void Draw(int32_t param) override;

    CTextButton* GetOkButton() const { return m_ok.get(); }
    CCountdown* GetCountdown() const { return m_countdown.get(); }

private:
    void Build(const std::string* header, const std::string& text, int32_t timeout);

    std::unique_ptr<CTextButton> m_ok;
    std::unique_ptr<CCountdown> m_countdown;
};

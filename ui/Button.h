#pragma once
// CButton: the pressed state of a button, which the interface section of a
// saved game keeps for the buttons of two information windows.
#include <cstdint>

class CButton {
public:
    virtual ~CButton() = default;

    // Shows the pressed or the plain frame.
    virtual void ShowPressedFrame() { m_frame = 1; }
    virtual void ShowPlainFrame() { m_frame = 0; }

    // Clears the pressed state, shows the plain frame and clears the held flag.
    static void Release(CButton& button) {
        button.pressed = 0;
        button.ShowPlainFrame();
        button.held = 0;
    }

    // 1 while the button is pressed (kept in a saved game).
    uint8_t pressed = 0;
    // 1 while the mouse holds the button down.
    uint8_t held = 0;

    // 1 while the pressed frame is shown.
    uint8_t GetFrame() const { return m_frame; }

private:
    uint8_t m_frame = 0;
};

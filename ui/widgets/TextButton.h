#pragma once
// CTextButton: a button whose four frames are rendered from a text and a
// font over the three-part background of the text-button pictures ("tb" for
// fonts of line height 15 and more, else "tbsmall"). The pictures must be
// loaded (LoadTextButtonImages) before a text button renders.
#include <cstdint>
#include <string>

#include "ui/widgets/Button.h"

class CFont;

class CTextButton : public CButton {
public:
    // The placeholder picture, colour-keyed; the frames come from
    // RenderFrames.
    CTextButton();
    // RenderFrames (text, font, fixed width) without a second text.
    CTextButton(const std::string& text, CFont* font, int32_t fixedWidth);

    // Renders the four frames: fixedWidth 0 sizes the button to the text
    // (and to the second text when one is given, which the down frame then
    // shows).
    void RenderFrames(const std::string& text, CFont* font, int32_t fixedWidth,
                      const char* secondText = nullptr);

    const std::string& GetLabel() const { return m_label; }

private:
    std::string m_label;
};

#include "ui/widgets/MessageBox.h"

#include <algorithm>

#include "engine/DisplayList.h"
#include "engine/Font.h"
#include "engine/TextDatabase.h"
#include "ui/widgets/ListBox.h"
#include "ui/widgets/PopupHost.h"
#include "ui/widgets/PopupPause.h"
#include "ui/widgets/TextButton.h"
#include "ui/widgets/TimedDrawable.h"

namespace {

constexpr int32_t kWrapWidth = 300;
constexpr int32_t kEnter = 13;

} // namespace

CMessageBox::CMessageBox(const std::string& text, int32_t timeout) {
    Build(nullptr, text, timeout);
}

CMessageBox::CMessageBox(const std::string& header, const std::string& text, int32_t timeout) {
    Build(&header, text, timeout);
}

void CMessageBox::Build(const std::string* header, const std::string& text, int32_t timeout) {
    CFont* font = g_fonts.Get("gfx\\fonts\\garamond14.bmp");
    const int32_t lines = font ? font->CountWrappedLines(text, kWrapWidth) : 0;
    const int32_t breaks = std::max(lines - 1, 0);
    if (!header && breaks == 0) {
        Create(nullptr, (font ? font->GetTextWidth(text) : 0) + 64, 64, 16);
        if (font)
            font->DrawTextCentredShadowed(text, width / 2, 16, GetImage(),
                                          RgbToPixel(255, 255, 255));
    } else {
        const int32_t lineHeight = font ? font->cellHeight : 0;
        Create(nullptr, 364, lineHeight * (breaks + 1) + 80, 16);
        CListBox list(16, 0, kWrapWidth, breaks + 2, header ? *header : std::string(), font, font,
                      nullptr, nullptr);
        if (g_displayList)
            g_displayList->RemoveObject(&list);
        list.AddText(text, "%777");
        list.SetDestination(GetImage());
        list.centreOnDestination = 1;
        list.Draw(0);
    }
    m_ok = std::make_unique<CTextButton>(g_textDatabase.GetText("OK"),
                                         g_fonts.Get("gfx\\fonts\\garamond14bold.bmp"), 0);
    m_ok->hotkey = kEnter;
    m_ok->SetDestination(GetImage());
    m_countdown = std::make_unique<CCountdown>(timeout, nullptr);
    AddPopupToFrame(this);
    PushPopupPause();
}

CMessageBox::~CMessageBox() {
    RemovePopupFromFrame(this);
    m_countdown.reset();
    m_ok.reset();
    PopPopupPause();
}

int CMessageBox::HandleEvent(COVEvent& event) {
    if (m_ok) {
        m_ok->HandleEvent(event);
        if (m_ok->clicked)
            return DRAWABLE_DELETE_ME;
    }
    if (m_countdown && m_countdown->HandleEvent(event) == DRAWABLE_DELETE_ME)
        return DRAWABLE_DELETE_ME;
    return CPopupWindow::HandleEvent(event);
}

void CMessageBox::Draw(int32_t param) {
    if (m_ok) {
        const int32_t okX = width / 2 - m_ok->GetWidth() / 2;
        const int32_t okY = height - m_ok->GetHeight() - 8;
        m_ok->SetPosition(okX, okY);
        m_ok->Draw(param);
        m_ok->SetPosition(okX + x, okY + y);
    }
    CPopupWindow::Draw(param);
}

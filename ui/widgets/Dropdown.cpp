#include "ui/widgets/Dropdown.h"

#include "engine/Display.h"
#include "engine/Font.h"
#include "engine/Sprite.h"
#include "engine/TextDatabase.h"
#include "engine/TextUtil.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/TextArea.h"
#include "ui/widgets/TextItem.h"
#include "ui/widgets/WidgetEvents.h"

namespace {

constexpr int32_t kListWidth = 110;
constexpr int32_t kListHeight = 85;
constexpr int32_t kListStyle = 2;

} // namespace

CDropdown::CDropdown()
    : font(g_fonts.Find("gfx\\fonts\\garamond14.bmp")),
      m_list(std::make_unique<CTextArea>(kListWidth, kListHeight, kListStyle)),
      m_closedBackground(std::make_unique<CSprite>("gfx\\interface\\frontend\\bg_dropdown_1.bmp")),
      m_openBackground(std::make_unique<CSprite>("gfx\\interface\\frontend\\bg_dropdown_2.bmp")),
      m_closedArrow(std::make_unique<CButton>("gfx\\interface\\frontend\\btn_dropdown_1.bmp", 0,
                                              static_cast<char>(-1))),
      m_openArrow(std::make_unique<CButton>("gfx\\interface\\frontend\\btn_dropdown_2.bmp", 0,
                                            static_cast<char>(-1))) {
    m_list->lineOffset = -6;
    m_list->colour = RgbToPixel(171, 155, 98);
    SetPosition(0, 0);
}

CDropdown::~CDropdown() = default;

void CDropdown::SetPosition(int32_t newX, int32_t newY) {
    x = newX;
    y = newY;
    if (closed) {
        m_closedArrow->SetPosition(x + 132, y + 4);
        m_closedBackground->SetPosition(x, y);
        m_openArrow->SetPosition(kParked, kParked);
        m_openBackground->SetPosition(kParked, kParked);
        m_list->SetPosition(kParked, kParked);
    } else {
        m_closedArrow->SetPosition(kParked, kParked);
        m_closedBackground->SetPosition(kParked, kParked);
        m_openArrow->SetPosition(x + 132, y + 4);
        m_openBackground->SetPosition(x, y);
        m_list->SetPosition(x + 10, y + 33);
        m_list->MoveScrollbarBy(12);
    }
}

bool CDropdown::HasItemShowing(const std::string& text) const {
    for (size_t i = 0; i < m_list->GetLineCount(); ++i) {
        const auto* label = dynamic_cast<const CTextLabel*>(m_list->GetLine(i));
        if (label && label->GetShownText() == text)
            return true;
    }
    return false;
}

void CDropdown::AddItem(const std::string& text) {
    if (HasItemShowing(text))
        return;
    m_list->AddItem(std::make_unique<CTextLabel>(font, UpperCaseText(text), kListWidth,
                                                 RgbToPixel(128, 128, 128), 0));
}

void CDropdown::AddItemWithId(const std::string& text, int32_t id) {
    if (HasItemShowing(text))
        return;
    const bool wasEmpty = m_list->GetLineCount() == 0;
    auto link = std::make_unique<CTextLink>(font, UpperCaseText(text), kListWidth, id, ObjectId{});
    link->colour = RgbToPixel(171, 155, 98);
    // A game that can be joined is a choice the list's click can make.
    link->hasId = 1;
    CTextLink* item = link.get();
    m_list->AddItem(std::move(link));
    if (wasEmpty)
        selectedItem = item;
    m_list->clickedLine = item;
}

int32_t CDropdown::GetSelectedId() const {
    const auto* link = dynamic_cast<const CTextLink*>(selectedItem);
    return link ? link->commandId : -1;
}

int CDropdown::HandleEvent(COVEvent& event) {
    int answer = m_list->HandleEvent(event);
    if (answer != DRAWABLE_NOT_TAKEN) {
        CTextItem* clicked = m_list->clickedLine;
        if (clicked && clicked != selectedItem && clicked->IsSelectable()) {
            selectedItem = clicked;
            closed = 1;
        }
        return answer;
    }
    answer = m_closedArrow->HandleEvent(event);
    if (answer != DRAWABLE_NOT_TAKEN) {
        if (m_closedArrow->clicked)
            closed = 0;
        return answer;
    }
    answer = m_openArrow->HandleEvent(event);
    if (answer != DRAWABLE_NOT_TAKEN) {
        if (m_openArrow->clicked)
            closed = 1;
        return answer;
    }
    const uint32_t kind = widget::Kind(event);
    if (!closed && kind >= widget::kMouseMove && kind <= widget::kDoubleClick) {
        if (!m_openBackground->HitTest(widget::PointerX(event), widget::PointerY(event)))
            closed = 1;
        return DRAWABLE_TAKEN;
    }
    return DRAWABLE_NOT_TAKEN;
}

void CDropdown::Draw(int32_t /*param*/) {
    SetPosition(x, y);
    if (closed) {
        m_closedBackground->Draw(0);
        m_closedArrow->Draw(0);
    } else {
        m_openBackground->Draw(0);
        m_openArrow->Draw(0);
        m_list->Draw(0);
    }
    if (!font || !g_screen)
        return;
    const auto* label = dynamic_cast<const CTextLabel*>(selectedItem);
    if (!label)
        font->DrawTextLeft(g_textDatabase.GetText("DROPDOWN_NO_SELECTION"), x + 10, y + 6,
                           g_screen.get(), RgbToPixel(255, 0, 0));
    else
        font->DrawTextLeft(label->GetShownText(), x + 10, y + 7, g_screen.get(), 0xFFFF);
}

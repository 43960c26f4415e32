#include "ui/widgets/TextArea.h"

#include <algorithm>
#include <string_view>

#include "engine/Display.h"
#include "engine/Font.h"
#include "engine/Image.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/TextItem.h"
#include "ui/widgets/WidgetEvents.h"

namespace {

struct Style {
    const char* up;
    const char* down;
    const char* knob;
    uint8_t colours[5][3];
};

const Style kStyles[] = {
    // any other style
    {"gfx\\interface\\menu\\scrollbar_top.bmp",
     "gfx\\interface\\menu\\scrollbar_bottom.bmp",
     "gfx\\interface\\menu\\scrollbar_bar.bmp",
     {{64, 52, 14}, {219, 193, 45}, {207, 176, 34}, {178, 141, 12}, {77, 64, 27}}},
    {"GFX\\interface\\menu\\scrollbar_small_upp.bmp",
     "GFX\\interface\\menu\\scrollbar_small_ner.bmp",
     "GFX\\interface\\menu\\scrollbar_small_bar.bmp",
     {{77, 65, 22}, {222, 196, 44}, {175, 137, 10}, {77, 65, 22}, {0, 255, 0}}},
    {"GFX\\interface\\frontend\\scrollbar_top.bmp",
     "GFX\\interface\\frontend\\scrollbar_bottom.bmp",
     "GFX\\interface\\frontend\\scrollbar_bar.bmp",
     {{106, 92, 51}, {200, 179, 102}, {169, 150, 85}, {146, 130, 73}, {0, 255, 0}}},
    {"gfx\\interface\\eyr\\scrollbar_dark_pilupp.bmp",
     "gfx\\interface\\eyr\\scrollbar_dark_pilner.bmp",
     "gfx\\interface\\eyr\\scrollbar_dark_knapp.bmp",
     {{85, 76, 73}, {102, 93, 78}, {91, 83, 69}, {78, 72, 60}, {143, 129, 105}}},
};

} // namespace

CTextArea::CTextArea(int32_t widthValue, int32_t heightValue, int32_t style)
    : height(heightValue), width(widthValue) {
    const Style& look = kStyles[style >= 1 && style <= 3 ? style : 0];
    for (size_t i = 0; i < 5; ++i)
        m_look.colours[i] = RgbToPixel(look.colours[i][0], look.colours[i][1], look.colours[i][2]);
    m_up = std::make_unique<CButton>(look.up, 0, static_cast<char>(-1));
    m_down = std::make_unique<CButton>(look.down, 0, static_cast<char>(-1));
    m_knob = std::make_unique<CButton>(look.knob, 0, static_cast<char>(-1));
    SetDestination(g_screen.get());
    PlaceScrollbar(0 + width + m_up->GetWidth());
    font = g_fonts.Find("gfx\\fonts\\garamond14.bmp");
}

CTextArea::~CTextArea() = default;

CTextItem* CTextArea::GetLine(size_t index) const {
    return index < m_lines.size() ? m_lines[index].get() : nullptr;
}

CTextItem* CTextArea::GetFirstVisible() const {
    return m_firstVisible >= 0 ? GetLine(static_cast<size_t>(m_firstVisible)) : nullptr;
}

void CTextArea::Clear() {
    clickedLine = nullptr;
    m_lines.clear();
    m_firstVisible = -1;
}

void CTextArea::AddItem(std::unique_ptr<CTextItem> item) {
    if (!item)
        return;
    item->destination = destination;
    m_lines.push_back(std::move(item));
}

void CTextArea::AddLine(const std::string& text) {
    if (text.empty())
        return;
    AddItem(std::make_unique<CTextLabel>(font, text, width, colour, centred));
}

void CTextArea::AddLink(const std::string& text, int32_t commandId, uint8_t enabled,
                        ObjectId objectId) {
    auto link = std::make_unique<CTextLink>(font, text, width, commandId, objectId);
    link->enabled = enabled;
    AddItem(std::move(link));
}

void CTextArea::SetText(const std::string& text) {
    SetTextColoured(text, colour);
}

void CTextArea::SetTextColoured(const std::string& text, uint16_t newColour) {
    colour = newColour;
    auto widthOf = [this](const std::string& s) { return font ? font->GetTextWidth(s) : 0; };
    // The line and the word being built; strings of their own size, so
    // that no text can run past them (a label keeps 255 characters of a
    // line).
    std::string line;
    std::string word;
    auto emit = [&] {
        AddLine(line);
        line.clear();
    };
    // The text ends at its first zero.
    const std::string_view source(text.c_str());
    for (size_t i = 0; i <= source.size(); ++i) {
        const unsigned char c = i < source.size() ? static_cast<unsigned char>(source[i]) : 0;
        if (c == ' ') {
            word += ' ';
            if (widthOf(word) + widthOf(line) >= width)
                emit();
            line += word;
            word.clear();
        } else if (c == '\r' || c == '\n') {
            if (widthOf(word) + widthOf(line) < width) {
                line += word;
                emit();
            } else {
                emit();
                line = word;
            }
            word.clear();
        } else if (c == 0) {
            if (widthOf(word) + widthOf(line) >= width)
                emit();
            line += word;
            if (!line.empty())
                emit();
        } else {
            word += static_cast<char>(c);
        }
    }
    m_firstVisible = m_lines.empty() ? -1 : 0;
}

int32_t CTextArea::LineHeight(size_t index) const {
    const CTextItem* line = GetLine(index);
    return line ? line->GetHeight() : 0;
}

int32_t CTextArea::GetContentHeight() const {
    int32_t sum = 0;
    for (size_t i = 0; i < m_lines.size(); ++i)
        sum += LineHeight(i);
    return sum;
}

bool CTextArea::CanScrollUp() const {
    return m_firstVisible > 0;
}

bool CTextArea::CanScrollDown() const {
    if (m_firstVisible < 0)
        return false;
    int32_t before = 0;
    for (size_t i = static_cast<size_t>(m_firstVisible); i < m_lines.size(); ++i) {
        if (before >= height)
            return true; // this line starts at or below the bottom edge
        before += LineHeight(i);
    }
    return false;
}

float CTextArea::GetScrollFraction() const {
    const int32_t content = GetContentHeight();
    if (content <= height || m_firstVisible <= 0)
        return 0.0f;
    int32_t before = 0;
    for (int32_t i = 0; i < m_firstVisible; ++i)
        before += LineHeight(static_cast<size_t>(i));
    return static_cast<float>(before) / static_cast<float>(content - height);
}

int32_t CTextArea::LineAtOffset(int32_t offset) const {
    if (m_lines.empty())
        return -1;
    int32_t rest = offset;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        rest -= LineHeight(i);
        if (rest < 0)
            return static_cast<int32_t>(i);
    }
    return static_cast<int32_t>(m_lines.size()) - 1;
}

bool CTextArea::ContainsPoint(int32_t pointX, int32_t pointY) const {
    return pointX - x >= 0 && pointX - x < width && pointY - y >= 0 && pointY - y < height;
}

void CTextArea::SetPosition(int32_t newX, int32_t newY) {
    x = newX;
    y = newY;
    PlaceScrollbar(x + width + m_up->GetWidth());
}

void CTextArea::PlaceKnobByFraction() {
    const SpritePoint at = m_knob->GetPosition();
    m_knob->SetPosition(at.x,
                        y + static_cast<int32_t>(GetScrollFraction() *
                                                 static_cast<float>(height - m_knob->GetHeight())));
}

void CTextArea::PlaceScrollbar(int32_t right) {
    scrollbarRight = right;
    m_up->SetPosition(right - m_up->GetWidth(), y - m_up->GetHeight());
    m_knob->SetPosition(right - m_knob->GetWidth(), y);
    PlaceKnobByFraction();
    m_down->SetPosition(right - m_down->GetWidth(), y + height);
    const SpritePoint up = m_up->GetPosition();
    const SpritePoint down = m_down->GetPosition();
    m_look.trackX = up.x + m_up->GetWidth() / 2 - 2;
    m_look.trackY = up.y + m_up->GetHeight();
    m_look.trackLength = down.y - up.y - m_up->GetHeight();
}

void CTextArea::MoveScrollbarBy(int32_t dx) {
    PlaceScrollbar(scrollbarRight + dx);
}

void CTextArea::SetDestination(CImageBase* image) {
    destination = image;
    m_up->SetDestination(image);
    m_down->SetDestination(image);
    m_knob->SetDestination(image);
    for (auto& line : m_lines)
        line->destination = image;
}

void CTextArea::ScrollUp() {
    if (CanScrollUp()) {
        --m_firstVisible;
        PlaceKnobByFraction();
    } else {
        m_knob->SetPosition(m_knob->GetPosition().x, m_look.trackY);
    }
}

void CTextArea::ScrollDown() {
    if (CanScrollDown()) {
        ++m_firstVisible;
        PlaceKnobByFraction();
        return;
    }
    m_knob->SetPosition(m_knob->GetPosition().x,
                        m_look.trackY + m_look.trackLength - m_knob->GetHeight());
    const int32_t content = GetContentHeight();
    if (content > height)
        m_firstVisible = LineAtOffset(content - height);
}

int CTextArea::HandleScrollbar(COVEvent& event, uint32_t kind, int32_t px, int32_t py) {
    int result = m_knob->HandleEvent(event);
    const int32_t knobHeight = m_knob->GetHeight();
    if (m_knob->IsPressed() && kind == widget::kLeftDown) {
        dragOffset = m_knob->GetPosition().y - py;
        result = DRAWABLE_TAKEN;
    }
    if (m_knob->IsPressed() && kind == widget::kLeftHeld) {
        const int32_t travel = m_look.trackLength - knobHeight;
        // A knob as long as its track has nowhere to go.
        if (travel > 0) {
            const int32_t k = std::clamp(py + dragOffset - m_look.trackY, 0, travel);
            const float f = static_cast<float>(k) / static_cast<float>(travel);
            m_firstVisible = LineAtOffset(
                static_cast<int32_t>(static_cast<float>(GetContentHeight() - height) * f));
            m_knob->SetPosition(m_knob->GetPosition().x,
                                m_look.trackY +
                                    static_cast<int32_t>(static_cast<float>(travel) * f));
        }
        dragging = 1;
        result = DRAWABLE_TAKEN;
    }
    if (dragging && kind == widget::kLeftUp) {
        dragging = 0;
        return DRAWABLE_TAKEN;
    }
    if (result != DRAWABLE_NOT_TAKEN)
        return result;

    result = m_up->HandleEvent(event);
    if (m_up->pulse)
        ScrollUp();
    if (result != DRAWABLE_NOT_TAKEN)
        return result;
    result = m_down->HandleEvent(event);
    if (m_down->pulse)
        ScrollDown();
    if (result != DRAWABLE_NOT_TAKEN)
        return result;

    if (kind == widget::kWheel && ContainsPoint(px, py)) {
        if (widget::Data(event) > 0)
            ScrollUp();
        else
            ScrollDown();
        return DRAWABLE_TAKEN;
    }
    if (kind == widget::kLeftUp && px - m_look.trackX >= -4 && px - m_look.trackX <= 8 &&
        py - m_look.trackY >= 0 && py - m_look.trackY < m_look.trackLength) {
        const int32_t knobY = m_knob->GetPosition().y;
        const int direction = py < knobY ? -1 : (py >= knobY + knobHeight ? 1 : 0);
        if (direction != 0) {
            int32_t rest = height;
            while (rest > 0) {
                if (direction < 0)
                    ScrollUp();
                else
                    ScrollDown();
                const int32_t step = LineHeight(static_cast<size_t>(std::max(m_firstVisible, 0)));
                if (step <= 0)
                    break;
                rest -= step;
            }
        }
    }
    return DRAWABLE_NOT_TAKEN;
}

int CTextArea::HandleEvent(COVEvent& event) {
    if (m_firstVisible < 0 && !m_lines.empty())
        m_firstVisible = 0;
    const uint32_t kind = widget::Kind(event);
    const int32_t px = widget::PointerX(event);
    const int32_t py = widget::PointerY(event);
    if (kind == widget::kLeftUp) {
        if (clearClickedOnRelease)
            clickedLine = nullptr;
        m_knob->Release();
    }
    int result = DRAWABLE_NOT_TAKEN;
    if (IsScrollbarShown()) {
        result = HandleScrollbar(event, kind, px, py);
        if (result != DRAWABLE_NOT_TAKEN)
            return result;
    }
    if (m_firstVisible < 0)
        return result;
    int32_t lineY = y;
    for (size_t i = static_cast<size_t>(m_firstVisible); i < m_lines.size() && lineY < y + height;
         ++i) {
        CTextItem* line = m_lines[i].get();
        line->SetPosition(x, lineY + lineOffset);
        const int answer = line->HandleEvent(event);
        if (answer != DRAWABLE_NOT_TAKEN)
            return answer;
        if (kind == widget::kLeftUp && line->HitTest(px, py)) {
            OnLineClicked(line);
            return DRAWABLE_TAKEN;
        }
        if (kind == widget::kFrameTick) {
            line->ClearHighlight();
            if (line->HitTest(widget::MouseX(), widget::MouseY()))
                line->SetHighlight(0);
        }
        lineY += line->GetHeight();
    }
    return result;
}

void CTextArea::PaintTrack() {
    CImageBase* target = destination;
    if (!target || !target->pixels || target->bytesPerPixel != 2)
        return;
    const uint16_t key = RgbToPixel(0, 255, 0);
    const int32_t columns = m_look.colours[4] == key ? 4 : 5;
    for (int32_t row = 0; row < m_look.trackLength; ++row) {
        const int32_t ty = m_look.trackY + row;
        if (ty < 0 || ty >= target->height)
            continue;
        uint8_t* line = target->pixels + static_cast<size_t>(ty) * target->pitch;
        for (int32_t c = 0; c < columns; ++c) {
            const int32_t tx = m_look.trackX + c;
            if (tx >= 0 && tx < target->width)
                StorePixel(line + static_cast<size_t>(tx) * 2,
                           m_look.colours[static_cast<size_t>(c)]);
        }
    }
}

void CTextArea::Draw(int32_t /*param*/) {
    if (IsScrollbarShown()) {
        m_up->Draw(0);
        m_down->Draw(0);
        PaintTrack();
        m_knob->Draw(0);
    }
    if (m_firstVisible < 0)
        return;
    int32_t lineY = y;
    for (size_t i = static_cast<size_t>(m_firstVisible); i < m_lines.size(); ++i) {
        CTextItem* line = m_lines[i].get();
        line->SetPosition(x, lineY + lineOffset);
        if (lineY < y + height)
            line->Draw(0);
        lineY += line->GetHeight();
    }
}

#include "ui/widgets/ListBox.h"

#include <algorithm>

#include "engine/Display.h"
#include "engine/DisplayList.h"
#include "engine/Font.h"
#include "engine/Image.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/TextItem.h"
#include "ui/widgets/WidgetEvents.h"

namespace {

constexpr const char* kKnobImage = "gfx\\interface\\menu\\scrollbar_bar.bmp";
constexpr int32_t kInterfaceClickSound = 0;

std::unique_ptr<CButton> MakeButton(const char* image) {
    if (!image)
        return nullptr;
    auto button = std::make_unique<CButton>(image, 0, static_cast<char>(-1));
    if (button->image)
        button->image->hasColourKey = 1;
    return button;
}

int32_t WidthOf(const CButton* button) {
    return button ? button->GetWidth() : 0;
}

int32_t HeightOf(const CButton* button) {
    return button ? button->GetHeight() : 0;
}

} // namespace

CListBox::CListBox(int32_t x, int32_t yValue, int32_t widthValue, int32_t visibleRowsValue,
                   const std::string& headerText, CFont* headerFontValue, CFont* rowFontValue,
                   const char* downImage, const char* upImage)
    : y(yValue), width(widthValue), destination(g_screen.get()), header("%777" + headerText),
      headerFont(headerFontValue), rowFont(rowFontValue), visibleRows(visibleRowsValue) {
    rowHeight = rowFont ? rowFont->cellHeight : 0;
    x0 = x;
    y0 = y + rowHeight;
    x1 = x0 + width;
    y1 = y + rowHeight * visibleRows + 10;
    m_rows.resize(1);
    m_up = MakeButton(upImage);
    m_down = MakeButton(downImage);
    m_knob = MakeButton(kKnobImage);
    SetDestination(g_screen.get());
    if (g_displayList)
        g_displayList->Add(this, kLayer, 0);
}

CListBox::~CListBox() = default; // the drawable's destructor leaves the display list

void CListBox::SetDestination(CImageBase* image) {
    destination = image;
    for (CButton* button : {m_up.get(), m_down.get(), m_knob.get()})
        if (button)
            button->SetDestination(image);
}

void CListBox::AddRow(const std::string& text, uint32_t data, uint8_t selectable, ObjectId id,
                      const char* fullText) {
    auto freeRow = std::find_if(m_rows.begin(), m_rows.end(), [](const Row& r) { return !r.used; });
    const bool appended = freeRow == m_rows.end();
    Row& row = appended ? m_rows.emplace_back() : *freeRow;
    row.used = true;
    row.data = data;
    row.id = id;
    row.done = 0;
    row.selectable = selectable;
    row.text = text;
    row.fullText = fullText ? fullText : text;
    ++rowCount;
    if (appended) {
        if (rowCount == visibleRows + 1)
            scrollBarActive = 1;
        if (rowCount > visibleRows)
            firstVisibleRow = rowCount - visibleRows;
        knobDrag = 0;
    }
}

void CListBox::AddText(const std::string& text, const std::string& prefix) {
    std::string line = prefix;
    std::string word;
    int32_t sum = 0;
    auto addLine = [&] {
        AddRow(line, 0, 1, ObjectId{});
        line = prefix;
    };
    auto widthOf = [this](unsigned char c) { return rowFont ? GlyphWidth(*rowFont, c) : 0; };
    auto wordWidth = [&] { return rowFont ? rowFont->GetTextWidth(word) : 0; };
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const bool escapedBreak = c == '\\' && i + 1 < text.size() && text[i + 1] == 'n';
        if (c == '\r' || c == '\n' || escapedBreak) {
            line += word;
            addLine();
            word.clear();
            sum = 0;
            if (escapedBreak)
                ++i;
        } else if (c == ' ') {
            line += word + " ";
            word.clear();
        } else if (c == '%' || c == 167) {
            // A colour code: the sign and its three digits take no width.
            word.append(text, i, 4);
            i += std::min<size_t>(3, text.size() - i - 1);
        } else if (c == '\\') {
            word.append(text, i, 2);
            i += i + 1 < text.size() ? 1 : 0;
        } else {
            sum += widthOf(c);
            word += static_cast<char>(c);
            if (sum > width && line.size() > prefix.size()) {
                addLine();
                sum = wordWidth();
            }
        }
    }
    line += word;
    if (line.size() > prefix.size())
        addLine();
}

void CListBox::AddTruncated(const std::string& text, uint32_t data, ObjectId id) {
    const int32_t room = width - 30;
    std::string shown;
    int32_t sum = 0;
    size_t i = 0;
    for (; i < text.size() && sum < room; ++i) {
        shown += text[i];
        sum += rowFont ? GlyphWidth(*rowFont, static_cast<unsigned char>(text[i])) : 0;
    }
    if (i < text.size())
        shown += "...";
    AddRow(shown, data, 1, id, text.c_str());
}

const CListBox::Row* CListBox::GetRow(int32_t index) const {
    // Rows in display order are the used ones.
    int32_t seen = 0;
    for (const Row& row : m_rows)
        if (row.used && seen++ == index)
            return &row;
    return nullptr;
}

int64_t CListBox::GetSelectedData() const {
    const Row* row = selectedRow >= 0 ? GetRow(selectedRow) : nullptr;
    return row ? static_cast<int64_t>(row->data) : -1;
}

const char* CListBox::GetSelectedFullText() const {
    const Row* row = selectedRow >= 0 ? GetRow(selectedRow) : nullptr;
    return row ? row->fullText.c_str() : nullptr;
}

int32_t CListBox::HeaderHeight() const {
    return headerFont ? headerFont->cellHeight : 0;
}

int32_t CListBox::MaxFirstRow() const {
    return std::max(rowCount - visibleRows, 0);
}

int32_t CListBox::UpY() const {
    return y0 + HeaderHeight() + scrollOffsetY;
}

int32_t CListBox::KnobHalf() const {
    return m_knob->GetHeight() / 2;
}

int32_t CListBox::TrackTop() const {
    return UpY() + KnobHalf();
}

int32_t CListBox::RowTop(int32_t visibleIndex) const {
    return y0 + HeaderHeight() + 10 + visibleIndex * rowHeight;
}

void CListBox::PlaceScrollBar() {
    const int32_t barX = x1 + scrollBarShiftX + scrollOffsetX;
    const int32_t upY = UpY();
    const int32_t downY = y1 + 8 + scrollOffsetY;
    if (m_up)
        m_up->SetPosition(barX, upY);
    if (m_down)
        m_down->SetPosition(barX, downY);
    trackLength = std::max(downY - upY - m_knob->GetHeight(), 0);
    const int32_t span = rowCount - visibleRows;
    const int64_t step = span > 0 ? int64_t{trackLength} * 65536 / span : 0;
    if (!knobDrag)
        knobY = static_cast<int32_t>(int64_t{firstVisibleRow} * step / 65536);
    else
        for (int32_t i = MaxFirstRow(); i >= 0; --i)
            if (int64_t{i} * step / 65536 <= knobY) {
                firstVisibleRow = i;
                break;
            }
    const int32_t buttonWidth = std::max(WidthOf(m_up.get()), WidthOf(m_down.get()));
    m_knob->SetPosition(barX + (buttonWidth - m_knob->GetWidth()) / 2, upY + KnobHalf() + knobY);
}

int32_t CListBox::RowAt(int32_t pointX, int32_t pointY, bool selectableOnly) const {
    if (pointX < x0 || pointX >= x1)
        return -1;
    for (int32_t i = 0; i < visibleRows && firstVisibleRow + i < rowCount; ++i) {
        const int32_t top = RowTop(i);
        if (pointY < top || pointY >= top + rowHeight)
            continue;
        const Row* row = GetRow(firstVisibleRow + i);
        if (!row || (selectableOnly && !row->selectable))
            return -1;
        return firstVisibleRow + i;
    }
    return -1;
}

int CListBox::HandleEvent(COVEvent& event) {
    const uint32_t kind = widget::Kind(event);
    const int32_t px = widget::PointerX(event);
    const int32_t py = widget::PointerY(event);

    if (scrollBarActive) {
        PlaceScrollBar();
        if (m_up)
            m_up->HandleEvent(event);
        if (m_down)
            m_down->HandleEvent(event);
        m_knob->HandleEvent(event);
        const SpritePoint knob = m_knob->GetPosition();
        const int32_t upY = UpY();
        if (kind == widget::kLeftDown) {
            if (m_knob->HitTest(px, py)) {
                knobGrab = py - knobY;
                return DRAWABLE_TAKEN;
            }
            const int32_t quarter = m_knob->GetWidth() / 4;
            if (px >= knob.x + quarter && px < knob.x + m_knob->GetWidth() - quarter &&
                py >= upY + HeightOf(m_up.get()) && py < y1 + 8 + scrollOffsetY) {
                knobY = std::clamp(py - upY - KnobHalf(), 0, trackLength);
                knobGrab = py - knobY;
                knobDrag = 1;
                m_knob->Press();
                PlaceScrollBar();
                return DRAWABLE_TAKEN;
            }
        }
        if (kind == widget::kWheel && px > x0 && px < x1 && py > y0 && py < y1) {
            // Positive turns (away from the player) scroll up.
            firstVisibleRow = std::clamp(firstVisibleRow - widget::Data(event), 0, MaxFirstRow());
            return DRAWABLE_TAKEN;
        }
        if (kind == widget::kLeftHeld && m_knob->IsPressed()) {
            if (m_up)
                m_up->Release();
            if (m_down)
                m_down->Release();
            knobY = std::clamp(py - knobGrab, 0, trackLength);
            knobDrag = 1;
            scrolling = 1;
            PlaceScrollBar();
            return DRAWABLE_TAKEN;
        }
    }

    doubleClicked = 0;
    previousSelectedRow = selectedRow;
    if (kind == widget::kLeftUp || kind == widget::kKey) {
        knobDrag = 0;
        scrolling = 0;
        m_knob->Release();
    }
    if (scrollBarActive) {
        if (m_up && m_up->pulse) {
            firstVisibleRow = std::max(firstVisibleRow - 1, 0);
            knobDrag = 0;
        }
        if (m_down && m_down->pulse) {
            firstVisibleRow = std::min(firstVisibleRow + 1, MaxFirstRow());
            knobDrag = 0;
        }
    }
    if (!highlight || rowCount == 0)
        return DRAWABLE_NOT_TAKEN;
    if (kind == widget::kLeftUp || kind == widget::kDoubleClick) {
        const int32_t row = RowAt(px - scrollOffsetX, py - scrollOffsetY, true);
        if (row >= 0) {
            selectedRow = row;
            if (kind == widget::kDoubleClick)
                doubleClicked = 1;
            widget::PlaySound(kInterfaceClickSound);
            return DRAWABLE_TAKEN;
        }
        return DRAWABLE_NOT_TAKEN;
    }
    hoveredRow = RowAt(widget::MouseX(), widget::MouseY(), false);
    return DRAWABLE_NOT_TAKEN;
}

std::string CListBox::RowShown(int32_t rowIndex) const {
    const Row* row = GetRow(rowIndex);
    if (!row)
        return {};
    const std::string& code = !highlight                ? plainCode
                              : rowIndex == selectedRow ? chosenCode
                              : rowIndex == hoveredRow  ? hoveredCode
                              : row->selectable         ? selectableCode
                                                        : plainCode;
    const bool strong = highlight && (rowIndex == selectedRow || rowIndex == hoveredRow);
    if (strong && !row->text.empty() && row->text[0] == '%')
        return code + row->text.substr(std::min<size_t>(4, row->text.size()));
    return code + row->text;
}

void CListBox::Draw(int32_t /*param*/) {
    if (!visible || !drawingEnabled || !destination)
        return;
    if (scrollBarActive) {
        PlaceScrollBar();
        CButton* up = m_up ? m_up.get() : m_knob.get();
        const int32_t top = y0 + HeaderHeight() + HeightOf(m_up.get()) + scrollOffsetY;
        const int32_t bottom =
            std::min((m_down ? m_down->GetPosition().y : y1 + 8), destination->height - 1);
        const int32_t left = up->GetPosition().x + up->GetWidth() / 2 - 1;
        static const uint8_t kStyle0[5][3] = {
            {64, 52, 14}, {219, 193, 45}, {207, 176, 34}, {178, 141, 12}, {77, 64, 27}};
        static const uint8_t kStyle1[4][3] = {
            {77, 65, 22}, {222, 196, 44}, {175, 137, 10}, {77, 65, 22}};
        const int32_t columns = trackStyle == 1 ? 4 : 5;
        if (destination->pixels && destination->bytesPerPixel == 2)
            for (int32_t c = 0; c < columns; ++c) {
                const uint8_t* rgb = trackStyle == 1 ? kStyle1[c] : kStyle0[c];
                const uint16_t pixel = RgbToPixel(rgb[0], rgb[1], rgb[2]);
                const int32_t tx = left + c;
                if (tx < 0 || tx >= destination->width)
                    continue;
                for (int32_t ty = std::max(top, 0); ty < bottom; ++ty)
                    StorePixel(destination->pixels + static_cast<size_t>(ty) * destination->pitch +
                                   static_cast<size_t>(tx) * 2,
                               pixel);
            }
        if (m_up)
            m_up->Draw(0);
        if (m_down)
            m_down->Draw(0);
        m_knob->Draw(0);
    }
    const int32_t centreX = centreOnDestination ? destination->width / 2 : x0 + (x1 - x0) / 2;
    if (headerFont) {
        if (centredHeader)
            headerFont->DrawTextCentred("%000" + header, centreX, y0, destination, 0xFFFF);
        else
            headerFont->DrawTextLeft("%000" + header, x0, y0, destination, 0xFFFF);
    }
    if (!rowFont)
        return;
    for (int32_t i = 0; i < visibleRows && firstVisibleRow + i < rowCount; ++i) {
        const std::string shown = RowShown(firstVisibleRow + i);
        if (GetRow(firstVisibleRow + i)->text.empty())
            continue;
        if (centredRows)
            rowFont->DrawTextCentred(shown, centreX, RowTop(i), destination, 0xFFFF);
        else
            rowFont->DrawTextLeft(shown, x0, RowTop(i), destination, 0xFFFF);
    }
}

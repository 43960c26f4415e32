#pragma once
// CDropdown: a closed box showing the chosen item (or a red caption saying
// that nothing is chosen) with an arrow button; a click on the arrow opens
// a taller background with a scrollable list of items below the box. Items
// with an id are choices (the network games that can be joined); items
// without one are plain lines.
#include <cstdint>
#include <memory>
#include <string>

#include "engine/Drawable.h"

class CButton;
class CFont;
class CSprite;
class CTextArea;
class CTextItem;

class CDropdown : public Drawable {
public:
    static constexpr int32_t kParked = -1000;

    CDropdown();
    ~CDropdown() override;

    // Places the parts for the current state; parts not shown are parked.
    void SetPosition(int32_t newX, int32_t newY);
    // A plain item of the upper-cased text; nothing when an item already
    // shows exactly the given text.
    void AddItem(const std::string& text);
    // A choice with the id; the first item of an empty list becomes the
    // selection.
    void AddItemWithId(const std::string& text, int32_t id);
    // The selection's id, or -1 when nothing is chosen.
    int32_t GetSelectedId() const;
    bool IsOpen() const { return closed == 0; }

    int HandleEvent(COVEvent& event) override;
    void Draw(int32_t param) override;

    CTextArea& List() const { return *m_list; }
    CButton& ClosedArrow() const { return *m_closedArrow; }
    CButton& OpenArrow() const { return *m_openArrow; }

    CTextItem* selectedItem = nullptr;
    CFont* font = nullptr;
    int32_t x = 0;
    int32_t y = 0;
    uint8_t closed = 1;

private:
    bool HasItemShowing(const std::string& text) const;

    std::unique_ptr<CTextArea> m_list;
    std::unique_ptr<CSprite> m_closedBackground;
    std::unique_ptr<CSprite> m_openBackground;
    std::unique_ptr<CButton> m_closedArrow;
    std::unique_ptr<CButton> m_openArrow;
};

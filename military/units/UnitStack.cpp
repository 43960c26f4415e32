// A province's units drawn as stacks on the map, one stack per placement:
// the flags laid out above the figure, the figure of the stack's first unit,
// the size label, the portraits under it; the animation tick, the hit test
// of the portraits and the visit of the units on the screen.
#include <algorithm>
#include <vector>

#include "engine/Display.h"
#include "military/units/NavalUnit.h"
#include "military/units/UnitList.h"
#include "military/units/UnitWidgets.h"
#include "world/MapView.h"
#include "world/Province.h"
#include "world/map/MapSprite.h"

UnitStackHooks g_unitStackHooks;

namespace {

// The figure of a stack drawn selected stands this far left and up.
constexpr int32_t kSelectedShiftX = 15;
constexpr int32_t kSelectedShiftY = 25;
// A flag's step to the side per pair of units.
constexpr int32_t kFlagStep = 6;
// The portraits start this far under the figure, one under the other a
// pixel apart; an army's stands lower, a fleet's in port higher.
constexpr int32_t kPortraitTop = 8;
constexpr int32_t kPortraitGap = 1;
constexpr int32_t kArmyPortraitDrop = 10;
constexpr int32_t kPortPortraitRise = 3;
// Armies are counted in thousands on the label.
constexpr int32_t kMenPerLabelUnit = 1000;

// The units of the list in list order (the walk itself changes nothing).
std::vector<CUnit*> Units(const CUnitList& list) {
    std::vector<CUnit*> units;
    CUnitList::CListPosition position = nullptr;
    for (list.GetHeadPosition(position); position; CUnitList::MoveNext(position))
        if (!position->removed && position->item)
            units.push_back(position->item);
    return units;
}

std::vector<CLandUnit*> Cargo(const CUnit& unit) {
    std::vector<CLandUnit*> armies;
    if (!unit.IsFleet())
        return armies;
    const CLinkedList<CLandUnit>& cargo = static_cast<const CNavalUnit&>(unit).GetCargo();
    CLinkedList<CLandUnit>::CListPosition position = nullptr;
    for (cargo.GetHeadPosition(position); position; CLinkedList<CLandUnit>::MoveNext(position))
        if (!position->removed && position->item)
            armies.push_back(position->item);
    return armies;
}

bool InPort(const CUnit& unit) {
    const int32_t id = unit.GetLocation();
    if (!unit.IsFleet() || id < kFirstProvinceId || id > kLastProvinceId)
        return false;
    const CProvince* province = GetProvince(id);
    return province && !province->IsSea();
}

void TickUnit(CUnit& unit, COVEvent& tick) {
    if (unit.HasFlag())
        unit.GetFlag()->HandleEvent(tick);
    if (unit.HasFigure())
        unit.GetFigure()->HandleEvent(tick);
}

} // namespace

void CUnitList::LayoutFlags(int32_t placement, bool drawnSelected, bool inCombat) {
    std::vector<CUnit*> stack;
    for (CUnit* unit : Units(*this))
        if (unit->GetMapPlacement() == placement)
            stack.push_back(unit);
    int32_t raise = inCombat ? kFlagRaiseInCombat : kFlagRaise;
    if (drawnSelected)
        raise += kFlagRaiseSelected;
    raise >>= std::clamp(g_zoomShift, 0, 4);
    int32_t k = static_cast<int32_t>(stack.size());
    for (auto it = stack.rbegin(); it != stack.rend(); ++it, --k) {
        CUnit& unit = **it;
        if (unit.selected)
            selectedInStack = true;
        if (k > kStackFlagsPlaced)
            continue;
        int32_t offset = k % 2 == 0 ? (k / 2 + 1) * kFlagStep : kFlagStep - (k / 2) * kFlagStep;
        if (drawnSelected)
            offset -= kSelectedShiftX;
        const MapPoint at = unit.GetFigurePosition();
        unit.GetFlag()->SetPosition(at.x + offset, at.y - raise);
    }
}

void CUnitList::LayoutAllFlags(bool drawnSelected) {
    // The whole layout tells anew whether a selected unit is in the list.
    selectedInStack = false;
    bool fighting = false;
    for (const CUnit* unit : Units(*this))
        fighting = fighting || unit->IsInCombat();
    LayoutFlags(PLACEMENT_STANDING, drawnSelected, fighting);
    LayoutFlags(PLACEMENT_MOVING, drawnSelected, false);
    LayoutFlags(PLACEMENT_DEFENDER, drawnSelected, false);
    LayoutFlags(PLACEMENT_ATTACKER, drawnSelected, false);
}

bool CUnitList::DrawStack(int32_t placement, bool drawnSelected) {
    std::vector<CUnit*> stack;
    for (CUnit* unit : Units(*this))
        if (unit->GetMapPlacement() == placement)
            stack.push_back(unit);
    if (stack.empty())
        return false;
    for (auto it = stack.rbegin(); it != stack.rend(); ++it)
        (*it)->GetFlag()->Draw(0);

    CUnit& first = *stack.front();
    CMapSprite* figure = first.GetFigure();
    const MapPoint at = first.GetFigurePosition();
    if (drawnSelected)
        figure->SetPosition(at.x - kSelectedShiftX, at.y - kSelectedShiftY);
    figure->Draw(0);
    figure->SetPosition(at.x, at.y);

    MapPoint screen;
    WorldToScreenVisible(at.x, at.y, screen);
    if (!drawnSelected && g_zoomShift == 0 && g_unitStackHooks.drawLabel) {
        int32_t size = 0;
        for (const CUnit* unit : stack)
            size += unit->IsFleet() ? unit->GetSize() : unit->GetSize() / kMenPerLabelUnit;
        g_unitStackHooks.drawLabel(screen.x, screen.y, size);
    }

    int32_t top = screen.y + kPortraitTop;
    for (CUnit* unit : stack) {
        CUnitPortrait* portrait = unit->GetPortrait();
        portrait->SetDestination(g_screen.get());
        portrait->SetClipRectFrom(g_mapViewRect);
        int32_t y = top;
        if (unit->IsArmy())
            y += kArmyPortraitDrop;
        else if (InPort(*unit))
            y -= kPortPortraitRise;
        portrait->SetPosition(screen.x - portrait->GetWidth() / 2, y);
        portrait->Draw(0);
        top += portrait->GetHeight() + kPortraitGap;
    }
    if (g_unitStackHooks.drawSelectionMarker)
        for (const CUnit* unit : stack)
            if (unit->selected)
                g_unitStackHooks.drawSelectionMarker(*unit, screen.x, screen.y);
    return true;
}

void CUnitList::AnimationTick(COVEvent& tick) {
    for (CUnit* unit : Units(*this)) {
        TickUnit(*unit, tick);
        for (CLandUnit* army : Cargo(*unit))
            TickUnit(*army, tick);
    }
}

CUnit* CUnitList::HitTest(int32_t screenX, int32_t screenY) const {
    for (CUnit* unit : Units(*this)) {
        if (!unit->HasPortrait())
            continue;
        CUnitPortrait* portrait = unit->GetPortrait();
        if (portrait->HitTest(screenX, screenY))
            return unit;
        if (portrait->HitCargo(screenX, screenY)) {
            const std::vector<CLandUnit*> armies = Cargo(*unit);
            if (!armies.empty())
                return armies.front();
        }
    }
    return nullptr;
}

void CUnitList::VisitVisible(const std::function<bool(const CUnit&)>& filter,
                             const std::function<void(CUnit&, MapPoint)>& visitor) const {
    for (CUnit* unit : Units(*this)) {
        if (filter && !filter(*unit))
            continue;
        const int32_t id = unit->GetLocation();
        if (id < kFirstProvinceId || id > kLastProvinceId || !IsProvinceOnScreen(id))
            continue;
        const CProvince* province = GetProvince(id);
        if (province && province->visible == 1)
            visitor(*unit, unit->GetFigurePosition());
    }
}

#pragma once
// The main game screen; its message handler takes the game-winner broadcast
// (EVT_GAME_WINNER) directly and offers every message it is given to the
// travellers.
#include <array>
#include <cstdint>

#include "engine/LinkedList.h"
#include "net/Event.h"
#include "ui/WindowControl.h"
#include "world/Mecenat.h"

class CMainScreen : public CMessageReceiver {
public:
    static constexpr int kUnitGroupCount = 10;

    CMainScreen() = default;
    // Deletes the travellers.
    ~CMainScreen() override;
    CMainScreen(const CMainScreen&) = delete;
    CMainScreen& operator=(const CMainScreen&) = delete;

    int HandleMessage(COVEvent& event) override;

    // The player's unit group of an index 0..9; another index is reported
    // ("Array bounds violation.") and answers group 0.
    CObjectIdList& GetUnitGroup(int index);

    // Deletes every traveller and empties the list.
    void ClearTravellers();

    // Redraws the provinces' shading on the map; clears shadingNeeded.
    void UpdateProvinceShading();

    // The yes/no copy of the centre-of-trade window's "COT_AUTO" option.
    uint8_t merchant = 0;
    // Set when the provinces' shading must be drawn anew.
    uint8_t shadingNeeded = 0;
    // The travelling colonists and traders on the map, in the order they
    // were filed; the screen owns them.
    CMecenatList travellers;
    // The control slots of the religion window (eight) and of the treasury
    // window (six); a saved game keeps their buttons' pressed states.
    CButtonControls<8> religionWindow;
    CButtonControls<6> treasuryWindow;

private:
    std::array<CObjectIdList, kUnitGroupCount> m_unitGroups;
};

// Made at start-up; null before.
extern CMainScreen* g_mainScreen;

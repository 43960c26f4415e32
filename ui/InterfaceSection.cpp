#include "ui/InterfaceSection.h"

#include <array>

#include "data/Keywords.h"
#include "net/MousePosition.h"
#include "ui/MainScreen.h"
#include "world/MapView.h"

namespace {

// The unit-group keys in the order written: "group1" is group 0, "group0"
// group 9.
constexpr std::array<uint32_t, CMainScreen::kUnitGroupCount> kGroupKeys = {
    KW_GROUP1, KW_GROUP2, KW_GROUP3, KW_GROUP4, KW_GROUP5,
    KW_GROUP6, KW_GROUP7, KW_GROUP8, KW_GROUP9, KW_GROUP0};

void Add(CDataBlock& block, uint32_t key, CDataNode* value) {
    block.AddChild(new CDataAssignment(key, value));
}

template <class Controls> CDataBlock* WritePressedStates(const Controls& window) {
    CDataBlock* block = new CDataBlock();
    for (const auto& control : window.controls)
        block->AddChild(new CDataInt(control.button.IsPressed() ? 1 : 0));
    return block;
}

// The point block { x = .. y = .. } after its "{", up to and including its
// "}"; other keys are passed over.
int32_t ReadPoint(CFieldReader& in, int32_t& x, int32_t& y) {
    for (;;) {
        int32_t result = in.ReadFieldOrClose();
        if (result != FIELD_READ)
            return result; // FIELD_BLOCK_END once the block's "}" was taken
        if (in.key.code == KW_X && in.value.code == TOKEN_NUMBER)
            x = TokenToInt(in.value.text);
        else if (in.key.code == KW_Y && in.value.code == TOKEN_NUMBER)
            y = TokenToInt(in.value.text);
    }
}

// The "id" entries of a unit group up to and including its "}"; ids of
// objects that exist are appended to the group.
int32_t ReadUnitGroup(CFieldReader& in, CObjectIdList& group) {
    for (;;) {
        int32_t result = in.ReadFieldOrClose();
        if (result != FIELD_READ)
            return result; // FIELD_BLOCK_END once the block's "}" was taken
        if (in.key.code != KW_ID || in.value.code != TOKEN_OPEN_BRACE) {
            in.ReportError("not id field in unitlist");
            continue;
        }
        ObjectId id;
        result = id.Read(in);
        if (result == FIELD_END_OF_FILE)
            return result;
        // Units are registered entities; other objects are in the object
        // registry.
        if (result == FIELD_BLOCK_END && (FindObjectById(id) || ResolveId(id)))
            group.AddTail(id);
    }
}

// Presses the buttons of the controls whose entry is above 0; extra entries
// are ignored, missing ones leave their controls alone.
template <class Controls> void ReadPressedStates(CFieldReader& in, Controls& window) {
    CIntList values;
    if (in.ReadIntList(values) != FIELD_BLOCK_END)
        return;
    size_t slot = 0;
    values.ForEach([&](int32_t value) {
        if (slot >= window.controls.size())
            return;
        CButton& button = window.controls[slot++].button;
        if (value <= 0)
            return;
        if (button.soundLatch)
            button.Release();
        button.Press();
    });
}

} // namespace

CDataBlock* WriteInterfaceSection() {
    CMainScreen scratch;
    CMainScreen& screen = g_mainScreen ? *g_mainScreen : scratch;

    CDataBlock* block = new CDataBlock();
    const MousePosition& mouse = *GetMousePosition();
    Add(*block, KW_MOUSE, cpoint::MakeNode(cpoint{mouse.x, mouse.y}));
    Add(*block, KW_MAP, cpoint::MakeNode(cpoint{g_viewCentreX, g_viewCentreY}));
    Add(*block, KW_MAPMODE, new CDataInt(g_mapMode));
    Add(*block, KW_ZOOM, new CDataInt(g_zoomShift));
    Add(*block, KW_MERCHANT, new CDataBool(screen.merchant != 0));
    for (int index = 0; index < CMainScreen::kUnitGroupCount; ++index) {
        CDataBlock* group = new CDataBlock();
        screen.GetUnitGroup(index).ForEach(
            [group](ObjectId id) { group->AddChild(new CDataAssignment(KW_ID, id.MakeNode())); });
        Add(*block, kGroupKeys[static_cast<size_t>(index)], group);
    }
    Add(*block, KW_RELIGION, WritePressedStates(screen.religionWindow));
    Add(*block, KW_TREASURY, WritePressedStates(screen.treasuryWindow));
    return block;
}

int32_t ReadInterfaceSection(CFieldReader& in) {
    CMainScreen scratch;
    CMainScreen& screen = g_mainScreen ? *g_mainScreen : scratch;

    for (;;) {
        int32_t result = in.ReadFieldOrClose();
        if (result != FIELD_READ)
            return result; // FIELD_BLOCK_END once the block's "}" was taken

        const uint32_t key = in.key.code;
        if (key >= KW_GROUP1 && key <= KW_GROUP0) {
            if (in.value.code != TOKEN_OPEN_BRACE) {
                in.ReportError("not id field in unitlist");
                continue;
            }
            result = ReadUnitGroup(in, screen.GetUnitGroup(static_cast<int>(key - KW_GROUP1)));
            if (result != FIELD_BLOCK_END)
                return result;
            continue;
        }
        switch (key) {
        case KW_MOUSE:
        case KW_MAP: {
            if (in.value.code != TOKEN_OPEN_BRACE) {
                in.ReportError("Illegal Argument");
                break;
            }
            MousePosition& mouse = *GetMousePosition();
            int32_t x = key == KW_MOUSE ? mouse.x : g_viewCentreX;
            int32_t y = key == KW_MOUSE ? mouse.y : g_viewCentreY;
            result = ReadPoint(in, x, y);
            if (result == FIELD_END_OF_FILE)
                return result;
            if (key == KW_MOUSE) {
                mouse.x = x;
                mouse.y = y;
            } else {
                SetViewCentre(x, y);
            }
            break;
        }
        case KW_MAPMODE:
            RecolourMap(g_viewingCountry, TokenToInt(in.value.text));
            break;
        case KW_ZOOM:
            SetZoomShift(TokenToInt(in.value.text));
            break;
        case KW_MERCHANT:
            if (in.value.code == KW_YES)
                screen.merchant = 1;
            else if (in.value.code != KW_NO)
                in.ReportError("Illegal Argument");
            break;
        case KW_RELIGION:
        case KW_TREASURY:
            if (in.value.code != TOKEN_OPEN_BRACE) {
                in.ReportError("Illegal Argument");
                break;
            }
            if (key == KW_RELIGION)
                ReadPressedStates(in, screen.religionWindow);
            else
                ReadPressedStates(in, screen.treasuryWindow);
            break;
        default:
            in.ReportError("unknown interface data");
            return FIELD_ERROR;
        }
    }
}

// The interface object of a saved game: what it writes of the player's
// screen, and what reading it restores.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/ObjectId.h"
#include "net/MousePosition.h"
#include "tests/data/TextFormatFixture.h"
#include "ui/InterfaceSection.h"
#include "ui/MainScreen.h"
#include "world/MapView.h"

namespace test {
namespace {

// A fresh main game screen, cursor and map view around each test.
class InterfaceSectionTest : public TextFormatTest {
protected:
    void SetUp() override {
        TextFormatTest::SetUp();
        ResetScreen();
        InitIdRegistries(g_nullId);
    }

    void TearDown() override {
        reader.Close();
        ResetScreen();
        delete g_mainScreen;
        g_mainScreen = nullptr;
        FreeIdRegistries();
    }

    void ResetScreen() {
        delete g_mainScreen;
        g_mainScreen = new CMainScreen();
        g_mousePos = MousePosition();
        SetViewCentre(0, 0);
        RecolourMap(0, 0);
        SetZoomShift(0);
    }

    // Opens the text (a block with its "{") and takes the "{".
    void OpenBlock(const std::string& text) {
        reader.Close();
        OpenText(text);
        File().Next();
    }

    std::vector<ObjectId> Group(int index) {
        std::vector<ObjectId> ids;
        g_mainScreen->GetUnitGroup(index).ForEach([&](ObjectId id) { ids.push_back(id); });
        return ids;
    }

    std::vector<uint8_t> Pressed(const CButtonControls<6>& window) {
        std::vector<uint8_t> states;
        for (const auto& control : window.controls)
            states.push_back(control.button.IsPressed() ? 1 : 0);
        return states;
    }
};

// A registered object that a unit group can name.
struct Registered : CIdObject {
    explicit Registered(uint32_t number) { SetId(ObjectId(4712, number)); }
};

TEST_F(InterfaceSectionTest, InterfaceWritesTheScreenAndReadsItBack) {
    Registered first(5), second(9);
    g_mousePos = {120, 340};
    SetViewCentre(5000, 2000);
    RecolourMap(0, 3);
    SetZoomShift(2);
    g_mainScreen->merchant = 1;
    g_mainScreen->GetUnitGroup(0).AddTail(first.GetId());
    g_mainScreen->GetUnitGroup(9).AddTail(second.GetId());
    g_mainScreen->GetUnitGroup(9).AddTail(first.GetId());
    g_mainScreen->religionWindow.controls[7].button.Press();
    g_mainScreen->treasuryWindow.controls[1].button.Press();

    const std::string printed = Print(WriteInterfaceSection());
    EXPECT_EQ(
        printed.rfind("{ \n    mouse = { x = 120 y = 340 } \n    map = { x = 5000 y = 2000 } \n"
                      "    mapmode = 3 \n    zoom = 2 \n    merchant = yes \n"
                      "    group1 = { id = { type = 4712 id = 5 } } \n    group2 = { } \n",
                      0),
        0u)
        << printed;
    EXPECT_NE(printed.find(
                  "group0 = { id = { type = 4712 id = 9 } id = { type = 4712 id = 5 } } \n"
                  "    religion = { 0 0 0 0 0 0 0 1 } \n    treasury = { 0 1 0 0 0 0 } \n    } "),
              std::string::npos)
        << printed;

    // A fresh screen; the registered objects stay.
    ResetScreen();
    OpenBlock(printed);
    EXPECT_EQ(ReadInterfaceSection(reader), FIELD_BLOCK_END);
    EXPECT_EQ(g_mousePos.x, 120);
    EXPECT_EQ(g_mousePos.y, 340);
    EXPECT_EQ(g_viewCentreX, 5000);
    EXPECT_EQ(g_viewCentreY, 2000);
    EXPECT_EQ(g_mapMode, 3);
    EXPECT_EQ(g_zoomShift, 2);
    EXPECT_EQ(g_mainScreen->merchant, 1);
    EXPECT_EQ(Group(0), std::vector<ObjectId>{first.GetId()});
    EXPECT_EQ(Group(9), (std::vector<ObjectId>{second.GetId(), first.GetId()}));
    EXPECT_TRUE(Group(1).empty());
    EXPECT_TRUE(g_mainScreen->religionWindow.controls[7].button.IsPressed());
    EXPECT_EQ(Pressed(g_mainScreen->treasuryWindow), (std::vector<uint8_t>{0, 1, 0, 0, 0, 0}));
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(InterfaceSectionTest, InterfaceReadingKeepsWhatTheBlockDoesNotChange) {
    Registered known(5);
    g_mainScreen->merchant = 1;
    CButton& held = g_mainScreen->treasuryWindow.controls[0].button;
    held.soundLatch = 1;
    g_mainScreen->treasuryWindow.controls[1].button.Press();

    // "no" keeps the flag; an id of a vanished object is dropped; a list of
    // four entries touches four controls, and a 0 releases nothing.
    OpenBlock(
        "{ merchant = no group3 = { id = { type = 4712 id = 77 } id = { type = 4712 id = 5 } } "
        "treasury = { 1 0 0 1 } }");
    EXPECT_EQ(ReadInterfaceSection(reader), FIELD_BLOCK_END);
    EXPECT_EQ(g_mainScreen->merchant, 1);
    EXPECT_EQ(Group(2), std::vector<ObjectId>{known.GetId()});
    EXPECT_EQ(Pressed(g_mainScreen->treasuryWindow), (std::vector<uint8_t>{1, 1, 0, 1, 0, 0}));
    EXPECT_EQ(held.soundLatch, 0);
    EXPECT_EQ(held.frame, CButton::kFrameDown);

    // An empty block changes nothing.
    OpenBlock("{ }");
    EXPECT_EQ(ReadInterfaceSection(reader), FIELD_BLOCK_END);
    EXPECT_EQ(Group(2).size(), 1u);
}

TEST_F(InterfaceSectionTest, InterfaceErrors) {
    struct Case {
        const char* text;
        int32_t result;
        const char* box;
    };
    const Case cases[] = {
        {"{ weather = 3 }", -2, "unknown interface data"},
        {"{ merchant = maybe }", 0, "Illegal Argument"},
        {"{ group1 = { unit = 3 } }", 0, "not id field in unitlist"},
        {"{ group1 = { id { type = 4712 id = 5 } } mapmode = 3 }", -2, nullptr},
        {"{ group1 = { id = { type = 4712 id = 5 }", -1, nullptr},
        {"{ zoom = 1", -1, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        boxes.texts.clear();
        OpenBlock(c.text);
        EXPECT_EQ(ReadInterfaceSection(reader), c.result);
        if (c.box) {
            EXPECT_TRUE(BoxShown(c.box));
        }
    }
}

} // namespace
} // namespace test

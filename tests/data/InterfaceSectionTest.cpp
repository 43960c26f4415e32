// The interface and year-book sections of a saved game: what they write,
// and what reading them restores.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/DataTree.h"
#include "data/InterfaceSection.h"
#include "data/YearBookSection.h"
#include "tests/data/GameFileFixture.h"

namespace test {
namespace {

class SectionTest : public GameFileTest {
protected:
    // Opens the text (a block with its "{") and takes the "{".
    void OpenBlock(const std::string& text) {
        dir.WriteFile("section.txt", text);
        platform::ForgetPathCache();
        in.Open("section.txt", "r");
        in.GetTokenFile()->Next();
    }

    // The section's tree as the file prints it.
    std::string Print(CDataBlock* tree) {
        CNodeRef<CDataBlock> held(tree);
        CFieldReader out;
        out.Open("printed.txt", "w");
        EXPECT_EQ(held->Write(out, 0), 0);
        out.Close();
        return dir.ReadFile("printed.txt");
    }

    std::vector<ObjectId> Group(int index) {
        std::vector<ObjectId> ids;
        g_mainScreen->GetUnitGroup(index).ForEach([&](ObjectId id) { ids.push_back(id); });
        return ids;
    }

    std::vector<uint8_t> Pressed(const CButtonControls<6>& window) {
        std::vector<uint8_t> states;
        for (const auto& control : window.controls)
            states.push_back(control.button.pressed);
        return states;
    }

    CFieldReader in;
};

// A registered object that a unit group can name.
struct Registered : CIdObject {
    explicit Registered(uint32_t number) { SetId(ObjectId(4712, number)); }
};

TEST_F(SectionTest, InterfaceWritesTheScreenAndReadsItBack) {
    Registered first(5), second(9);
    g_mousePos = {120, 340};
    SetViewCentre(5000, 2000);
    RecolourMap(0, 3);
    SetZoomShift(2);
    g_mainScreen->merchant = 1;
    g_mainScreen->GetUnitGroup(0).AddTail(first.GetId());
    g_mainScreen->GetUnitGroup(9).AddTail(second.GetId());
    g_mainScreen->GetUnitGroup(9).AddTail(first.GetId());
    g_mainScreen->religionWindow.controls[7].button.pressed = 1;
    g_mainScreen->treasuryWindow.controls[1].button.pressed = 1;

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
    delete g_mainScreen;
    g_mainScreen = new CMainScreen();
    g_mousePos = MousePosition();
    SetViewCentre(0, 0);
    RecolourMap(0, 0);
    SetZoomShift(0);
    OpenBlock(printed);
    EXPECT_EQ(ReadInterfaceSection(in), 0);
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
    EXPECT_EQ(g_mainScreen->religionWindow.controls[7].button.pressed, 1);
    EXPECT_EQ(Pressed(g_mainScreen->treasuryWindow), (std::vector<uint8_t>{0, 1, 0, 0, 0, 0}));
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(SectionTest, InterfaceReadingKeepsWhatTheBlockDoesNotChange) {
    Registered known(5);
    g_mainScreen->merchant = 1;
    CButton& held = g_mainScreen->treasuryWindow.controls[0].button;
    held.held = 1;
    g_mainScreen->treasuryWindow.controls[1].button.pressed = 1;

    // "no" keeps the flag; an id of a vanished object is dropped; a list of
    // four entries touches four controls, and a 0 releases nothing.
    OpenBlock(
        "{ merchant = no group3 = { id = { type = 4712 id = 77 } id = { type = 4712 id = 5 } } "
        "treasury = { 1 0 0 1 } }");
    EXPECT_EQ(ReadInterfaceSection(in), 0);
    EXPECT_EQ(g_mainScreen->merchant, 1);
    EXPECT_EQ(Group(2), std::vector<ObjectId>{known.GetId()});
    EXPECT_EQ(Pressed(g_mainScreen->treasuryWindow), (std::vector<uint8_t>{1, 1, 0, 1, 0, 0}));
    EXPECT_EQ(held.held, 0);
    EXPECT_EQ(held.GetFrame(), 1);

    // An empty block changes nothing.
    in.Close();
    OpenBlock("{ }");
    EXPECT_EQ(ReadInterfaceSection(in), 0);
    EXPECT_EQ(Group(2).size(), 1u);
}

TEST_F(SectionTest, InterfaceErrors) {
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
        in.Close();
        OpenBlock(c.text);
        EXPECT_EQ(ReadInterfaceSection(in), c.result);
        if (c.box) {
            EXPECT_TRUE(BoxShown(c.box));
        }
    }
}

TEST_F(SectionTest, YearBookWritesThirteenPagesInOrder) {
    const std::string printed = Print(WriteYearBookSection());
    EXPECT_EQ(
        printed,
        "{ \n    vp = { } \n    monarch = { } \n    wealth = { } \n    pe = { } \n    te = { } \n"
        "    inflation = { } \n    income = { } \n    expense = { } \n    landtech = { } \n"
        "    navaltech = { } \n    army = { } \n    navy = { } \n    size = { } \n    } ");
}

TEST_F(SectionTest, YearBookReadsIntoItsPagesAfterRebuildingThem) {
    OpenBlock("{ navy = { 1 2 } }");
    ASSERT_EQ(ReadYearBookSection(in), 0);
    in.Close();
    // Keys in any order; a key given twice reads into its page again; pages
    // the block leaves out start empty.
    OpenBlock("{ size = { 5 } VP = { 1 2 3 } vp = { 4 } }");
    ASSERT_EQ(ReadYearBookSection(in), 0);
    EXPECT_EQ(g_yearBook.GetPage(29)->GetCount(), 1u);
    EXPECT_EQ(g_yearBook.GetPage(0)->GetCount(), 1u);
    EXPECT_EQ(g_yearBook.GetPage(0)->GetBlock()->GetChild(0)->GetInt(), 4);
    EXPECT_EQ(g_yearBook.GetPage(24)->GetCount(), 0u);

    const std::string printed = Print(WriteYearBookSection());
    EXPECT_NE(printed.find("    vp = { 4 } \n"), std::string::npos) << printed;
    EXPECT_NE(printed.find("    size = { 5 } \n    } "), std::string::npos) << printed;

    in.Close();
    OpenBlock("{ vp = { 1 } diary = { } army = { 2 } }");
    EXPECT_EQ(ReadYearBookSection(in), -2);
    EXPECT_TRUE(BoxShown("unknown EYR page"));
    EXPECT_EQ(g_yearBook.GetPage(23)->GetCount(), 0u);
}

} // namespace
} // namespace test

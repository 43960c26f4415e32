// The interface button table: "config\buttons.txt" read into the slots of
// the fixed ids, the bad blocks reported and dropped, the buttons' clicks,
// up lists and held repeats, and the generated file with all 99 buttons.
#include "ui/widgets/InterfaceButton.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/Keywords.h"
#include "data/TokenFile.h"
#include "engine/GameTimer.h"
#include "engine/TextDatabase.h"
#include "net/EventTypes.h"
#include "net/InputEvent.h"
#include "net/MousePosition.h"
#include "tests/TestSupport.h"
#include "tests/engine/ImageTestSupport.h"
#include "ui/widgets/PopupHost.h"

namespace {

class Recorder : public CButtonCommandListener {
public:
    void OnButtonCommand(int32_t id) override { commands.push_back(id); }
    std::vector<int32_t> commands;
};

class InterfaceButtonTest : public ::testing::Test {
protected:
    InterfaceButtonTest() {
        BuildKeywordIndex();
        // The placeholder, a face of four 8 x 8 frames and an icon.
        dir.WriteFile("gfx/dummy.bmp", imagetest::FrameStripBmp(1, 4, 4, 10));
        dir.WriteFile("gfx/interface/button area/face.bmp", imagetest::FrameStripBmp(4, 8, 8, 40));
        dir.WriteFile("gfx/interface/button area/icon.bmp", imagetest::FrameStripBmp(1, 8, 8, 90));
        dir.WriteFile("config/text.csv", "TIP;Zoom in;;;;;;;;;\r\n#EOF;\r\n");
        EXPECT_TRUE(g_textDatabase.Load(0));
    }
    ~InterfaceButtonTest() override { g_inputState.leftHeld = 0; }

    // Reads the text as the button file.
    std::unique_ptr<CInterfaceButtonTable> Read(const std::string& text) {
        dir.WriteFile("config/buttons.txt", text);
        return std::make_unique<CInterfaceButtonTable>("config\\buttons.txt");
    }
    static size_t CountButtons(const CInterfaceButtonTable& table) {
        size_t count = 0;
        for (const CInterfaceButton* button : table.slots)
            count += button != nullptr;
        return count;
    }

    test::ScopedGameDir dir;
    test::BoxRecorder boxes;
};

TEST_F(InterfaceButtonTest, BlocksFillTheSlotsOfTheirIdsWithTheirKinds) {
    auto table = Read("hold = { id = \"BUTTON_ZOOM_IN\" background = \"face.bmp\" "
                      "bitmap = \"icon.bmp\" shortcut = \"f2\" upper = \"TIP\" lower = \"\" "
                      "shadow = yes }\n"
                      "press = { shortcut = \"esc\" id = \"BUTTON_EXIT_ORVANDEL\" }\n"
                      "lighted = { id = \"BUTTON_BUILD_BARRACK\" }\n"
                      "generic = { id = \"BUTTON_EDITOR_CITY\" }\n");
    EXPECT_EQ(table->readResult, FIELD_END_OF_FILE);
    ASSERT_EQ(CountButtons(*table), 4u);
    CInterfaceButton* zoom = table->Get(BUTTON_ZOOM_IN);
    ASSERT_NE(zoom, nullptr);
    EXPECT_NE(dynamic_cast<CHoldButton*>(zoom), nullptr);
    EXPECT_EQ(zoom->hotkey, 254);
    EXPECT_EQ(zoom->upper, "Zoom in");
    EXPECT_EQ(zoom->lower, "");
    EXPECT_EQ(zoom->shadow, 1);
    EXPECT_EQ(zoom->frameCount, 4);
    EXPECT_EQ(zoom->GetPosition().x, -1000);
    EXPECT_EQ(table->Get(BUTTON_EXIT_ORVANDEL)->hotkey, 14);
    EXPECT_TRUE(table->Get(BUTTON_BUILD_BARRACK)->IsLighted());
    EXPECT_EQ(table->Get(BUTTON_BUILD_BARRACK)->frameCount, 1);
    EXPECT_TRUE(table->Get(BUTTON_EDITOR_CITY)->IsTextButton());
    EXPECT_EQ(table->Get(BUTTON_PAUSE), nullptr);
    EXPECT_EQ(table->Get(-1), nullptr);
    EXPECT_EQ(table->Get(101), nullptr);
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(InterfaceButtonTest, ShortcutsByNameOrFirstCharacter) {
    struct Case {
        const char* text;
        int32_t code;
    } cases[] = {{"enter", 13}, {"esc", 14}, {"del", 7},     {"f1", 255}, {"f10", 246},
                 {"x", 'x'},    {"F1", 'F'}, {"Enter", 'E'}, {"", -1}};
    for (const Case& c : cases)
        EXPECT_EQ(ParseShortcut(c.text), c.code) << c.text;
}

TEST_F(InterfaceButtonTest, BadBlocksAreReportedAndDroppedWithoutLosingTheOthers) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<int32_t> kept;
        const char* report; // a text the reports hold, or null for none
    } cases[] = {
        {"unknown keyword stops",
         "press = { id = \"BUTTON_PAUSE\" }\nwindow = { id = \"BUTTON_GIFT\" }\n"
         "press = { id = \"BUTTON_VP\" }\n",
         {BUTTON_PAUSE},
         "Unexpected field"},
        {"unknown id",
         "press = { id = \"BUTTON_NOTHING\" }\npress = { id = \"BUTTON_VP\" }\n",
         {BUTTON_VP},
         "Unknown id"},
        {"missing id",
         "press = { shortcut = \"x\" }\npress = { id = \"BUTTON_VP\" }\n",
         {BUTTON_VP},
         "Unknown id"},
        {"name in another case", "press = { id = \"button_vp\" }\n", {}, "Unknown id"},
        {"end inside a block",
         "press = { id = \"BUTTON_VP\" }\npress = { id = \"BUTTON_GIFT\"",
         {BUTTON_VP},
         nullptr},
        {"end inside an up list",
         "press = { id = \"BUTTON_VP\" }\npress = { id = \"BUTTON_GIFT\" up = { \"BUTTON_VP\",",
         {BUTTON_VP},
         nullptr},
        {"a number in an up list",
         "press = { id = \"BUTTON_VP\" }\npress = { id = \"BUTTON_GIFT\" up = { 12 } }\n"
         "press = { id = \"BUTTON_PAUSE\" }\n",
         {BUTTON_VP},
         "Bad up list"},
        {"unknown key ends its block",
         "press = { id = \"BUTTON_VP\" colour = \"red\" }\npress = { id = \"BUTTON_GIFT\" }\n",
         {BUTTON_VP, BUTTON_GIFT},
         "InterfaceButton : Unexpected Field"},
        {"no curly",
         "press = \"x\"\npress = { id = \"BUTTON_GIFT\" }\n",
         {BUTTON_GIFT},
         "No Left Curly"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::BoxRecorder reports;
        auto table = Read(c.text);
        EXPECT_EQ(CountButtons(*table), c.kept.size());
        for (int32_t id : c.kept) {
            ASSERT_NE(table->slots[static_cast<size_t>(id)], nullptr) << id;
            EXPECT_EQ(table->slots[static_cast<size_t>(id)]->GetId(), id);
        }
        if (c.report)
            EXPECT_TRUE(reports.Shown(c.report));
        else
            EXPECT_TRUE(reports.texts.empty());
    }
}

TEST_F(InterfaceButtonTest, LaterBlockOfAnIdWinsAndIllegalShadowKeepsTheFlag) {
    auto table = Read("press = { id = \"BUTTON_VP\" shortcut = \"a\" shadow = yes }\n"
                      "press = { id = \"BUTTON_VP\" shortcut = \"b\" shadow = maybe }\n"
                      "press = { id = \"BUTTON_GIFT\" shadow = yes shadow = maybe }\n");
    EXPECT_EQ(CountButtons(*table), 2u);
    EXPECT_EQ(table->Get(BUTTON_VP)->hotkey, 'b');
    EXPECT_EQ(table->Get(BUTTON_VP)->shadow, 0);
    EXPECT_EQ(table->Get(BUTTON_GIFT)->shadow, 1);
    EXPECT_TRUE(boxes.Shown("Illegal Argument"));
}

TEST_F(InterfaceButtonTest, UnknownNamesAreLeftOutOfUpLists) {
    auto table = Read("press = { id = \"BUTTON_VP\" up = { \"BUTTON_GIFT\", BUTTON_NONE, "
                      "\"BUTTON_PAUSE\" } }\n");
    ASSERT_NE(table->Get(BUTTON_VP), nullptr);
    EXPECT_EQ(table->Get(BUTTON_VP)->upList, (std::vector<int32_t>{BUTTON_GIFT, BUTTON_PAUSE}));
    EXPECT_TRUE(boxes.Shown("Unknown button name"));
}

TEST_F(InterfaceButtonTest, ClickReleasesTheUpListAndStaysDownOrReleasesItself) {
    auto table =
        Read("press = { id = \"BUTTON_MAPMODE_NORMAL\" background = \"face.bmp\" up = { "
             "\"BUTTON_MAPMODE_RESOURCE\", \"BUTTON_MAPMODE_POLITICAL\", \"BUTTON_VP\" } }\n"
             "press = { id = \"BUTTON_MAPMODE_RESOURCE\" background = \"face.bmp\" }\n"
             "press = { id = \"BUTTON_MAPMODE_POLITICAL\" background = \"face.bmp\" }\n");
    Recorder recorder;
    CInterfaceButton* normal = table->Get(BUTTON_MAPMODE_NORMAL);
    CInterfaceButton* resource = table->Get(BUTTON_MAPMODE_RESOURCE);
    CInterfaceButton* political = table->Get(BUTTON_MAPMODE_POLITICAL);
    normal->listener = &recorder;
    resource->listener = &recorder;
    resource->Press();
    political->Press();

    normal->SetPosition(100, 100);
    g_mousePos = {102, 102};
    CInputEvent down(EVT_MOUSELBDOWN, ObjectId{}, 0, 0, 102, 102);
    CInputEvent up(EVT_MOUSELBUP, ObjectId{}, 0, 0, 102, 102);
    normal->HandleEvent(down);
    normal->HandleEvent(up);
    EXPECT_EQ(recorder.commands, std::vector<int32_t>{BUTTON_MAPMODE_NORMAL});
    EXPECT_TRUE(normal->IsPressed());
    EXPECT_FALSE(resource->IsPressed());
    EXPECT_FALSE(political->IsPressed());

    // Without an up list the button comes back up after its click.
    resource->Click();
    EXPECT_FALSE(resource->IsPressed());
    EXPECT_EQ(recorder.commands.back(), BUTTON_MAPMODE_RESOURCE);
}

TEST_F(InterfaceButtonTest, HoldButtonRepeatsFasterTheLongerItIsHeld) {
    g_gameTimer = std::make_unique<CGameTimer>(15);
    auto table = Read("hold = { id = \"BUTTON_ZOOM_IN\" background = \"face.bmp\" }\n");
    CInterfaceButton* zoom = table->Get(BUTTON_ZOOM_IN);
    Recorder recorder;
    zoom->listener = &recorder;
    zoom->SetPosition(100, 100);
    g_mousePos = {102, 102};
    g_inputState.leftHeld = 1;
    CInputEvent down(EVT_MOUSELBDOWN, ObjectId{}, 0, 0, 102, 102);
    zoom->HandleEvent(down);
    ASSERT_TRUE(zoom->IsPressed());
    CInputEvent tick(EVT_TIMER_TICK_LOOP, ObjectId{});
    std::vector<size_t> firedPerTick;
    for (int i = 0; i < 20; ++i) {
        const size_t before = recorder.commands.size();
        zoom->HandleEvent(tick);
        firedPerTick.push_back(recorder.commands.size() - before);
    }
    EXPECT_EQ(firedPerTick,
              (std::vector<size_t>{0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2}));
    // Disabled while held: released at the next tick, and nothing fires.
    table->Disable(BUTTON_ZOOM_IN);
    EXPECT_FALSE(zoom->IsPressed());
    zoom->Press();
    const size_t before = recorder.commands.size();
    zoom->HandleEvent(tick);
    EXPECT_FALSE(zoom->IsPressed());
    EXPECT_EQ(recorder.commands.size(), before);
    g_gameTimer.reset();
}

TEST_F(InterfaceButtonTest, EnableDisableHideAndDeletion) {
    auto table =
        Read("press = { id = \"BUTTON_VP\" background = \"face.bmp\" bitmap = \"icon.bmp\" }\n"
             "press = { id = \"BUTTON_GIFT\" background = \"face.bmp\" }\n");
    CInterfaceButton* vp = table->Get(BUTTON_VP);
    vp->SetPosition(40, 50);
    EXPECT_EQ(vp->background.GetPosition().x, 40);
    vp->Press();
    table->Disable(BUTTON_VP);
    EXPECT_FALSE(vp->IsPressed());
    EXPECT_EQ(vp->disabled, 1);
    EXPECT_EQ(vp->frame, CButton::kFrameDisabled);
    table->Enable(BUTTON_VP);
    EXPECT_EQ(vp->disabled, 0);
    EXPECT_EQ(vp->frame, CButton::kFramePlain);
    table->Hide(BUTTON_VP);
    EXPECT_EQ(vp->GetPosition().x, -1000);
    EXPECT_EQ(vp->background.GetPosition().y, -1000);
    table->Get(BUTTON_GIFT)->SetPosition(5, 5);
    table->HideAll();
    EXPECT_EQ(table->Get(BUTTON_GIFT)->GetPosition().x, -1000);
    // Ids without a button are only logged.
    table->Enable(BUTTON_PAUSE);
    table->Disable(-1);
    table->Hide(200);
    delete vp;
    EXPECT_EQ(table->slots[BUTTON_VP], nullptr);
}

TEST_F(InterfaceButtonTest, FileThatCannotBeOpenedLeavesTheTableEmpty) {
    CInterfaceButtonTable table("config\\missing.txt");
    EXPECT_EQ(CountButtons(table), 0u);
    EXPECT_EQ(table.Get(BUTTON_VP), nullptr);
}

TEST(GeneratedButtonsTest, AllNinetyNineButtonsLoadAndEveryIdIsFound) {
    BuildKeywordIndex();
    test::InFolder inWorld(test::DemoWorldDir());
    test::BoxRecorder boxes;
    ASSERT_TRUE(g_textDatabase.Load(0));
    CInterfaceButtonTable table("config\\buttons.txt");
    EXPECT_EQ(table.readResult, FIELD_END_OF_FILE);
    int32_t found = 0;
    for (int32_t id = 0; id < kInterfaceButtonCount; ++id) {
        if (!GetInterfaceButtonName(id))
            continue;
        CInterfaceButton* button = table.Get(id);
        ASSERT_NE(button, nullptr) << GetInterfaceButtonName(id);
        EXPECT_EQ(button->GetId(), id);
        EXPECT_FALSE(button->upper.empty()) << id;
        if (!button->IsTextButton())
            EXPECT_GT(button->GetWidth(), 0) << id;
        ++found;
    }
    EXPECT_EQ(found, 99);
    EXPECT_NE(dynamic_cast<CHoldButton*>(table.Get(BUTTON_ZOOM_IN)), nullptr);
    EXPECT_EQ(table.Get(BUTTON_MAPMODE_NORMAL)->upList,
              (std::vector<int32_t>{BUTTON_MAPMODE_RESOURCE, BUTTON_MAPMODE_POLITICAL}));
    EXPECT_TRUE(boxes.texts.empty());
}

} // namespace

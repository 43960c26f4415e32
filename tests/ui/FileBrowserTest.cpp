// The file browser over a temporary folder tree: folders first, then the
// files of the extension shown without their final extension; entering
// folders (a folder named "a.b" too), going up, picking, typing, cancelling,
// and the refusal of a path over 255 characters.
#include "ui/widgets/FileBrowser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/Sprite.h"
#include "tests/ui/PopupScreen.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/EditField.h"
#include "ui/widgets/ListBox.h"

namespace {

std::string GameStyle(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

class FileBrowserTest : public ::testing::Test {
protected:
    FileBrowserTest() : window(400, 420, 16) {
        tree.WriteFile("saves/x.v2.ovg", "game");
        tree.WriteFile("saves/notes.txt", "text");
        tree.WriteFile("saves/a.b/inner.ovg", "game");
        tree.WriteFile("saves/sub/deep.ovg", "game");
        tree.WriteFile("saves/.hidden/secret.ovg", "game");
        folder = GameStyle(tree.Path().string() + "/saves");
        window.SetPosition(200, 40);
    }

    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (int32_t i = 0; i < browser->List().GetRowCount(); ++i)
            rows.push_back(browser->List().GetRow(i)->fullText);
        return rows;
    }
    // The point inside the list's visible row.
    int32_t RowX() const { return browser->List().x0 + 40; }
    int32_t RowY(int32_t row) const { return browser->List().RowTop(row) + 2; }
    void Open(const char* name = "") {
        browser =
            std::make_unique<CFileBrowser>("Load a game", &window, name, folder.c_str(), "ovg");
        screen.SetTarget(*browser);
    }

    popuptest::PopupScreen world;
    uitest::ScreenHarness& screen = world.screen;
    test::TempDir tree;
    std::string folder;
    CSprite window;
    std::unique_ptr<CFileBrowser> browser;
};

TEST_F(FileBrowserTest, ListsParentFoldersThenFilesWithoutTheirExtension) {
    Open();
    EXPECT_EQ(Rows(),
              (std::vector<std::string>{"%070[ . . ]", "%070[a.b]", "%070[sub]", "%067x.v2"}));
    EXPECT_EQ(browser->List().GetRow(0)->data, CFileBrowser::kParentRow);
    EXPECT_EQ(browser->List().GetRow(1)->data, 0u);
    EXPECT_EQ(browser->List().GetRow(3)->data, CFileBrowser::kFileRow);
    EXPECT_EQ(FileNameWithoutExtension("x.v2.ovg"), "x.v2");
    EXPECT_EQ(FileNameWithoutExtension(".ovg"), ".ovg");
    browser->Draw(0);
    screen.CheckGolden("file_browser", 220, 40, 520, 460);
}

TEST_F(FileBrowserTest, DoubleClicksEnterFoldersByTheirWholeNameAndGoUp) {
    Open();
    screen.DoubleClick(RowX(), RowY(1));
    EXPECT_EQ(browser->GetFolder(), folder + "\\a.b");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"%070[ . . ]", "%067inner"}));
    screen.DoubleClick(RowX(), RowY(0));
    EXPECT_EQ(browser->GetFolder(), folder);
    // Choosing a folder and OK enters it as well.
    screen.Click(RowX(), RowY(2));
    const SpritePoint ok = browser->OkButton().GetPosition();
    screen.Click(ok.x + 5, ok.y + 5);
    EXPECT_EQ(browser->GetFolder(), folder + "\\sub");
    EXPECT_EQ(browser->finished, 0);
    // A folder with no "\" after its first character has no parent.
    CFileBrowser top("Load", &window, "", "\\tmp", "ovg");
    EXPECT_FALSE(top.GoUp(true));
    EXPECT_NE(top.List().GetRowCount() > 0 ? top.List().GetRow(0)->data : 0,
              CFileBrowser::kParentRow);
}

TEST_F(FileBrowserTest, ClickingAFileNamesItAndOkAnswersFolderAndName) {
    Open();
    screen.Click(RowX(), RowY(3));
    EXPECT_EQ(browser->NameField().GetText(), "x.v2");
    const SpritePoint ok = browser->OkButton().GetPosition();
    screen.Click(ok.x + 5, ok.y + 5);
    EXPECT_EQ(browser->finished, 1);
    EXPECT_EQ(browser->accepted, 1);
    EXPECT_EQ(browser->GetSelectedPath(), folder + "\\x.v2");
}

TEST_F(FileBrowserTest, DoubleClickOnAFilePicksItAndEnterTakesATypedName) {
    Open();
    screen.DoubleClick(RowX(), RowY(3));
    EXPECT_EQ(browser->finished, 1);
    EXPECT_EQ(browser->pickedFromList, 1);

    Open("autosave");
    screen.Key(CEditField::kKeyEnd);
    screen.TypeText("Two");
    screen.Type(13);
    EXPECT_EQ(browser->accepted, 1);
    EXPECT_EQ(browser->pickedFromList, 0);
    EXPECT_EQ(browser->GetSelectedPath(), folder + "\\autosaveTwo");
}

TEST_F(FileBrowserTest, CancelAnswersNotAccepted) {
    Open("kept");
    const SpritePoint cancel = browser->CancelButton().GetPosition();
    screen.Click(cancel.x + 5, cancel.y + 5);
    EXPECT_EQ(browser->finished, 1);
    EXPECT_EQ(browser->accepted, 0);
}

TEST_F(FileBrowserTest, PathOverTwoHundredFiftyFiveCharactersIsRefusedWithAMessage) {
    folder += "\\" + std::string(240, 'f');
    Open(std::string(20, 'n').c_str());
    EXPECT_EQ(browser->GetSelectedPath(), std::nullopt);
    screen.Key(CEditField::kKeyEnd);
    screen.Type(13);
    EXPECT_EQ(browser->finished, 0);
    EXPECT_EQ(browser->accepted, 0);
    ASSERT_EQ(world.popups.GetCount(), 1u) << "the player is told";
}

} // namespace

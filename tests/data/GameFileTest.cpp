// The file reader and writer on their own, with recording objects in every
// registered place: top-level objects go to the reader registered under
// their keyword, the value rules and the errors that stop a file, includes,
// the fixed order of writing with its multiplayer difference, and a failed
// save that keeps the previous file. The objects of the running game are
// tested end to end in tests/windows/GameFileTest.cpp.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "data/GameFile.h"
#include "data/KeptBlock.h"
#include "data/Keywords.h"
#include "data/ScenarioHeader.h"
#include "data/WorldStateHash.h"
#include "engine/GameState.h"
#include "engine/ObjectId.h"
#include "platform/Files.h"
#include "tests/TestSupport.h"
#include "tests/data/TextFormatFixture.h"

namespace test {
namespace {

// Every read and write of the recording objects, in order: "keyword id" for
// a block read (its "id" field), "keyword value" for a value that is no
// block, "keyword wrote id" / "keyword refused id" for the objects written.
std::vector<std::string> g_log;

// How many objects each recording writer writes.
int g_objectsPerWriter = 1;

// Reads the block whole and logs its "id". A value that is no block is
// logged and stops the file (-2), as a reader that cannot read it answers.
int32_t RecordRead(CFieldReader& in) {
    std::string entry = KeywordText(in.key.code);
    if (in.value.code != TOKEN_OPEN_BRACE) {
        g_log.push_back(entry + " " + in.value.text);
        return FIELD_ERROR;
    }
    CKeptBlock block;
    const int32_t result = block.Read(in);
    if (const CDataNode* id = block.FindValue(KW_ID))
        entry += " " + std::to_string(id->GetInt());
    g_log.push_back(entry);
    return result;
}

// Writes the objects { id = 1 } .. { id = n }, stopping at the first one
// refused.
template <uint32_t Keyword> void RecordWrite(CGameFileOutput& out) {
    for (int id = 1; id <= g_objectsPerWriter; ++id) {
        CDataBlock* block = new CDataBlock;
        block->AddChild(new CDataAssignment(KW_ID, new CDataInt(id)));
        const bool written = out.Write(block);
        g_log.push_back(std::string(KeywordText(Keyword)) + (written ? " wrote " : " refused ") +
                        std::to_string(id));
        if (!written)
            return;
    }
}

bool g_multiplayer = false;

struct Registration {
    uint32_t keyword;
    GameFileObject object;
};

// The registered objects with the value rules their owners give them.
const Registration kRecorders[] = {
    {KW_GLOBALDATA, {&RecordRead, &RecordWrite<KW_GLOBALDATA>, GameFileValue::Block}},
    {KW_PROVINCE, {&RecordRead, &RecordWrite<KW_PROVINCE>, GameFileValue::QuietBlock}},
    {KW_COT, {&RecordRead, &RecordWrite<KW_COT>, GameFileValue::Block}},
    {KW_COUNTRY, {&RecordRead, &RecordWrite<KW_COUNTRY>, GameFileValue::QuietBlock}},
    {KW_MISSION, {&RecordRead, nullptr, GameFileValue::Block}},
    {KW_EYR, {&RecordRead, &RecordWrite<KW_EYR>, GameFileValue::Block}},
    {KW_INTERFACE, {&RecordRead, &RecordWrite<KW_INTERFACE>, GameFileValue::Block}},
    {KW_MECENAT, {&RecordRead, &RecordWrite<KW_MECENAT>, GameFileValue::Block}},
    {KW_COMBAT, {&RecordRead, &RecordWrite<KW_COMBAT>, GameFileValue::AnyValue}},
};

class GameFileObjectsTest : public TextFormatTest {
protected:
    void SetUp() override {
        TextFormatTest::SetUp();
        // Whatever owners this program links give way to the recorders.
        for (const Registration& recorder : kRecorders) {
            const GameFileObject* owner = FindGameFileObject(recorder.keyword);
            m_owners.push_back({recorder.keyword, owner ? *owner : GameFileObject{}});
            RegisterGameFileObject(recorder.keyword, recorder.object);
        }
        m_multiplayerHook = g_gameState.isMultiplayerGame;
        g_gameState.isMultiplayerGame = [] { return g_multiplayer; };
        g_multiplayer = false;
        g_objectsPerWriter = 1;
        g_log.clear();
        g_scenarioInfo.reset();
    }

    void TearDown() override {
        for (const Registration& owner : m_owners)
            RegisterGameFileObject(owner.keyword, owner.object);
        g_gameState.isMultiplayerGame = m_multiplayerHook;
        g_scenarioInfo.reset();
        FreeIdRegistries();
    }

    // The saved file from its second object on (the header's fields
    // depend on the running game).
    std::string SavedAfterHeader(const std::string& path) const {
        const std::string bytes = dir.ReadFile(path);
        const size_t end = bytes.find("\n    } \n\n");
        return end == std::string::npos ? bytes : bytes.substr(end + 9);
    }

private:
    std::vector<Registration> m_owners;
    bool (*m_multiplayerHook)() = nullptr;
};

TEST_F(GameFileObjectsTest, StructuralErrorsAtTheTopLevelStopTheRead) {
    struct Case {
        const char* name;
        const char* text;
        int32_t result;
        std::vector<std::string> log; // what the readers took
        const char* box;              // null: no box expected
    };
    const Case cases[] = {
        {"empty file", "", FIELD_BLOCK_END, {}, nullptr},
        {"comments only", "# nothing here\n; nor here\n", FIELD_BLOCK_END, {}, nullptr},
        {"each object to its reader",
         "country = { id = 3 }\nprovince = { id = 4 }\ncot = { }\n",
         FIELD_BLOCK_END,
         {"country 3", "province 4", "cot"},
         nullptr},
        {"unknown key",
         "globaldata = { id = 1 }\nweather = { rain = yes }\nglobaldata = { id = 2 }\n",
         FIELD_ERROR,
         {"globaldata 1"},
         "Illegal top level object"},
        {"stray close brace",
         "globaldata = { id = 1 }\n}\nglobaldata = { id = 2 }\n",
         FIELD_ERROR,
         {"globaldata 1"},
         "Illegal top level object"},
        {"missing equals",
         "globaldata = { id = 1 }\nprovince { id = 5 }\nglobaldata = { id = 2 }\n",
         FIELD_ERROR,
         {"globaldata 1"},
         nullptr}, // logged, no box
        {"header without brace",
         "header = 5\nglobaldata = { id = 1 }\n",
         FIELD_BLOCK_END,
         {"globaldata 1"},
         "No left curly"},
        {"block without brace",
         "eyr = 5\nmission = tag\nglobaldata = { id = 1 }\n",
         FIELD_BLOCK_END,
         {"globaldata 1"},
         "No left curly"},
        {"quiet block without brace",
         "country = ENG\nprovince = 5\nglobaldata = { id = 1 }\n",
         FIELD_BLOCK_END,
         {"globaldata 1"},
         nullptr},
        {"any value, which the reader refuses",
         "combat = 3\nglobaldata = { id = 1 }\n",
         FIELD_ERROR,
         {"combat 3"},
         nullptr},
        {"key in capitals",
         "GLOBALDATA = { id = 1600 }\n",
         FIELD_BLOCK_END,
         {"globaldata 1600"},
         nullptr},
        {"file ending inside a block",
         "globaldata = { id = 1 }\nmecenat = { id = 2\n",
         FIELD_BLOCK_END,
         {"globaldata 1", "mecenat 2"},
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_log.clear();
        boxes.texts.clear();
        EXPECT_EQ(LoadText(c.text), c.result);
        EXPECT_EQ(g_log, c.log);
        if (c.box) {
            EXPECT_TRUE(BoxShown(c.box));
        } else {
            EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front();
        }
    }
}

TEST_F(GameFileObjectsTest, AnObjectWithoutOwnerStopsTheReadAndIsNotWritten) {
    RegisterGameFileObject(KW_EYR, GameFileObject{});
    EXPECT_EQ(FindGameFileObject(KW_EYR), nullptr);
    EXPECT_EQ(LoadText("globaldata = { id = 1 }\neyr = { id = 2 }\nglobaldata = { id = 3 }\n"),
              FIELD_ERROR);
    EXPECT_EQ(g_log, std::vector<std::string>{"globaldata 1"});
    EXPECT_TRUE(BoxShown("Illegal top level object"));

    ASSERT_EQ(SaveGameFile("saved.ovg"), FIELD_WRITTEN);
    EXPECT_EQ(SavedAfterHeader("saved.ovg").find("eyr"), std::string::npos);

    // Codes that are no keyword ids have no place in the table.
    RegisterGameFileObject(TOKEN_CLOSE_BRACE, {&RecordRead});
    RegisterGameFileObject(TOKEN_STRING, {&RecordRead});
    EXPECT_EQ(FindGameFileObject(TOKEN_CLOSE_BRACE), nullptr);
    EXPECT_EQ(FindGameFileObject(TOKEN_STRING), nullptr);
}

TEST_F(GameFileObjectsTest, IncludesReadInOrderAndRefuseCyclesAndDepth) {
    dir.WriteFile("a.inc", "globaldata = { id = 1501 }\n");
    dir.WriteFile("b.inc", "province = { id = 7 }\n");
    EXPECT_EQ(LoadText("include = \"a.inc\"\ninclude = b.inc\n"), FIELD_BLOCK_END);
    EXPECT_EQ(g_log, (std::vector<std::string>{"globaldata 1501", "province 7"}));
    EXPECT_TRUE(boxes.texts.empty());

    // A file that includes itself, directly or through another, is read once.
    g_log.clear();
    EXPECT_EQ(LoadText("province = { id = 8 }\ninclude = \"self.ovg\"\n", "self.ovg"),
              FIELD_BLOCK_END);
    EXPECT_EQ(g_log, std::vector<std::string>{"province 8"});
    EXPECT_TRUE(BoxShown("include of a file that is being read"));
    boxes.texts.clear();
    dir.WriteFile("ping.inc", "include = \"pong.inc\"\n");
    dir.WriteFile("pong.inc", "include = \"ping.inc\"\n");
    EXPECT_EQ(LoadText("include = \"ping.inc\"\n"), FIELD_BLOCK_END);
    EXPECT_TRUE(BoxShown("include of a file that is being read"));

    // A chain of 20 files stops at 16 levels: the provinces of the files
    // that were read follow their includes, the deepest first.
    boxes.texts.clear();
    g_log.clear();
    for (int i = 0; i < 20; ++i)
        dir.WriteFile("level" + std::to_string(i) + ".inc",
                      "include = \"level" + std::to_string(i + 1) +
                          ".inc\"\nprovince = { id = " + std::to_string(100 + i) + " }\n");
    EXPECT_EQ(LoadText("include = \"level0.inc\"\n"), FIELD_BLOCK_END);
    EXPECT_TRUE(BoxShown("include nested more than 16 files deep"));
    std::vector<std::string> levels;
    for (int i = 15; i >= 0; --i)
        levels.push_back("province " + std::to_string(100 + i));
    EXPECT_EQ(g_log, levels);

    // An include that cannot be opened reads nothing; the file goes on.
    boxes.texts.clear();
    g_log.clear();
    EXPECT_EQ(LoadText("include = \"missing.inc\"\nprovince = { id = 9 }\n"), FIELD_BLOCK_END);
    EXPECT_TRUE(BoxShown("Couldn't open file"));
    EXPECT_EQ(g_log, std::vector<std::string>{"province 9"});
}

TEST_F(GameFileObjectsTest, WritingKeepsTheOrderAndLeavesTheScreenOutOfMultiplayerGames) {
    g_objectsPerWriter = 2;
    const std::string blankLine = " \n\n";
    std::string objects;
    for (const char* keyword : {"globaldata", "province", "cot"})
        for (int id = 1; id <= 2; ++id)
            objects += std::string(keyword) + " = { id = " + std::to_string(id) + " }" + blankLine;
    // The countries start after one more line feed.
    objects += "\n";
    std::string countriesOn;
    for (const char* keyword : {"country", "eyr", "interface", "mecenat", "combat"})
        for (int id = 1; id <= 2; ++id)
            countriesOn +=
                std::string(keyword) + " = { id = " + std::to_string(id) + " }" + blankLine;
    countriesOn.resize(countriesOn.size() - 2); // no blank line after the last

    ASSERT_EQ(SaveGameFile("single.ovg"), FIELD_WRITTEN);
    EXPECT_EQ(dir.ReadFile("single.ovg").rfind("header = {", 0), 0u);
    EXPECT_EQ(SavedAfterHeader("single.ovg"), objects + countriesOn);

    g_multiplayer = true;
    ASSERT_EQ(SaveGameFile("multi.ovg"), FIELD_WRITTEN);
    std::string withoutScreen = objects;
    for (const char* keyword : {"country", "eyr", "combat"})
        for (int id = 1; id <= 2; ++id)
            withoutScreen +=
                std::string(keyword) + " = { id = " + std::to_string(id) + " }" + blankLine;
    withoutScreen.resize(withoutScreen.size() - 2);
    EXPECT_EQ(SavedAfterHeader("multi.ovg"), withoutScreen);
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(GameFileObjectsTest, AFailedWriteStopsTheWriters) {
    // Writing to a file that failed to open fails at the header: the
    // writers up to the centres of trade find their first object refused,
    // and the writers after them are not asked.
    CFieldReader closed;
    EXPECT_EQ(WriteGameFile(closed), FIELD_ERROR);
    EXPECT_EQ(g_log, (std::vector<std::string>{"globaldata refused 1", "province refused 1",
                                               "cot refused 1"}));
}

TEST_F(GameFileObjectsTest, FailedSaveKeepsThePreviousFile) {
    dir.WriteFile("kept.ovg", "old save\n");
    // A full disk: the temporary file is the device that is always full.
    std::filesystem::create_symlink("/dev/full", dir.Path() / "kept.ovg.tmp");
    platform::ForgetPathCache();
    EXPECT_EQ(SaveGameFile("kept.ovg"), FIELD_ERROR);
    EXPECT_EQ(dir.ReadFile("kept.ovg"), "old save\n");
    EXPECT_FALSE(
        std::filesystem::exists(std::filesystem::symlink_status(dir.Path() / "kept.ovg.tmp")));
    EXPECT_TRUE(BoxShown("Could not save the game"));

    // Paths that cannot be written: a folder that is a file, a read-only
    // file system.
    dir.WriteFile("plain", "x");
    for (const char* path : {"plain\\save.ovg", "/proc/orvandel-save.ovg"}) {
        SCOPED_TRACE(path);
        boxes.texts.clear();
        EXPECT_EQ(SaveGameFile(path), FIELD_ERROR);
        EXPECT_TRUE(BoxShown("Could not save the game"));
    }
}

TEST_F(GameFileObjectsTest, TheWorldStateHashIsTheHashOfTheSavedGameBytes) {
    // The text written into memory is byte for byte the saved file.
    ASSERT_EQ(SaveGameFile("saved.ovg"), FIELD_WRITTEN);
    std::string text = "left over";
    ASSERT_EQ(WriteGameToMemory(text), FIELD_WRITTEN);
    EXPECT_EQ(text, dir.ReadFile("saved.ovg"));

    const uint64_t first = WorldStateHash();
    EXPECT_EQ(first, Fnv1a64(text));
    EXPECT_EQ(WorldStateHash(), first); // writing changes nothing
    g_objectsPerWriter = 2;
    const uint64_t more = WorldStateHash();
    EXPECT_NE(more, first);
    // The screen's objects are not part of a multiplayer game's state.
    g_multiplayer = true;
    EXPECT_NE(WorldStateHash(), more);
    EXPECT_TRUE(boxes.texts.empty());
}

// Each machine numbers on after what it holds itself (the host also after
// what only it keeps): a saved game keeps where, the shared world leaves it
// out.
TEST_F(GameFileObjectsTest, TheSharedWorldLeavesOutWhereEachMachinesNumberingGoesOn) {
    g_scenarioInfo = std::make_unique<ScenarioInfo>();
    InitIdRegistries(g_nullId);
    std::string shared;
    ASSERT_EQ(WriteGameToMemory(shared), FIELD_WRITTEN);
    const uint64_t before = WorldStateHash();
    CIdEntity keptByTheHost;
    keptByTheHost.AssignNewId();
    ASSERT_EQ(SaveGameFile("saved.ovg"), FIELD_WRITTEN);
    EXPECT_NE(dir.ReadFile("saved.ovg").find("id = { type = "), std::string::npos);
    ASSERT_EQ(WriteGameToMemory(shared), FIELD_WRITTEN);
    EXPECT_EQ(shared.find("id = { type = "), std::string::npos);
    EXPECT_EQ(WorldStateHash(), before);
}

TEST(WorldStateHashTest, HashAndTextFormAreFixed) {
    // The published FNV-1a test vectors: a change of the function would
    // make every recorded hash of a long run useless.
    const struct {
        const char* bytes;
        uint64_t hash;
    } kCases[] = {
        {"", 0xcbf29ce484222325ull},
        {"a", 0xaf63dc4c8601ec8cull},
        {"foobar", 0x85944171f73967e8ull},
        {"\xff", 0xaf64724c8602eb6eull}, // bytes above 127 count as unsigned
    };
    for (const auto& c : kCases)
        EXPECT_EQ(Fnv1a64(c.bytes), c.hash) << c.bytes;

    EXPECT_EQ(WorldStateHashText(0x0123456789abcdefull), "0123456789abcdef");
    EXPECT_EQ(WorldStateHashText(0), "0000000000000000");
    EXPECT_EQ(WorldStateHashText(~0ull), "ffffffffffffffff");
}

} // namespace
} // namespace test

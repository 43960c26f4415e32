#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>

#include "engine/Config.h"
#include "platform/System.h"
#include "tests/TestSupport.h"

namespace {

uint32_t WordAt(const std::string& bytes, size_t offset) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[offset + i])) << (8 * i);
    return value;
}

void PutWord(std::string& bytes, size_t offset, uint32_t value) {
    for (size_t i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>(value >> (8 * i));
}

std::string BlockBytes(const CConfig& config) {
    return std::string(config.Block().begin(), config.Block().end());
}

std::string ExpectedDefaultName() {
    std::string name;
    if (!platform::GetComputerName(name))
        return "Player";
    return name.substr(0, 63);
}

// The notice table as the tests play it: the three settings of each type,
// starting from a pattern of their own.
struct NoticeSettings {
    uint8_t display;
    uint8_t box;
    uint8_t pause;
};
std::array<NoticeSettings, kConfigMessageTypes> g_notices;

void ResetNotices() {
    for (size_t i = 0; i < g_notices.size(); ++i)
        g_notices[i] = {static_cast<uint8_t>(i % 2 != 0), static_cast<uint8_t>(i % 4 != 1),
                        static_cast<uint8_t>(i % 5 == 0)};
}

void ApplyNotices(const ConfigBlock& block) {
    for (size_t i = 0; i < g_notices.size(); ++i)
        g_notices[i] = {block[ConfigOffset::kMessageDisplay + i],
                        block[ConfigOffset::kMessageBox + i],
                        block[ConfigOffset::kMessagePause + i]};
}

void StoreNotices(ConfigBlock& block) {
    for (size_t i = 0; i < g_notices.size(); ++i) {
        block[ConfigOffset::kMessageDisplay + i] = g_notices[i].display;
        block[ConfigOffset::kMessageBox + i] = g_notices[i].box;
        block[ConfigOffset::kMessagePause + i] = g_notices[i].pause;
    }
}

// Each test runs in an empty game folder with the test's notice table in
// the settings' hooks.
class ConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetNotices();
        g_messageSettings = {&ApplyNotices, &StoreNotices};
    }
    void TearDown() override { g_messageSettings = m_savedHooks; }

    // The bytes of a valid settings file with the sound volume at 77; the
    // game folder is left without a settings file.
    std::string ValidFile() {
        CConfig config;
        config.SetDefaults();
        std::filesystem::remove(m_dir.Path() / "config.ov");
        config.SetWord(ConfigOffset::kSoundVolume, 77);
        return BlockBytes(config);
    }

    test::ScopedGameDir m_dir;
    test::BoxRecorder m_boxes;

private:
    MessageSettingsHooks m_savedHooks = g_messageSettings;
};

TEST_F(ConfigTest, MissingFileIsReplacedByTheDefaults) {
    CConfig config;
    config.Load();
    const std::string file = m_dir.ReadFile("config.ov");
    ASSERT_EQ(file.size(), 620u);
    EXPECT_EQ(file, BlockBytes(config));
    EXPECT_TRUE(m_boxes.texts.empty());

    EXPECT_EQ(WordAt(file, 0), 272u);
    EXPECT_EQ(WordAt(file, 4), 620u);
    EXPECT_EQ(WordAt(file, 8), 151u);
    const uint32_t words[] = {1, 2, 2, 1, 1, 1, 1, 1, 1, 128, 1, 0, 1, 1};
    for (size_t i = 0; i < std::size(words); ++i)
        EXPECT_EQ(WordAt(file, 564 + 4 * i), words[i]) << "offset " << 564 + 4 * i;

    EXPECT_EQ(config.GetPlayerName(), ExpectedDefaultName());
    EXPECT_EQ(file[465 + 63], '\0');
    EXPECT_EQ(file.substr(529, 35), std::string(35, '\0')); // address and padding

    for (size_t i = 0; i < 151; ++i) {
        EXPECT_EQ(file[12 + i], g_notices[i].display) << i;
        EXPECT_EQ(file[163 + i], g_notices[i].box) << i;
        EXPECT_EQ(file[314 + i], g_notices[i].pause) << i;
    }
}

// Files that are not one whole block of this format are replaced by the
// defaults, never half taken.
TEST_F(ConfigTest, ForeignOrDamagedFilesAreReplacedByTheDefaults) {
    const std::string valid = ValidFile();
    std::string otherTypeCount = valid;
    PutWord(otherTypeCount, 8, 150);
    std::string otherMark = valid;
    PutWord(otherMark, 0, 273);
    std::string otherSize = valid;
    PutWord(otherSize, 4, 600);
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"third word 150", otherTypeCount},
        {"format mark", otherMark},
        {"size word", otherSize},
        {"cut after the header", valid.substr(0, 300)},
        {"header only", valid.substr(0, 12)},
        {"shorter than the header", valid.substr(0, 7)},
        {"empty", ""},
        {"longer than a block", valid + "extra"},
    };
    for (const auto& c : cases) {
        m_dir.WriteFile("config.ov", c.bytes);
        CConfig config;
        config.Load();
        EXPECT_EQ(config.GetWord(ConfigOffset::kSoundVolume), 128u) << c.what;
        EXPECT_EQ(m_dir.ReadFile("config.ov"), BlockBytes(config)) << c.what;
        EXPECT_EQ(config.GetWord(ConfigOffset::kMessageTypeCount), 151u) << c.what;
    }
}

TEST_F(ConfigTest, ValidFileIsTakenAndItsMessageSettingsApplied) {
    std::string bytes = ValidFile();
    bytes[12 + 39] = 0; // "DECLWAR" not shown
    bytes[163 + 40] = 0;
    m_dir.WriteFile("config.ov", bytes);
    CConfig config;
    config.Load();
    EXPECT_EQ(config.GetWord(ConfigOffset::kSoundVolume), 77u);
    EXPECT_EQ(g_notices[39].display, 0);
    EXPECT_EQ(g_notices[40].box, 0);
    EXPECT_EQ(m_dir.ReadFile("config.ov"), bytes);
}

// A changed box setting is saved and comes back at the next start.
TEST_F(ConfigTest, MessageSettingSurvivesSaveAndLoad) {
    {
        CConfig config;
        config.Load();
        g_notices[39].box = 0;
        g_notices[8].pause = 1;
        config.Save();
    }
    ResetNotices(); // a new run starts from the table's defaults
    const auto defaults = g_notices;
    CConfig config;
    config.Load();
    EXPECT_EQ(g_notices[39].box, 0);
    EXPECT_EQ(g_notices[8].pause, 1);
    EXPECT_EQ(g_notices[40].box, defaults[40].box);
}

// Without a notice table the notice bytes are neither applied nor
// refreshed: the defaults leave them zero, a file's pass through unchanged.
TEST_F(ConfigTest, WithoutANoticeTableTheNoticeBytesStayAsTheyAre) {
    g_messageSettings = {};
    CConfig defaults;
    defaults.SetDefaults();
    const std::string file = m_dir.ReadFile("config.ov");
    EXPECT_EQ(file.substr(12, 3 * 151), std::string(3 * 151, '\0'));

    std::string bytes = ValidFile();
    bytes[12 + 7] = 1;
    bytes[163 + 7] = 2;
    m_dir.WriteFile("config.ov", bytes);
    const auto before = g_notices;
    CConfig config;
    config.Load();
    EXPECT_EQ(m_dir.ReadFile("config.ov"), bytes);
    EXPECT_EQ(g_notices[7].box, before[7].box);
}

TEST_F(ConfigTest, TextsWithoutTerminatorAreCut) {
    std::string bytes = ValidFile();
    bytes.replace(465, 64, std::string(64, 'N'));
    bytes.replace(529, 32, std::string(32, 'A'));
    m_dir.WriteFile("config.ov", bytes);
    CConfig config;
    config.Load();
    EXPECT_EQ(config.GetPlayerName(), std::string(63, 'N'));
    EXPECT_EQ(config.GetIpAddress(), std::string(31, 'A'));
    const std::string file = m_dir.ReadFile("config.ov");
    EXPECT_EQ(file[465 + 63], '\0');
    EXPECT_EQ(file[529 + 31], '\0');
}

TEST_F(ConfigTest, SettersCutToTheField) {
    CConfig config;
    config.SetPlayerName(std::string(100, 'x'));
    EXPECT_EQ(config.GetPlayerName(), std::string(63, 'x'));
    config.SetPlayerName("Ann");
    EXPECT_EQ(config.GetPlayerName(), "Ann");
    EXPECT_EQ(config.Block()[465 + 4], 0); // nothing of the longer name is left
    config.SetIpAddress(std::string(40, '1'));
    EXPECT_EQ(config.GetIpAddress(), std::string(31, '1'));
    EXPECT_EQ(config.GetWord(ConfigOffset::kSize), 620u); // the neighbours stay
    EXPECT_EQ(config.GetWord(564), 0u);
}

TEST_F(ConfigTest, LoadFromTakesOnlyAValidFile) {
    std::string valid = ValidFile();
    valid[163 + 0] = 0;
    std::string damaged = valid;
    PutWord(damaged, 8, 150);

    CConfig config;
    config.Load();
    const std::string before = m_dir.ReadFile("config.ov");
    m_dir.WriteFile("other.ov", damaged);
    config.LoadFrom("other.ov");
    config.LoadFrom("missing.ov");
    EXPECT_EQ(config.GetWord(ConfigOffset::kSoundVolume), 128u);
    EXPECT_EQ(m_dir.ReadFile("config.ov"), before);
    EXPECT_TRUE(m_boxes.texts.empty());

    m_dir.WriteFile("Backup/OTHER.ov", valid);
    config.LoadFrom("backup\\other.ov"); // a game path, matched case-blind
    EXPECT_EQ(config.GetWord(ConfigOffset::kSoundVolume), 77u);
    EXPECT_EQ(g_notices[0].box, 0);
    EXPECT_EQ(m_dir.ReadFile("config.ov"), valid);
}

TEST_F(ConfigTest, SaveAsWritesTheBlockElsewhere) {
    CConfig config;
    config.Load();
    g_notices[3].display = 0;
    config.SaveAs("copy.ov");
    const std::string copy = m_dir.ReadFile("copy.ov");
    ASSERT_EQ(copy.size(), 620u);
    EXPECT_EQ(copy[12 + 3], 0);
    EXPECT_EQ(copy, BlockBytes(config));
}

TEST_F(ConfigTest, WordsAreLittleEndianAndBoundsChecked) {
    CConfig config;
    config.SetWord(600, 0x01020304);
    EXPECT_EQ(config.Block()[600], 0x04);
    EXPECT_EQ(config.Block()[603], 0x01);
    EXPECT_EQ(config.GetWord(600), 0x01020304u);
    config.SetWord(617, 0xFFFFFFFF); // would run past the block
    EXPECT_EQ(config.GetWord(617), 0u);
    EXPECT_EQ(config.GetWord(616), 0u);
}

} // namespace

// The notice table's settings in the settings file: the defaults carry the
// table's factory choices, a valid file sets the table, and a changed
// choice comes back at the next start.
#include <gtest/gtest.h>

#include <string>

#include "dialogs/MessageTypes.h"
#include "engine/Config.h"
#include "tests/TestSupport.h"

namespace {

class MessageSettingsTest : public ::testing::Test {
protected:
    void TearDown() override { g_messageTypes = m_savedTable; }

    test::ScopedGameDir m_dir;
    test::BoxRecorder m_boxes;

private:
    decltype(g_messageTypes) m_savedTable = g_messageTypes;
};

TEST_F(MessageSettingsTest, TheDefaultsCarryTheTablesChoices) {
    CConfig config;
    config.Load();
    const std::string file = m_dir.ReadFile("config.ov");
    ASSERT_EQ(file.size(), 620u);
    for (size_t i = 0; i < 151; ++i) {
        EXPECT_EQ(file[12 + i], g_messageTypes[i].display) << i;
        EXPECT_EQ(file[163 + i], g_messageTypes[i].box) << i;
        EXPECT_EQ(file[314 + i], g_messageTypes[i].pause) << i;
    }
    // "MERCSEND" is shown as a box and pauses; "MANUFAILED" is not shown.
    EXPECT_EQ(file[12 + 20], 1);
    EXPECT_EQ(file[163 + 20], 1);
    EXPECT_EQ(file[314 + 20], 1);
    EXPECT_EQ(file[12 + 15], 0);
}

TEST_F(MessageSettingsTest, ValidFileIsTakenAndItsMessageSettingsApplied) {
    std::string bytes;
    {
        CConfig config;
        config.SetDefaults();
        bytes = m_dir.ReadFile("config.ov");
    }
    bytes[12 + 39] = 0; // "DECLWAR" not shown
    bytes[163 + 40] = 0;
    m_dir.WriteFile("config.ov", bytes);
    CConfig config;
    config.Load();
    EXPECT_EQ(g_messageTypes[39].display, 0);
    EXPECT_EQ(g_messageTypes[40].box, 0);
    EXPECT_EQ(m_dir.ReadFile("config.ov"), bytes);
}

// A changed box setting is saved and comes back at the next start.
TEST_F(MessageSettingsTest, MessageSettingSurvivesSaveAndLoad) {
    const auto defaults = g_messageTypes;
    {
        CConfig config;
        config.Load();
        g_messageTypes[39].box = 0;
        g_messageTypes[8].pause = 1;
        config.Save();
    }
    g_messageTypes = defaults; // a new run starts from the table's defaults
    CConfig config;
    config.Load();
    EXPECT_EQ(g_messageTypes[39].box, 0);
    EXPECT_EQ(g_messageTypes[8].pause, 1);
    EXPECT_EQ(g_messageTypes[40].box, defaults[40].box);
}

} // namespace

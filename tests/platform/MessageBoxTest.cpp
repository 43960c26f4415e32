#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Restores the box handler and ORVANDEL_BOX_ANSWER afterwards.
class HeadlessBoxTest : public testing::Test {
protected:
    void SetUp() override {
        const char* answer = std::getenv("ORVANDEL_BOX_ANSWER");
        m_hadAnswer = answer != nullptr;
        if (answer)
            m_answer = answer;
        m_previous = platform::SetBoxHandler({});
    }
    void TearDown() override {
        if (m_hadAnswer)
            setenv("ORVANDEL_BOX_ANSWER", m_answer.c_str(), 1);
        else
            unsetenv("ORVANDEL_BOX_ANSWER");
        platform::SetBoxHandler(m_previous);
    }

private:
    bool m_hadAnswer = false;
    std::string m_answer;
    platform::BoxHandler m_previous;
};

TEST_F(HeadlessBoxTest, AnswersAsTheEnvironmentSaysAndWritesToStderr) {
    struct Case {
        const char* value; // nullptr: unset
        platform::BoxAnswer answer;
    } cases[] = {
        {"abort", platform::BoxAnswer::Abort},   {"retry", platform::BoxAnswer::Retry},
        {"ignore", platform::BoxAnswer::Ignore}, {nullptr, platform::BoxAnswer::Ignore},
        {"maybe", platform::BoxAnswer::Ignore},  {"", platform::BoxAnswer::Ignore},
    };
    for (const auto& c : cases) {
        if (c.value)
            setenv("ORVANDEL_BOX_ANSWER", c.value, 1);
        else
            unsetenv("ORVANDEL_BOX_ANSWER");
        testing::internal::CaptureStderr();
        platform::BoxAnswer answer = platform::ShowAbortRetryIgnore("The caption", "the text");
        std::string written = testing::internal::GetCapturedStderr();
        EXPECT_EQ(answer, c.answer) << (c.value ? c.value : "(unset)");
        EXPECT_NE(written.find("The caption"), std::string::npos);
        EXPECT_NE(written.find("the text"), std::string::npos);
    }
}

TEST_F(HeadlessBoxTest, HandlersReplaceEachOther) {
    std::string seen;
    platform::BoxHandler recorder = [&](const std::string& caption, const std::string& text) {
        seen = caption + "|" + text;
        return platform::BoxAnswer::Retry;
    };
    platform::BoxHandler before = platform::SetBoxHandler(recorder);
    EXPECT_FALSE(before); // the headless one
    EXPECT_EQ(platform::ShowAbortRetryIgnore("C", "T"), platform::BoxAnswer::Retry);
    EXPECT_EQ(seen, "C|T");

    platform::BoxHandler previous = platform::SetBoxHandler({});
    ASSERT_TRUE(previous);
    EXPECT_EQ(previous("c", "t"), platform::BoxAnswer::Retry);
    unsetenv("ORVANDEL_BOX_ANSWER");
    testing::internal::CaptureStderr();
    EXPECT_EQ(platform::ShowAbortRetryIgnore("C", "T"), platform::BoxAnswer::Ignore);
    testing::internal::GetCapturedStderr();
}

TEST(DebuggerTest, BreakingWithoutADebuggerDoesNothing) {
    if (platform::IsDebuggerAttached())
        GTEST_SKIP() << "running under a debugger";
    platform::BreakIntoDebugger(); // would end the test with SIGTRAP otherwise
    SUCCEED();
}

} // namespace

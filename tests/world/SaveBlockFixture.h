#pragma once
// A fixture for the save-block tests of provinces, leaders and units: the
// text-format fixture, fresh id registries, a game clock at a fixed date, an
// empty scheduler, and helpers to read a printed block back.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/DataTree.h"
#include "engine/GameTimer.h"
#include "engine/ObjectId.h"
#include "net/Event.h"
#include "net/Scheduler.h"
#include "net/Session.h"
#include "tests/data/TextFormatFixture.h"

namespace test {

class SaveBlockTest : public TextFormatTest {
protected:
    static inline const CDate kToday{10, 4, 1600}; // day 10 of May 1600

    void SetUp() override {
        TextFormatTest::SetUp();
        g_localPlayerNumber = 0;
        InitIdRegistries(g_nullId);
        g_gameTimer = std::make_unique<CGameTimer>(15);
        g_gameTimer->currentDate = kToday;
        g_scheduler.Clear();
    }
    void TearDown() override {
        g_scheduler.Clear();
        g_netSession = nullptr;
        g_gameTimer.reset();
        FreeIdRegistries();
        g_localPlayerNumber = 0;
    }

    // Plays a client of a network game from now on.
    void BecomeClient() {
        m_session.m_active = 1;
        m_session.m_isHost = 0;
        g_netSession = &m_session;
    }

    // The printed text on one line: every run of blanks and line breaks
    // becomes one blank.
    static std::string Flat(const std::string& text) {
        std::string flat;
        for (char c : text) {
            const bool blank = c == ' ' || c == '\n';
            if (!blank || flat.empty() || flat.back() != ' ')
                flat.push_back(blank ? ' ' : c);
        }
        return flat;
    }

    // Opens the text and reads its first field, "key = {", leaving the
    // reader inside the block.
    void OpenBlock(const std::string& text) {
        OpenText(text);
        ASSERT_EQ(reader.ReadField(), FIELD_READ) << text;
        ASSERT_EQ(reader.value.code, TOKEN_OPEN_BRACE) << text;
    }

    // The queued messages, ready list first.
    std::vector<COVEvent*> Queued() const {
        std::vector<COVEvent*> events;
        g_scheduler.ForEachEvent([&events](COVEvent* event) { events.push_back(event); });
        return events;
    }

    CNetSession m_session;
};

} // namespace test

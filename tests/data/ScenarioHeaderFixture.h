#pragma once
// A fixture for the scenario header's tests: the text-format fixture with a
// fresh configuration and empty id registries, and the header read from its
// body.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "data/ScenarioHeader.h"
#include "engine/Config.h"
#include "engine/ObjectId.h"
#include "tests/data/TextFormatFixture.h"

namespace test {

class ScenarioHeaderFixture : public TextFormatTest {
protected:
    void SetUp() override {
        TextFormatTest::SetUp();
        g_config = std::make_unique<CConfig>();
        FreeIdRegistries();
    }
    void TearDown() override {
        reader.Close();
        g_config.reset();
        FreeIdRegistries();
    }

    // Reads the header body (after "header = {").
    int Read(ScenarioInfo& header, const std::string& body) {
        reader.Close();
        OpenText(body);
        return header.Read(reader);
    }

    ScenarioInfo info;
};

} // namespace test

#pragma once
// A drawable that records every draw and event in a log shared with other
// probes, and answers events as told; a fixture with a display list for
// them.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/DisplayList.h"
#include "engine/Drawable.h"

namespace drawtest {

struct Probe : Drawable {
    Probe(std::string probeName, std::vector<std::string>& probeLog, int probeAnswer = 0)
        : name(std::move(probeName)), log(probeLog), answer(probeAnswer) {}
    ~Probe() override { log.push_back("~" + name); }

    int HandleEvent(COVEvent& /*event*/) override {
        log.push_back("event " + name);
        return answer;
    }
    void Draw(int32_t param) override {
        log.push_back("draw " + name + " " + std::to_string(param));
    }

    std::string name;
    std::vector<std::string>& log;
    int answer;
};

using Log = std::vector<std::string>;

// g_displayList made for the test and deleted after.
class DisplayListFixture : public ::testing::Test {
protected:
    DisplayListFixture() {
        g_displayList = new CDisplayList;
        list = g_displayList;
    }
    ~DisplayListFixture() override { delete g_displayList; }

    CDisplayList* list = nullptr;
    Log log;
};

// Five probes in the list: "high" at 2000, "low" at 100, "first" and "later"
// at 500 (added after, "later" goes under "first") and "passive" at 500 with
// the parameter 3. The test takes them out with RemoveFrom.
struct LayeredProbes {
    LayeredProbes(CDisplayList& list, Log& log)
        : low("low", log), high("high", log), first("first", log), later("later", log),
          passive("passive", log) {
        list.Add(&high, 2000, 0);
        list.Add(&low, 100, 0);
        list.Add(&first, 500, 0);
        list.Add(&later, 500, 0);
        list.Add(&passive, 500, 3);
    }
    void RemoveFrom(CDisplayList& list) {
        for (Probe* probe : {&low, &high, &first, &later, &passive})
            list.RemoveObject(probe);
    }

    Probe low, high, first, later, passive;
};

} // namespace drawtest

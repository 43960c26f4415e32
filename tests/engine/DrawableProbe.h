#pragma once
// A drawable that records every draw and event in a log shared with other
// probes, and answers events as told.
#include <string>
#include <utility>
#include <vector>

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

} // namespace drawtest

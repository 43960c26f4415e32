// Fuzz target: arbitrary bytes as a console script line, compiled and run in
// a test scope of built-ins.
#include <cstddef>
#include <cstdint>
#include <string>

#include "data/ScriptFile.h"
#include "tests/data/ScriptTestScope.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

test::ScriptTestScope& Scope() {
    static test::ScriptTestScope* scope = [] {
        fuzz::AnswerBoxesWithIgnore();
        SetConsolePrintFunction([](const std::string&) {});
        auto* built = new test::ScriptTestScope;
        built->Build();
        return built;
    }();
    return *scope;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    test::ScriptTestScope& scope = Scope();
    scope.log.clear();
    scope.waits = 1;
    scope.budget = 1000;
    // The console writes "console.sme" into the game folder.
    fuzz::InScratchFolder folder;
    RunConsoleScript(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}

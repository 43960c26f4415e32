// orvandel-longrun: plays whole games with only computer players, headless,
// in the game folder that is the current directory (tools/longrun/LongRun.h).
//
//   orvandel-longrun [--scenario <file>] [--seed <n>] [--years <n>]
//                    [--report-step <years>] [--json <file>] [--loopback]
//
// Exit codes: 0 the run ended with every check passed, 1 a check failed (or
// the client differed from the host), 2 the run could not start.
#include <cstdlib>
#include <iostream>
#include <string>

#include "platform/System.h"
#include "tools/longrun/LongRun.h"

namespace {

void PrintUsage(std::ostream& out) {
    out << "usage: orvandel-longrun [--scenario <file>] [--seed <n>] [--years <n>]\n"
           "                        [--report-step <years>] [--json <file>] [--loopback]\n"
           "  --scenario     the scenario in the game folder (default "
           "scenarios\\world_1492.ovg)\n"
           "  --seed         the game's random seed, 0 included (default 0)\n"
           "  --years        the game years to play (default 100)\n"
           "  --report-step  game years per report period (default 10)\n"
           "  --json         also write the figures as JSON to the file\n"
           "  --loopback     a host and a client over the loopback network; the client's\n"
           "                 world must equal the host's every month\n";
}

// A whole decimal number in range; false otherwise.
bool ReadNumber(const std::string& text, long long low, long long high, long long& value) {
    if (text.empty())
        return false;
    char* end = nullptr;
    value = std::strtoll(text.c_str(), &end, 10);
    return *end == '\0' && value >= low && value <= high;
}

} // namespace

int main(int argc, char** argv) {
    longrun::Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            PrintUsage(std::cout);
            return longrun::kExitOk;
        }
        if (option == "--loopback") {
            options.loopback = true;
            continue;
        }
        if (i + 1 >= argc) {
            std::cerr << "orvandel-longrun: " << option << " needs a value\n";
            PrintUsage(std::cerr);
            return longrun::kExitError;
        }
        const std::string value = argv[++i];
        long long number = 0;
        if (option == "--scenario") {
            options.scenario = value;
        } else if (option == "--json") {
            options.json = value;
        } else if (option == "--seed" && ReadNumber(value, 0, 0xFFFFFFFFll, number)) {
            options.seed = static_cast<uint32_t>(number);
        } else if (option == "--years" && ReadNumber(value, 1, 10000, number)) {
            options.years = static_cast<int32_t>(number);
        } else if (option == "--report-step" && ReadNumber(value, 1, 10000, number)) {
            options.reportStep = static_cast<int32_t>(number);
        } else {
            std::cerr << "orvandel-longrun: bad option " << option << " " << value << "\n";
            PrintUsage(std::cerr);
            return longrun::kExitError;
        }
    }
    // Time stands still unless the run moves it: nothing in the game waits.
    setenv("ORVANDEL_VIRTUAL_CLOCK", "15", 1);
    options.progress = platform::StandardErrorIsTerminal();
    return longrun::RunLongGame(options, std::cout, std::cerr).exitCode;
}

// Writes the original demo world (a small playable game folder) into the
// folder named on the command line: make_demo_world <game folder>.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "tools/DemoWorld.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_demo_world <game folder>\n");
        return 2;
    }
    const std::filesystem::path game = argv[1];
    bool ok = true;
    // ORV_MAP_TIMES=1 reports how long each writer takes.
    const bool times = std::getenv("ORV_MAP_TIMES") != nullptr;
    for (const demo::RegisteredWriter& writer : demo::Writers()) {
        const auto start = std::chrono::steady_clock::now();
        const bool written = writer.function(game);
        if (times)
            std::fprintf(
                stderr, "%s: %.3f s\n", writer.name.c_str(),
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (!written) {
            std::fprintf(stderr, "make_demo_world: %s failed\n", writer.name.c_str());
            ok = false;
        }
    }
    return ok ? 0 : 1;
}

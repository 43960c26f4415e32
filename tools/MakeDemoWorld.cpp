// Writes the original demo world (a small playable game folder) into the
// folder named on the command line: make_demo_world <game folder>.
#include <cstdio>

#include "tools/DemoWorld.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_demo_world <game folder>\n");
        return 2;
    }
    const std::filesystem::path game = argv[1];
    bool ok = true;
    for (const demo::RegisteredWriter& writer : demo::Writers()) {
        if (!writer.function(game)) {
            std::fprintf(stderr, "make_demo_world: %s failed\n", writer.name.c_str());
            ok = false;
        }
    }
    return ok ? 0 : 1;
}

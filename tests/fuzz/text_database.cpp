// Fuzz target: arbitrary bytes as config\text.csv, loaded in a few columns
// and looked up.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/TextDatabase.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InScratchFolder folder;
    folder.WriteFile("config/text.csv", data, size);
    CTextDatabase db;
    int column = size > 0 ? data[size - 1] % 12 - 1 : 0; // -1..10: bad columns too
    for (int c : {0, column, 9}) {
        db.Load(c);
        size_t keyLength = size < 12 ? size : 12;
        std::string key(reinterpret_cast<const char*>(data), keyLength);
        db.GetText(key.substr(0, key.find(';')));
        db.GetText("JANUARY");
    }
    return 0;
}

// Fuzz target: arbitrary bytes as a CSV table, read with a mix of the cell
// operations until one reports the end of the file.
#include <cstddef>
#include <cstdint>

#include "engine/CsvReader.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InScratchFolder folder;
    folder.WriteFile("table.csv", data, size);
    CCsvReader reader("table.csv");
    if (size > 0 && data[0] % 4 == 0) {
        reader.CountLines();
        reader.SkipLines(1);
    }
    char small[8];
    char large[300];
    int32_t i = 0;
    double d = 0;
    float f = 0;
    bool more = true;
    for (size_t step = 0; more; ++step) {
        uint8_t op = size > 0 ? data[step % size] : 0;
        switch (op % 8) {
        case 0:
            more = reader.ReadString(small, sizeof small);
            break;
        case 1:
            more = reader.ReadString(large, sizeof large);
            break;
        case 2:
            more = reader.ReadInt(i);
            break;
        case 3:
            more = reader.ReadDouble(d);
            break;
        case 4:
            more = reader.ReadFloat(f);
            break;
        case 5:
            more = reader.SkipCells(op % 3) && reader.SkipCells(1);
            break;
        case 6:
            more = reader.SkipLines(1);
            break;
        default:
            if (step == 7)
                reader.Rewind(); // once, so every input still ends
            more = reader.ReadString(large, sizeof large);
            break;
        }
    }
    return 0;
}

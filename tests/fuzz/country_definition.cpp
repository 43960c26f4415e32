// Fuzz target: arbitrary bytes as a file of country definitions: tag = { ... }
// pairs, each block read into a record by the country-definition reader.
#include <cstddef>
#include <cstdint>

#include "country/CountryDefinition.h"
#include "country/CountryTags.h"
#include "data/Keywords.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = (BuildKeywordIndex(), true);
    (void)ready;
    fuzz::InScratchFolder folder;
    folder.WriteFile("revolt.txt", data, size);
    CFieldReader in;
    in.Open("revolt.txt", "r");
    for (;;) {
        const int32_t result = in.ReadField();
        if (result == FIELD_END_OF_FILE)
            break;
        if (result == FIELD_BLOCK_END) {
            in.GetTokenFile()->Next(); // a stray "}"
            continue;
        }
        if (result != FIELD_READ || in.value.code != TOKEN_OPEN_BRACE)
            continue;
        const int32_t number = FindCountryByTag(in.key.text);
        fuzz::Check(number >= 0 && number < static_cast<int32_t>(kCountrySlots));
        CCountryDefinition record;
        const int32_t answer = ReadCountryDefinition(in, record);
        fuzz::Check(answer == FIELD_BLOCK_END || answer == FIELD_END_OF_FILE);
        fuzz::Check(record.group <= 3);
        if (answer == FIELD_END_OF_FILE)
            break;
    }
    in.Close();
    return 0;
}

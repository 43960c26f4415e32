#include "country/CountryTags.h"

#include <cstring>

#include "engine/TextDatabase.h"

const std::array<CountryTagRow, kCountrySlots> g_countryTags = kCountryTagRows;

int32_t FindCountryByTag(const char* tag) {
    if (!tag)
        return 0;
    for (const CountryTagRow& row : g_countryTags)
        if (std::strcmp(row.tag, tag) == 0)
            return row.number;
    return 0;
}

const char* FindCountryTagOfNumber(uint32_t number) {
    for (const CountryTagRow& row : g_countryTags)
        if (static_cast<uint32_t>(row.number) == number)
            return row.tag;
    return nullptr;
}

const char* GetCountryTag(uint32_t number) {
    const char* tag = FindCountryTagOfNumber(number);
    return tag ? tag : "MIN";
}

std::string GetCountryDisplayName(uint32_t number) {
    return g_textDatabase.GetText(GetCountryTag(number));
}

// Fuzz target: arbitrary bytes as the body of a treaty block (after its
// "{"), the first byte choosing the reader: an alliance, a war, a peace
// offer or a country's diplomacy block of relations. What was read is
// written, read back and written again: reading must end without touching
// memory it does not own, and an alliance, war or offer must come back as it
// was written.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "country/Alliance.h"
#include "country/Country.h"
#include "country/PeaceOffer.h"
#include "country/Relations.h"
#include "country/War.h"
#include "data/DataTree.h"
#include "data/Keywords.h"
#include "engine/ObjectId.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

std::string ReadWhole(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Prints the block as "key = { ... }" into the file and answers the text.
std::string Print(uint32_t key, CDataBlock* block, const char* path) {
    CNodeRef<CDataNode> held(new CDataAssignment(key, block));
    {
        CFieldReader out;
        out.Open(path, "w");
        fuzz::Check(held->Write(out, 0) == FIELD_WRITTEN);
        out.Close();
    }
    return ReadWhole(path);
}

// Opens the printed text past its "key = {".
void OpenPrinted(CFieldReader& in, const char* path) {
    in.Open(path, "r");
    for (int i = 0; i < 3; ++i)
        fuzz::Check(in.GetTokenFile()->Next() == 1);
}

// Reads the body, and when it was read whole prints it, reads the print
// into a fresh object and prints that: the two prints must be the same.
template <class T> void ReadAndRoundTrip(uint32_t key, CFieldReader& in) {
    T first;
    if constexpr (std::is_same_v<T, CAlliance>)
        first.Init();
    if (first.Read(in) != FIELD_BLOCK_END)
        return;
    const std::string printed = Print(key, first.Write(), "first.txt");
    T second;
    CFieldReader again;
    OpenPrinted(again, "first.txt");
    fuzz::Check(second.Read(again) == FIELD_BLOCK_END);
    again.Close();
    fuzz::Check(Print(key, second.Write(), "second.txt") == printed);
}

void ReadDiplomacy(CFieldReader& in) {
    CCountry& country = *CountryOfNumber(1);
    country.m_diplomacy.Init(1);
    if (country.m_diplomacy.Read(in) != FIELD_BLOCK_END)
        return;
    Print(KW_DIPLOMACY, country.m_diplomacy.Write(), "first.txt");
    CFieldReader again;
    OpenPrinted(again, "first.txt");
    fuzz::Check(country.m_diplomacy.Read(again) == FIELD_BLOCK_END);
    again.Close();
    RebuildDiplomaticStatus();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        BuildKeywordIndex();
        SetCountryTagSource(FindCountryTagOfNumber);
        for (uint32_t number = 1; number <= 3; ++number)
            AddCountry(std::make_unique<CCountry>(number));
        g_diplomaticMatrix[1][2] = 2.5f;
        return true;
    }();
    (void)ready;
    if (size == 0)
        return 0;

    fuzz::InScratchFolder folder;
    folder.WriteFile("block.txt", data + 1, size - 1);
    InitIdRegistries(g_nullId);
    CFieldReader in;
    in.Open("block.txt", "r");
    // 'a' alliance, 'b' war, 'c' peace offer, 'd' diplomacy (and so on).
    switch ((data[0] + 3) % 4) {
    case 0:
        ReadAndRoundTrip<CAlliance>(KW_ALLIANCE, in);
        break;
    case 1:
        ReadAndRoundTrip<CWar>(KW_WAR, in);
        break;
    case 2:
        ReadAndRoundTrip<CPeaceOffer>(KW_PEACE, in);
        break;
    default:
        ReadDiplomacy(in);
        break;
    }
    in.Close();
    FreeIdRegistries();
    return 0;
}

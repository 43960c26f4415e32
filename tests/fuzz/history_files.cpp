// Fuzz target: arbitrary bytes as a country's leader history file and as
// its monarch history file ("db\leaders\leaders.fuz",
// "db\monarchs\monarchs.fuz"), read into the country's tables and written
// back as blocks.
#include <cstddef>
#include <cstdint>

#include "country/Country.h"
#include "data/DataTree.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::AnswerBoxesWithIgnore();
    fuzz::InScratchFolder folder;
    folder.WriteFile("db/leaders/leaders.fuz", data, size);
    folder.WriteFile("db/monarchs/monarchs.fuz", data, size);
    CCountry country(5);
    country.m_historyFile = "fuz";
    CFieldReader reader;
    country.ReadLeaderHistory(reader);
    country.ReadMonarchHistory(reader);
    CNodeRef<CDataNode> leaders(country.m_leaderTable.Write());
    CNodeRef<CDataNode> monarchs(country.m_monarchTable.Write());
    return 0;
}

#include "data/GameFile.h"

#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "country/Country.h"
#include "data/DataTree.h"
#include "data/InterfaceSection.h"
#include "data/Keywords.h"
#include "data/ScenarioHeader.h"
#include "data/YearBookSection.h"
#include "engine/CriticalError.h"
#include "military/Combat.h"
#include "platform/Files.h"
#include "ui/MainScreen.h"
#include "world/CentreOfTrade.h"
#include "world/Globals.h"
#include "world/Mecenat.h"
#include "world/Province.h"
#include "world/Scenario.h"

namespace {

// The files being read, outermost first, as canonical host paths: an
// "include" of one of them would read forever.
std::vector<std::string> g_readStack;

std::string CanonicalName(const std::string& gamePath) {
    std::string resolved = platform::ResolveGamePath(gamePath);
    std::error_code ec;
    std::filesystem::path canonical = std::filesystem::weakly_canonical(resolved, ec);
    return ec ? resolved : canonical.string();
}

// Keeps a file on the read stack while it is read.
class ReadStackEntry {
public:
    explicit ReadStackEntry(const CFieldReader& in) {
        const CTokenFile* file = in.GetTokenFile();
        g_readStack.push_back(file ? CanonicalName(file->GetFileName()) : std::string());
    }
    ~ReadStackEntry() { g_readStack.pop_back(); }
    ReadStackEntry(const ReadStackEntry&) = delete;
    ReadStackEntry& operator=(const ReadStackEntry&) = delete;
};

// Takes tokens up to and including the "}" that closes the block whose "{"
// has been taken (or to the end of the file): the rest of a block whose
// first field was wrong is passed over instead of being read as top-level
// objects.
void SkipRestOfBlock(CFieldReader& in) {
    CTokenFile* file = in.GetTokenFile();
    if (!file)
        return;
    int32_t depth = 1;
    while (depth > 0 && file->Next() == 1) {
        if (file->Current().code == TOKEN_OPEN_BRACE)
            ++depth;
        else if (file->Current().code == TOKEN_CLOSE_BRACE)
            --depth;
    }
}

// Reads the field that must open an object block. True when it is there
// with the key; otherwise false with `answer` set to what the object reader
// answers: the reader's end of file or error as they came, 0 for an empty
// block (its "}" taken), or `wrongKeyAnswer` after reporting `message` and
// passing over the rest of the block.
bool ReadOpeningField(CFieldReader& in, uint32_t key, const char* message, int32_t wrongKeyAnswer,
                      int32_t& answer) {
    const int32_t result = in.ReadField();
    if (result == FIELD_ERROR || result == FIELD_END_OF_FILE) {
        answer = result;
        return false;
    }
    if (result == FIELD_BLOCK_END) {
        in.GetTokenFile()->Next();
        answer = 0;
        return false;
    }
    if (in.key.code != key) {
        in.ReportError(message);
        SkipRestOfBlock(in);
        answer = wrongKeyAnswer;
        return false;
    }
    return true;
}

// Reads the objects of a file to its end: -1 at the end, -2 at a
// structural error.
int32_t ReadObjects(CFieldReader& in) {
    ReadStackEntry entry(in);
    for (;;) {
        int32_t result = ReadTopLevelObject(in);
        if (result == FIELD_END_OF_FILE || result == FIELD_ERROR)
            return result;
    }
}

void TraceParsingError(const CFieldReader& in) {
    const CTokenFile* file = in.GetTokenFile();
    DebugPrint("got a parsing error at line %d\n",
               file ? static_cast<int>(file->GetLine() + 1) : 0);
}

int32_t ReadInclude(CFieldReader& in) {
    if (in.value.code != TOKEN_STRING && !IsKeywordCode(in.value.code) &&
        in.value.code != TOKEN_NUMBER) {
        in.ReportError("No filename");
        return 0;
    }
    const std::string path = in.value.text;
    // The stack holds the outermost file and the includes open below it.
    if (static_cast<int32_t>(g_readStack.size()) > kMaxIncludeDepth) {
        in.ReportError("include nested more than 16 files deep");
        return 0;
    }
    const std::string name = CanonicalName(path);
    const CTokenFile* current = in.GetTokenFile();
    bool cycle = current && CanonicalName(current->GetFileName()) == name;
    for (const std::string& open : g_readStack)
        cycle = cycle || open == name;
    if (cycle) {
        in.ReportError("include of a file that is being read");
        return 0;
    }
    CFieldReader nested;
    nested.Open(path, "r");
    if (!nested.IsOpen())
        return 0; // reported by the tokenizer
    if (g_readStack.empty()) {
        // Read from the front end's single-object entry: the outer file
        // counts for the cycle check too.
        ReadStackEntry outer(in);
        if (ReadObjects(nested) == FIELD_ERROR)
            TraceParsingError(nested);
    } else if (ReadObjects(nested) == FIELD_ERROR) {
        TraceParsingError(nested);
    }
    return 0;
}

int32_t ReadMissionObject(CFieldReader& in) {
    int32_t answer = 0;
    if (!ReadOpeningField(in, KW_TAG, "tag must be first in mission field", 0, answer))
        return answer;
    int32_t number = FindCountryByTag(in.value.text);
    CCountry* country =
        number >= 0 && number < static_cast<int32_t>(kCountrySlots) ? g_countries[number] : nullptr;
    if (!country) {
        in.ReportError("mission referring to non existant country ");
        SkipRestOfBlock(in);
        return 0;
    }
    in.currentCountry = country;
    country->ReadMission(in);
    return 0;
}

int32_t ReadHeaderObject(CFieldReader& in) {
    if (g_scenarioInfo)
        g_scenarioInfo->Clear();
    g_scenarioInfo = std::make_unique<ScenarioInfo>();
    return g_scenarioInfo->Read(in);
}

// Writes one top-level object (the tree is released afterwards): 0 or the
// failing write's result.
int32_t WriteObject(CFieldReader& out, uint32_t key, CDataNode* tree, bool& first) {
    if (!first) {
        Token newline;
        newline.Set(TOKEN_NEWLINE, "\n");
        out.WriteToken(newline);
        out.WriteToken(newline);
    }
    first = false;
    CNodeRef<CDataAssignment> entry(new CDataAssignment(key, tree));
    return entry->Write(out, 0) != 0 ? FIELD_ERROR : 0;
}

} // namespace

int32_t ReadCountryObject(CFieldReader& in) {
    for (;;) {
        int32_t answer = 0;
        if (!ReadOpeningField(in, KW_TAG, "tag HAS to be first in country", FIELD_ERROR, answer))
            return answer;
        if (in.value.code == TOKEN_STRING)
            break;
    }
    int32_t number = FindCountryByTag(in.value.text);
    if (number <= 0) {
        in.ReportError("unknown tag");
        number = 0;
    }
    CCountry* country = g_countries[static_cast<size_t>(number)];
    if (!country)
        country = CCountry::Create(static_cast<uint32_t>(number));
    if (!country) {
        SkipRestOfBlock(in);
        return FIELD_ERROR;
    }
    in.currentCountry = country;
    country->Read(in);
    // The country's shields are loaded here (CShieldSet::LoadForCountry)
    // once the shield images exist.
    if (g_scenarioInfo && g_scenarioInfo->nations[static_cast<size_t>(number)])
        country->m_major = 1;
    country->AfterLoad();
    return 0;
}

int32_t ReadProvinceObject(CFieldReader& in) {
    int32_t answer = 0;
    if (!ReadOpeningField(in, KW_ID, "id HAS to be first in province", FIELD_ERROR, answer))
        return answer;
    if (in.value.code != TOKEN_NUMBER) {
        SkipRestOfBlock(in);
        return 0;
    }
    int32_t id = TokenToInt(in.value.text);
    if (id < 0 || id > kLastProvinceId) {
        in.ReportError("illegal province id");
        SkipRestOfBlock(in);
        return 0;
    }
    GetProvince(id)->Read(in);
    return 0;
}

int32_t ReadTopLevelObject(CFieldReader& in) {
    in.currentCountry = nullptr;
    int32_t result = in.ReadField();
    if (result == FIELD_END_OF_FILE || result == FIELD_ERROR)
        return result;
    const uint32_t key = result == FIELD_READ ? in.key.code : TOKEN_CLOSE_BRACE;

    switch (key) {
    case KW_COUNTRY:
    case KW_PROVINCE:
        if (in.value.code != TOKEN_OPEN_BRACE)
            return 0;
        break;
    case KW_HEADER:
    case KW_GLOBALDATA:
    case KW_COT:
    case KW_EYR:
    case KW_INTERFACE:
    case KW_MECENAT:
        if (in.value.code != TOKEN_OPEN_BRACE) {
            in.ReportError("No left curly");
            return 0;
        }
        break;
    default:
        break;
    }

    switch (key) {
    case KW_COUNTRY:
        ReadCountryObject(in);
        return 0;
    case KW_PROVINCE:
        ReadProvinceObject(in);
        return 0;
    case KW_GLOBALDATA:
        return g_globals.Read(in);
    case KW_EYR:
        return ReadYearBookSection(in);
    case KW_INTERFACE:
        return ReadInterfaceSection(in);
    case KW_MECENAT:
        CMecenat::ReadAndFile(in);
        return 0;
    case KW_HEADER:
        return ReadHeaderObject(in);
    case KW_COT: {
        auto centre = std::make_unique<CCentreOfTrade>();
        if (centre->Read(in) == 0)
            g_cotCalc.AddCentreOfTrade(std::move(centre));
        return 0;
    }
    case KW_COMBAT:
        return ReadCombat(in) ? 0 : FIELD_ERROR;
    case KW_INCLUDE:
        return ReadInclude(in);
    case KW_MISSION:
        if (in.value.code != TOKEN_OPEN_BRACE) {
            in.ReportError("No left curly");
            return 0;
        }
        return ReadMissionObject(in);
    default:
        if (result == FIELD_BLOCK_END)
            in.GetTokenFile()->Next(); // the stray "}" is shown in the error line
        in.ReportError("Illegal top level object");
        return FIELD_ERROR;
    }
}

int32_t ReadGameFile(CFieldReader& in) {
    if (ReadObjects(in) != FIELD_ERROR)
        return 0;
    TraceParsingError(in);
    return FIELD_ERROR;
}

int32_t WriteGameFile(CFieldReader& out) {
    bool first = true;
    int32_t result = 0;
    auto write = [&](uint32_t key, CDataNode* tree) {
        if (result == 0)
            result = WriteObject(out, key, tree, first);
        else
            CDataNode::DeleteIfUnheld(tree);
        return result == 0;
    };

    if (g_scenarioInfo) {
        write(KW_HEADER, g_scenarioInfo->Write());
    } else {
        ScenarioInfo fresh;
        write(KW_HEADER, fresh.Write());
    }
    write(KW_GLOBALDATA, g_globals.Write());
    for (int32_t id = 0; id <= kLastProvinceId && result == 0; ++id) {
        const CProvince* province = GetProvince(id);
        if (province->HasSaveState())
            write(KW_PROVINCE, province->Write());
    }
    for (uint32_t slot = 0; slot < g_cotCalc.GetCount() && result == 0; ++slot)
        write(KW_COT, g_cotCalc.GetSlot(slot)->Write());
    if (result != 0)
        return result;
    Token newline;
    if (out.WriteToken(newline.Set(TOKEN_NEWLINE, "\n")) != 0)
        return FIELD_ERROR;
    for (uint32_t number = 0; number < kCountrySlots && result == 0; ++number)
        if (const CCountry* country = g_countries[number])
            write(KW_COUNTRY, country->Write());
    write(KW_EYR, WriteYearBookSection());
    if (!CScenario::IsMultiplayerGame()) {
        write(KW_INTERFACE, WriteInterfaceSection());
        if (g_mainScreen)
            g_mainScreen->travellers.ForEach(
                [&](CMecenat* traveller) { write(KW_MECENAT, traveller->Write()); });
    }
    // Combats are kept in the order they began (the provinces do not list
    // them yet).
    for (const auto& combat : g_combats)
        if (!write(KW_COMBAT, WriteCombat(*combat)))
            break;
    return result;
}

int32_t SaveGameFile(const std::string& path) {
    const std::string temporary = path + ".tmp";
    int32_t result = FIELD_ERROR;
    {
        CFieldReader out;
        out.Open(temporary, "w");
        if (out.IsOpen()) {
            result = WriteGameFile(out);
            if (result == 0 && !out.GetTokenFile()->Flush())
                result = FIELD_ERROR;
        }
    }
    if (result == 0 && platform::ReplaceGameFile(temporary, path))
        return 0;
    platform::RemoveGameFile(temporary);
    CriticalError("Could not save the game to %s; the previous file is kept.", path.c_str());
    return FIELD_ERROR;
}

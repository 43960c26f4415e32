#include "data/GameFile.h"

#include <array>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "data/DataTree.h"
#include "data/Keywords.h"
#include "data/ScenarioHeader.h"
#include "engine/CriticalError.h"
#include "engine/GameState.h"
#include "platform/Files.h"

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

// The registered objects, by keyword id.
constinit std::array<GameFileObject, TOKEN_LAST_KEYWORD + 1> g_objects{};

// Reads the objects of a file to its end: FIELD_END_OF_FILE at the end,
// FIELD_ERROR at a structural error.
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
        return FIELD_BLOCK_END;
    }
    const std::string path = in.value.text;
    // The stack holds the outermost file and the includes open below it.
    if (static_cast<int32_t>(g_readStack.size()) > kMaxIncludeDepth) {
        in.ReportError("include nested more than 16 files deep");
        return FIELD_BLOCK_END;
    }
    const std::string name = CanonicalName(path);
    const CTokenFile* current = in.GetTokenFile();
    bool cycle = current && CanonicalName(current->GetFileName()) == name;
    for (const std::string& open : g_readStack)
        cycle = cycle || open == name;
    if (cycle) {
        in.ReportError("include of a file that is being read");
        return FIELD_BLOCK_END;
    }
    CFieldReader nested;
    nested.Open(path, "r");
    if (!nested.IsOpen())
        return FIELD_BLOCK_END; // reported by the tokenizer
    if (g_readStack.empty()) {
        // Read from the front end's single-object entry: the outer file
        // counts for the cycle check too.
        ReadStackEntry outer(in);
        if (ReadObjects(nested) == FIELD_ERROR)
            TraceParsingError(nested);
    } else if (ReadObjects(nested) == FIELD_ERROR) {
        TraceParsingError(nested);
    }
    return FIELD_BLOCK_END;
}

int32_t ReadHeaderObject(CFieldReader& in) {
    if (g_scenarioInfo)
        g_scenarioInfo->Clear();
    g_scenarioInfo = std::make_unique<ScenarioInfo>();
    return g_scenarioInfo->Read(in);
}

} // namespace

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

bool ReadOpeningField(CFieldReader& in, uint32_t key, const char* message, int32_t wrongKeyAnswer,
                      int32_t& answer) {
    const int32_t result = in.ReadField();
    if (result == FIELD_ERROR || result == FIELD_END_OF_FILE) {
        answer = result;
        return false;
    }
    if (result == FIELD_BLOCK_END) {
        in.GetTokenFile()->Next();
        answer = FIELD_BLOCK_END;
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

void RegisterGameFileObject(uint32_t keyword, const GameFileObject& object) {
    if (keyword >= TOKEN_FIRST_KEYWORD && keyword < g_objects.size())
        g_objects[keyword] = object;
}

const GameFileObject* FindGameFileObject(uint32_t code) {
    if (code < TOKEN_FIRST_KEYWORD || code >= g_objects.size() || !g_objects[code].read)
        return nullptr;
    return &g_objects[code];
}

int32_t ReadTopLevelObject(CFieldReader& in) {
    in.currentCountry = nullptr;
    int32_t result = in.ReadField();
    if (result == FIELD_END_OF_FILE || result == FIELD_ERROR)
        return result;
    const uint32_t key = result == FIELD_READ ? in.key.code : TOKEN_CLOSE_BRACE;

    if (key == KW_INCLUDE)
        return ReadInclude(in);
    if (key == KW_HEADER) {
        if (in.value.code != TOKEN_OPEN_BRACE) {
            in.ReportError("No left curly");
            return FIELD_BLOCK_END;
        }
        return ReadHeaderObject(in);
    }
    const GameFileObject* object = FindGameFileObject(key);
    if (!object) {
        if (result == FIELD_BLOCK_END)
            in.GetTokenFile()->Next(); // the stray "}" is shown in the error line
        in.ReportError("Illegal top level object");
        return FIELD_ERROR;
    }
    if (object->value != GameFileValue::AnyValue && in.value.code != TOKEN_OPEN_BRACE) {
        if (object->value == GameFileValue::Block)
            in.ReportError("No left curly");
        return FIELD_BLOCK_END;
    }
    return object->read(in);
}

int32_t ReadGameFile(CFieldReader& in) {
    if (ReadObjects(in) != FIELD_ERROR)
        return FIELD_BLOCK_END;
    TraceParsingError(in);
    return FIELD_ERROR;
}

bool CGameFileOutput::Write(CDataNode* tree) {
    return Write(m_keyword, tree);
}

bool CGameFileOutput::Write(uint32_t keyword, CDataNode* tree) {
    if (m_result != FIELD_WRITTEN) {
        CDataNode::DeleteIfUnheld(tree);
        return false;
    }
    if (!m_first) {
        m_out.WriteCode(TOKEN_NEWLINE);
        m_out.WriteCode(TOKEN_NEWLINE);
    }
    m_first = false;
    CNodeRef<CDataAssignment> entry(new CDataAssignment(keyword, tree));
    if (entry->Write(m_out, 0) != FIELD_WRITTEN)
        m_result = FIELD_ERROR;
    return m_result == FIELD_WRITTEN;
}

void CGameFileOutput::WriteRegistered(uint32_t keyword) {
    const GameFileObject* object = FindGameFileObject(keyword);
    if (!object || !object->write)
        return;
    m_keyword = keyword;
    object->write(*this);
}

int32_t WriteGameFile(CFieldReader& out) {
    CGameFileOutput objects(out);
    if (g_scenarioInfo) {
        objects.Write(KW_HEADER, g_scenarioInfo->Write());
    } else {
        ScenarioInfo fresh;
        objects.Write(KW_HEADER, fresh.Write());
    }
    objects.WriteRegistered(KW_GLOBALDATA);
    objects.WriteRegistered(KW_PROVINCE);
    objects.WriteRegistered(KW_COT);
    if (objects.Result() != FIELD_WRITTEN)
        return objects.Result();
    if (out.WriteCode(TOKEN_NEWLINE) != FIELD_WRITTEN)
        return FIELD_ERROR;
    objects.WriteRegistered(KW_COUNTRY);
    objects.WriteRegistered(KW_PEACE);
    objects.WriteRegistered(KW_EYR);
    if (!IsMultiplayerGame()) {
        objects.WriteRegistered(KW_INTERFACE);
        objects.WriteRegistered(KW_MECENAT);
    }
    objects.WriteRegistered(KW_COMBAT);
    return objects.Result();
}

int32_t SaveGameFile(const std::string& path) {
    const std::string temporary = path + ".tmp";
    int32_t result = FIELD_ERROR;
    {
        CFieldReader out;
        out.Open(temporary, "w");
        if (out.IsOpen()) {
            result = WriteGameFile(out);
            if (result == FIELD_WRITTEN && !out.GetTokenFile()->Flush())
                result = FIELD_ERROR;
        }
    }
    if (result == FIELD_WRITTEN && platform::ReplaceGameFile(temporary, path))
        return FIELD_WRITTEN;
    platform::RemoveGameFile(temporary);
    CriticalError("Could not save the game to %s; the previous file is kept.", path.c_str());
    return FIELD_ERROR;
}

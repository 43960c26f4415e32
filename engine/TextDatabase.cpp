#include "engine/TextDatabase.h"

#include <vector>

#include "engine/CriticalError.h"
#include "engine/CsvReader.h"

CTextDatabase g_textDatabase;

namespace {

constexpr size_t kKeySize = 260;
constexpr size_t kTextSize = 8192;

// Backslash followed by "n" becomes CR LF; any other byte is kept.
std::string* MakeText(const char* cell) {
    auto* text = new std::string;
    for (const char* p = cell; *p; ++p) {
        if (p[0] == '\\' && p[1] == 'n') {
            *text += "\r\n";
            ++p;
        } else {
            *text += *p;
        }
    }
    return text;
}

bool IsIgnoredKey(std::string_view key) {
    return key.size() < 2 || key[0] == '#';
}

} // namespace

bool CTextDatabase::Load(int column) {
    if (column < 0 || column >= COLUMNS)
        return false;
    DeleteAll();
    BeginLoad();
    CCsvReader reader("config\\text.csv");
    char key[kKeySize];
    std::vector<char> cell(kTextSize);
    std::vector<char> text(kTextSize);
    bool more = reader.IsOpen();
    while (more) {
        if (!reader.ReadString(key, sizeof key))
            break;
        std::string_view keyView(key);
        if (CompareNoCase(keyView, "#EOF") == 0)
            break;
        if (!IsIgnoredKey(keyView)) {
            for (char c : keyView)
                if (c == ' ')
                    CriticalError("ERROR in language file, token '%s'\n", key);
            // The ten texts; the one of the column is kept. At the end of
            // the file the texts read so far still count.
            bool haveText = false;
            for (int i = 0; i < COLUMNS && more; ++i) {
                more = reader.ReadString(cell.data(), cell.size());
                if (i == column) {
                    cell.swap(text);
                    haveText = true;
                }
            }
            if (haveText) {
                std::string* value = MakeText(text.data());
                if (!Insert(keyView, value))
                    delete value;
            }
        }
        if (more && !reader.LastCellEndedLine())
            more = reader.SkipLines(1);
    }
    EndLoad();
    return reader.IsOpen();
}

const char* CTextDatabase::GetText(std::string_view key) const {
    const std::string* text = Find(key);
    return text ? text->c_str() : "UNKNOWN STRING WANTED\n";
}

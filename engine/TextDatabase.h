#pragma once
// The text database: every text shown to the player, looked up by its text
// key (case-blind) in one language column of "config\\text.csv".
#include <string>
#include <string_view>

#include "engine/StringMap.h"

// The texts belong to the database.
class CTextDatabase : public CStringMap<std::string, std::default_delete<std::string>> {
public:
    static constexpr int COLUMNS = 10;

    // Frees the texts loaded before and loads the language column (0..9).
    // A column out of range is refused (false, the texts unchanged). False
    // also when the file cannot be opened (the texts are then empty).
    //
    // Rows: a key cell, then the ten texts. A key "#EOF" (any case) ends the
    // file; an empty key, a one-character key or a key beginning with "#"
    // marks a row that is passed over. Each blank inside a key shows the
    // critical-error box "ERROR in language file, token '%s'\n". In a text,
    // backslash and "n" become CR LF. Keys are cut to 259 bytes and texts
    // to 8191 bytes. The rest of a row is skipped unless its last cell read
    // ended the line, so a row without a closing cell after its tenth text
    // does not swallow the next row. Without "#EOF", loading stops at the
    // end of the file.
    bool Load(int column);

    // The text of the key, or "UNKNOWN STRING WANTED\n". Valid until the
    // next Load.
    const char* GetText(std::string_view key) const;
};

extern CTextDatabase g_textDatabase;

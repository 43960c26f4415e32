// Writes the original demo world (a small playable game folder) into the
// folder named on the command line: make_demo_world <game folder>.
//
// Every file the game reads has a writer here, so the program starts on a
// fresh machine. Text files use the single-byte code page and CR LF line ends,
// as the game's own data does.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kLanguages = 10;

struct TextRow {
    const char* key;
    const char* text; // the same text in every language column of the demo
};

// Every text key the program looks up so far.
const std::vector<TextRow>& TextRows() {
    static const std::vector<TextRow> rows = {
        {"JANUARY", "January"},   {"FEBRUARY", "February"}, {"MARCH", "March"},
        {"APRIL", "April"},       {"MAY", "May"},           {"JUNE", "June"},
        {"JULY", "July"},         {"AUGUST", "August"},     {"SEPTEMBER", "September"},
        {"OCTOBER", "October"},   {"NOVEMBER", "November"}, {"DECEMBER", "December"},
    };
    return rows;
}

bool WriteFile(const fs::path& path, const std::string& bytes) {
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "make_demo_world: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

// config\text.csv: a header row, one row per key with ten language columns
// and a closing cell, and the "#EOF" row.
bool WriteTextDatabase(const fs::path& game) {
    std::string csv = "#KEY";
    static const char* const kLanguageNames[kLanguages] = {
        "English", "French", "German", "Spanish", "Italian",
        "Swedish", "Polish", "Portuguese", "Dutch", "Latin"};
    for (const char* name : kLanguageNames)
        csv += std::string(";") + name;
    csv += ";X\r\n";
    for (const TextRow& row : TextRows()) {
        csv += row.key;
        for (int i = 0; i < kLanguages; ++i)
            csv += std::string(";") + row.text;
        csv += ";X\r\n";
    }
    csv += "#EOF;;;;;;;;;;;X\r\n";
    return WriteFile(game / "config" / "text.csv", csv);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_demo_world <game folder>\n");
        return 2;
    }
    const fs::path game = argv[1];
    bool ok = true;
    ok = WriteTextDatabase(game) && ok;
    return ok ? 0 : 1;
}

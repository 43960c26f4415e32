// config\text.csv: a header row, one row per key with ten language columns
// and a closing cell, and the "#EOF" row. Every text key the program looks
// up has a row here, in the single-byte code page, with CR LF line ends.
#include "tools/DemoWorld.h"

namespace {

constexpr int kLanguages = 10;

// The month names.
const demo::DemoText kMonths[] = {
    {"JANUARY", "January"}, {"FEBRUARY", "February"}, {"MARCH", "March"},
    {"APRIL", "April"},     {"MAY", "May"},           {"JUNE", "June"},
    {"JULY", "July"},       {"AUGUST", "August"},     {"SEPTEMBER", "September"},
    {"OCTOBER", "October"}, {"NOVEMBER", "November"}, {"DECEMBER", "December"},
};

bool WriteTextDatabase(const std::filesystem::path& game) {
    static const char* const kLanguageNames[kLanguages] = {
        "English", "French", "German",     "Spanish", "Italian",
        "Swedish", "Polish", "Portuguese", "Dutch",   "Latin"};
    std::string csv = "#KEY";
    for (const char* name : kLanguageNames)
        csv += std::string(";") + name;
    csv += ";X\r\n";
    for (const demo::TextRow& row : demo::TextRows()) {
        csv += row.key;
        for (int i = 0; i < kLanguages; ++i)
            csv += std::string(";") + row.text;
        csv += ";X\r\n";
    }
    csv += "#EOF;;;;;;;;;;;X\r\n";
    return demo::WriteFile(game / "config" / "text.csv", csv);
}

const demo::DemoWriter kTexts("config/text.csv", &WriteTextDatabase);

} // namespace

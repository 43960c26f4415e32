#pragma once
// The demo world generator: each file of the game folder has a writer,
// registered by a static DemoWriter object in the source that makes it. The
// generator runs every writer, in name order, into the game folder.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace demo {

using WriterFunction = bool (*)(const std::filesystem::path& game);

struct DemoWriter {
    DemoWriter(const char* name, WriterFunction function);
};

struct RegisteredWriter {
    std::string name;
    WriterFunction function;
};

// A row of config\text.csv: the same text in every language column. Sources
// that need text keys register them with a static DemoText object.
struct DemoText {
    DemoText(const char* key, const char* text);
};

struct TextRow {
    std::string key;
    std::string text;
};

// Every registered text row, sorted by key.
std::vector<TextRow> TextRows();

// Every registered writer, sorted by name.
std::vector<RegisteredWriter> Writers();

// Writes the bytes to the file (host path), creating its folders; reports
// and answers false on failure.
bool WriteFile(const std::filesystem::path& path, const std::string& bytes);
bool WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

} // namespace demo

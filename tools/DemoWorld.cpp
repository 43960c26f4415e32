#include "tools/DemoWorld.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace demo {

namespace {
std::vector<RegisteredWriter>& Registry() {
    static std::vector<RegisteredWriter> writers;
    return writers;
}
std::vector<TextRow>& TextRegistry() {
    static std::vector<TextRow> rows;
    return rows;
}
} // namespace

DemoText::DemoText(const char* key, const char* text) {
    TextRegistry().push_back({key, text});
}

std::vector<TextRow> TextRows() {
    std::vector<TextRow> rows = TextRegistry();
    std::stable_sort(rows.begin(), rows.end(),
                     [](const TextRow& a, const TextRow& b) { return a.key < b.key; });
    return rows;
}

DemoWriter::DemoWriter(const char* name, WriterFunction function) {
    Registry().push_back({name, function});
}

std::vector<RegisteredWriter> Writers() {
    std::vector<RegisteredWriter> writers = Registry();
    std::sort(writers.begin(), writers.end(),
              [](const RegisteredWriter& a, const RegisteredWriter& b) { return a.name < b.name; });
    return writers;
}

bool WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "make_demo_world: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

bool WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    return WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

} // namespace demo

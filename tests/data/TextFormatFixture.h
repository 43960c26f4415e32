#pragma once
// A fixture for the text-format tests: the keyword index built, a temp game
// folder, a box recorder, and a field reader over a file written from bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "data/Keywords.h"
#include "data/TokenFile.h"
#include "tests/TestSupport.h"

namespace test {

// A token as code and text, comparable and printable.
struct Tok {
    uint32_t code;
    std::string text;
    bool operator==(const Tok&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Tok& tok) {
    return out << "{" << tok.code << ", \"" << tok.text << "\"}";
}

class TextFormatTest : public ::testing::Test {
protected:
    void SetUp() override { BuildKeywordIndex(); }

    // Writes the bytes as "test.txt" and opens the reader on it.
    void OpenText(const std::string& bytes) {
        dir.WriteFile("test.txt", bytes);
        reader.Open("test.txt", "r");
    }

    CTokenFile& File() { return *reader.GetTokenFile(); }

    // Every token the tokenizer delivers, up to the end of the file.
    std::vector<Tok> TokenizeAll(const std::string& bytes) {
        OpenText(bytes);
        std::vector<Tok> tokens;
        while (File().Next() == 1)
            tokens.push_back({File().Current().code, File().Current().text});
        return tokens;
    }

    // True when some box shown so far contains the text.
    bool BoxShown(const std::string& part) const {
        for (const std::string& text : boxes.texts)
            if (text.find(part) != std::string::npos)
                return true;
        return false;
    }

    ScopedGameDir dir;
    BoxRecorder boxes;
    CFieldReader reader;
};

} // namespace test

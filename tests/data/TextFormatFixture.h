#pragma once
// A fixture for the text-format tests: the keyword index built, a temp game
// folder, a box recorder, a field reader over a file written from bytes,
// nodes printed as the writer prints them, and whole game files read from
// text.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "data/DataTree.h"
#include "data/GameFile.h"
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

    // What the node prints (the node is taken over); the writing must
    // succeed.
    std::string Print(CDataNode* node) {
        CNodeRef<CDataNode> held(node);
        CFieldReader out;
        out.Open("printed.txt", "w");
        EXPECT_EQ(held->Write(out, 0), FIELD_WRITTEN);
        out.Close();
        return dir.ReadFile("printed.txt");
    }

    // What "key = <node>" prints (the node is taken over).
    std::string Print(uint32_t key, CDataNode* node) {
        return Print(new CDataAssignment(key, node));
    }

    // Reads a whole file of the game folder, as a scenario or a saved game.
    int32_t Load(const std::string& path) {
        CFieldReader in;
        in.Open(path, "r");
        const int32_t result = ReadGameFile(in);
        in.Close();
        return result;
    }

    // Writes the text as a file of the game folder and reads it whole.
    int32_t LoadText(const std::string& text, const std::string& name = "test.ovg") {
        dir.WriteFile(name, text);
        return Load(name);
    }

    // True when some box shown so far contains the text.
    bool BoxShown(const std::string& part) const { return boxes.Shown(part); }

    ScopedGameDir dir;
    BoxRecorder boxes;
    CFieldReader reader;
};

} // namespace test

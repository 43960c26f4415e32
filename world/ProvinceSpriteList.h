#pragma once
// Where the province window puts the symbols of a province's buildings and
// state over its picture. Each window key names a layout file
// "gfx\interface\piw\<key>.txt" in the game's text format, a sequence of
//   fort = { x = 96 y = 70 }
//   tree3 = { x = 20 y = 200 }
// entries; the provinces that name the same key share one list.
#include <cstdint>
#include <string>
#include <vector>

class CFieldReader;

// Kinds of symbols.
constexpr uint8_t kPiwChurch = 0;
constexpr uint8_t kPiwHouse1 = 1;
constexpr uint8_t kPiwHouse = 2; // "house2" to "house4"
constexpr uint8_t kPiwFort = 5;
constexpr uint8_t kPiwPort = 6;
constexpr uint8_t kPiwBarracks = 7;
constexpr uint8_t kPiwBank = 8;
constexpr uint8_t kPiwEmbassy = 9;
constexpr uint8_t kPiwMerchant = 10;
constexpr uint8_t kPiwResource = 11;
constexpr uint8_t kPiwBlockade = 12;
constexpr uint8_t kPiwSiege = 13;
constexpr uint8_t kPiwTree = 14;
constexpr uint8_t kPiwTrading = 15;
constexpr uint8_t kPiwNative = 16;
constexpr uint8_t kPiwFortExtension = 17;

// The help code of a symbol without a button.
constexpr int32_t kPiwNoHelp = -1;
// Tree pictures are numbered 1 to 15.
constexpr int32_t kPiwTreeCount = 15;

struct ProvinceSpriteEntry {
    uint8_t kind = kPiwTree;
    int32_t x = 0; // relative to the window's picture
    int32_t y = 0;
    int32_t helpCode = kPiwNoHelp; // the interface button of a building
    int32_t treeNumber = 0;        // 1..15 for a tree
};

class CProvinceSpriteList {
public:
    CProvinceSpriteList() = default;

    // Reads entries until the reader stops at a "}" or the end of the file,
    // then takes the next token (that "}"). Per field: a key that is a
    // keyword of the format other than "bank", "merchant", "port" and
    // "siege" is passed over silently; a value that is not a "{" block is
    // reported ("No left Curly") and passed over; a key that names no symbol
    // is reported ("unknown sprite") and still makes an entry, a tree
    // without a number. The point's x is stored plus 4 (held to the 32-bit
    // range). Answers 0.
    int32_t Read(CFieldReader& reader);

    const std::vector<ProvinceSpriteEntry>& Entries() const { return m_entries; }
    size_t GetCount() const { return m_entries.size(); }

private:
    std::vector<ProvinceSpriteEntry> m_entries;
};

// The layout of the window key: read from "gfx\interface\piw\<key>.txt" on
// the key's first use and kept under the key (matched without regard to
// case), so that every province naming the key shares it. A file that cannot
// be opened is reported by the file layer and gives an empty list. Null for
// an empty key.
CProvinceSpriteList* GetProvinceSpriteList(const std::string& windowKey);
// Frees every kept layout (the provinces' pointers to them become invalid).
void FreeProvinceSpriteLists();

#pragma once
// CStringTree: a binary search tree of (key, text, value) keyed by text
// without regard to ASCII case; the keyword index of the text format.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// Compares two texts as the C library's stricmp does: byte by byte with the
// ASCII letters folded to lower case. Negative, zero or positive.
int CompareNoCase(std::string_view a, std::string_view b);

class CStringTree {
public:
    static constexpr uint32_t NOT_FOUND = 0xFFFFFFFF;

    CStringTree();
    ~CStringTree();
    CStringTree(const CStringTree&) = delete;
    CStringTree& operator=(const CStringTree&) = delete;

    // Stores copies of key and text with the value: greater keys go right,
    // smaller or equal keys left. An equal key shows the critical-error box
    // " Duplicate string in text database %s" first and is then inserted to
    // the left.
    void Insert(std::string_view key, std::string_view text, uint32_t value);

    // The value stored under the key, or NOT_FOUND.
    uint32_t FindValue(std::string_view key) const;

private:
    struct Node {
        bool used = false; // false: an empty node (the root of an empty tree)
        std::string key;
        std::string text;
        uint32_t value = 0;
        std::unique_ptr<Node> left;
        std::unique_ptr<Node> right;
    };

    std::unique_ptr<Node> m_root;
};

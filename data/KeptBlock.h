#pragma once
// CKeptBlock: a block of the text format kept as the data tree it was read
// into, for the parts of a saved game whose owner reads only what it needs
// or nothing yet: written back as it was read, so that files round-trip.
//
// Entries become nodes as the writers make them: "key = value" an assignment
// (a keyword key by its id, any other word by its text), a number with a "."
// a decimal node, any other number an integer node, a keyword value its
// identifier ("yes", "october"), a string a string node, "{" a nested block;
// values that stand without a key (lists) are children of their own; commas
// are passed over.
#include <cstdint>

#include "data/DataTree.h"
#include "data/TokenFile.h"

// Deepest nesting of blocks that is read; deeper input is refused so that a
// hostile file cannot exhaust the stack (and the tree can always be written
// back within kMaxWriteDepth).
constexpr int32_t kMaxKeptBlockDepth = 64;

// Reads the entries of a block whose "{" has been taken, up to and including
// its "}", appending them to the block. FIELD_BLOCK_END at the "}";
// FIELD_END_OF_FILE at the end of the file; FIELD_ERROR (reported) for a stray
// token or nesting deeper than kMaxKeptBlockDepth. The entries read before a
// failure stay.
int32_t ReadDataTree(CFieldReader& in, CDataBlock& block);

class CKeptBlock {
public:
    CKeptBlock() = default;
    virtual ~CKeptBlock() = default;

    // The block after its "{" up to and including its "}"; what was kept
    // before is replaced (on a failed read, by the entries read so far).
    // Answers as ReadDataTree.
    virtual int32_t Read(CFieldReader& in);
    // The entries of a whole file: FIELD_BLOCK_END at its end (or at a stray
    // "}"), FIELD_ERROR as ReadDataTree.
    int32_t ReadFile(CFieldReader& in);
    // A new block holding the kept entries (empty when nothing was read);
    // the caller owns it.
    virtual CDataBlock* Write() const;

    // Number of entries kept.
    uint32_t GetCount() const { return m_block ? m_block->GetChildCount() : 0; }
    bool IsEmpty() const { return GetCount() == 0; }
    // The kept block, null before the first read.
    const CDataBlock* GetBlock() const { return m_block.Get(); }
    // The value of the first entry with the keyword, or null.
    CDataNode* FindValue(uint32_t keywordId) const;
    // The object id of the entry "id = { type = T id = N }", null id when
    // there is none.
    ObjectId FindObjectId() const;
    void Clear() { m_block.Reset(); }

private:
    CNodeRef<CDataBlock> m_block;
};

#pragma once
// The script hook lists of the game messages, and the symbol tables of the
// script language.
//
// Every message type has a list of script hooks that would run when a
// message of that type has been carried out. Nothing adds a hook, so every
// list stays empty: a message only asks its list whether it is empty.
#include <array>
#include <cstdint>

#include "data/DataTree.h"
#include "engine/LinkedList.h"
#include "engine/StringMap.h"

// A list of raw memory blocks (from std::malloc) that it owns: its
// destructor frees every block (no destructor of an item runs), then the
// nodes.
class CHookList : public CLinkedList<void> {
public:
    CHookList() = default;
    ~CHookList() override;
};

// One hook list per message type id (0 to 317), from static initialisation
// to program exit.
constexpr uint32_t EVENT_HOOK_LIST_COUNT = 318;
extern std::array<CHookList, EVENT_HOOK_LIST_COUNT> g_eventHooks;

// A case-insensitive dictionary of named nodes; every node it holds carries
// one reference.
class CScriptSymbolTable : public CDataNode {
public:
    CScriptSymbolTable() : CDataNode(NODE_SYMBOL_TABLE) {}
    ~CScriptSymbolTable() override { Clear(); }

    // Holds the node (never null) under its name (GetName). A node already
    // stored under that name is released. A node without a name is not
    // stored (and deleted when nobody holds it); false then.
    bool Add(CDataNode* node);
    // Releases every node and empties the dictionary.
    void Clear();
    // The node stored under the name (any case), or null.
    CDataNode* Lookup(const char* name) override;
    // Number of nodes stored.
    uint32_t GetCount() const { return m_count; }

private:
    CStringTrie<CDataNode> m_names;
    uint32_t m_count = 0;
};

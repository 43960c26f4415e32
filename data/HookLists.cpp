#include "data/HookLists.h"

#include <cstdlib>

std::array<CHookList, EVENT_HOOK_LIST_COUNT> g_eventHooks;

CHookList::~CHookList() {
    ForEach([](void* block) { std::free(block); });
    RemoveAll();
}

bool CScriptSymbolTable::Add(CDataNode* node) {
    CNodeRef<CDataNode> held(node);
    const char* name = node ? node->GetName() : nullptr;
    if (!name || !*name)
        return false;
    CDataNode* previous = m_names.Find(name);
    if (previous == node)
        return true;
    node->AddRef();
    m_names.Insert(name, node);
    if (previous)
        CDataNode::Release(previous);
    else
        ++m_count;
    return true;
}

void CScriptSymbolTable::Clear() {
    std::vector<CDataNode*> nodes;
    m_names.ForEach([&nodes](CDataNode* node) { nodes.push_back(node); });
    m_names.RemoveAll();
    m_count = 0;
    for (CDataNode* node : nodes)
        CDataNode::Release(node);
}

CDataNode* CScriptSymbolTable::Lookup(const char* name) {
    return name ? m_names.Find(name) : nullptr;
}

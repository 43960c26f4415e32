#include "engine/StringTree.h"

#include <vector>

#include "engine/CriticalError.h"

namespace {

unsigned char FoldLower(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u + ('a' - 'A')) : u;
}

} // namespace

int CompareNoCase(std::string_view a, std::string_view b) {
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        int d = FoldLower(a[i]) - FoldLower(b[i]);
        if (d != 0)
            return d;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

CStringTree::CStringTree() : m_root(std::make_unique<Node>()) {}

// Sorted inserts make a long chain: free the nodes without recursion.
CStringTree::~CStringTree() {
    std::vector<std::unique_ptr<Node>> pending;
    pending.push_back(std::move(m_root));
    while (!pending.empty()) {
        std::unique_ptr<Node> node = std::move(pending.back());
        pending.pop_back();
        if (node->left)
            pending.push_back(std::move(node->left));
        if (node->right)
            pending.push_back(std::move(node->right));
    }
}

void CStringTree::Insert(std::string_view key, std::string_view text, uint32_t value) {
    Node* node = m_root.get();
    while (node->used) {
        int order = CompareNoCase(key, node->key);
        if (order == 0)
            CriticalError(" Duplicate string in text database %s", std::string(key).c_str());
        std::unique_ptr<Node>& link = order > 0 ? node->right : node->left;
        if (!link)
            link = std::make_unique<Node>();
        node = link.get();
    }
    node->used = true;
    node->key = key;
    node->text = text;
    node->value = value;
}

uint32_t CStringTree::FindValue(std::string_view key) const {
    const Node* node = m_root.get();
    while (node && node->used) {
        int order = CompareNoCase(key, node->key);
        if (order == 0)
            return node->value;
        node = order > 0 ? node->right.get() : node->left.get();
    }
    return NOT_FOUND;
}

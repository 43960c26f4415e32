#pragma once
// CStringMap: a string-keyed map built as a ternary search tree; keys match
// without regard to ASCII case. The map holds Value pointers.
//
// Ownership is part of the type. With Deleter void (the default) the map
// does not own its values: it never frees them, except in DeleteAll (with
// delete). With a Deleter (std::default_delete<Value>, or one that drops a
// reference) the map owns them: it frees them through the Deleter when it is
// emptied or destroyed and when a key's value is replaced. Each value is
// stored under one key only.
//
// Bulk loading: between BeginLoad and EndLoad, Insert only collects entries,
// kept sorted by key; EndLoad then puts them into the tree middle first, so
// that the tree comes out balanced although the input is sorted.
//
// Lookup walks the tree without allocating. Nothing here recurses, so a deep
// tree (built from sorted keys outside a bulk load) is freed safely.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "engine/StringTree.h"

template <class Value, class Deleter = void> class CStringMap {
public:
    static constexpr bool OWNS_VALUES = !std::is_void_v<Deleter>;

    CStringMap() = default;
    virtual ~CStringMap() { Empty<OWNS_VALUES>(); }
    CStringMap(const CStringMap&) = delete;
    CStringMap& operator=(const CStringMap&) = delete;

    // The value stored under the key, or none (also for the empty key).
    Value* Find(std::string_view key) const {
        if (key.empty())
            return nullptr;
        const Node* node = m_root.get();
        size_t i = 0;
        while (node) {
            unsigned char c = Upper(key[i]);
            unsigned char n = Upper(node->ch);
            if (c < n) {
                node = node->lo.get();
            } else if (c > n) {
                node = node->hi.get();
            } else {
                if (++i == key.size())
                    return node->value;
                node = node->eq.get();
            }
        }
        return nullptr;
    }

    void BeginLoad() { m_loading = true; }

    // Puts the collected entries into the tree: for n entries, step = n + 1
    // and start = n; then repeatedly step and start are halved (stop when
    // step is 0), the entries start, start + step, ... go in unless they are
    // in already, and a step above 2 grows by 1. Whatever is left goes in in
    // order. For n = 10: 5, then 2 and 8, then the odd ones, then the rest.
    void EndLoad() {
        m_loading = false;
        std::vector<Pending> entries = std::move(m_pending);
        m_pending.clear();
        size_t n = entries.size();
        size_t step = n + 1;
        size_t start = n;
        for (;;) {
            step /= 2;
            start /= 2;
            if (step < 1)
                break;
            for (size_t i = start; i < n; i += step)
                InsertPending(entries[i]);
            if (step > 2)
                ++step;
        }
        for (Pending& entry : entries)
            InsertPending(entry);
    }

    // Frees every node and drops the collected entries; count 0. The values
    // are kept, unless the map owns them.
    void RemoveAll() { Empty<OWNS_VALUES>(); }
    // The same, freeing every value (stored or collected) through FreeValue.
    void DeleteAll() { Empty<true>(); }

    // Calls the function with every stored value in ascending key order (for
    // each node: lo subtree, its value, eq subtree, hi subtree). The function
    // must not change the map.
    void ForEach(const std::function<void(Value*)>& function) const {
        struct Frame {
            const Node* node;
            int stage;
        };
        std::vector<Frame> stack;
        if (m_root)
            stack.push_back({m_root.get(), 0});
        while (!stack.empty()) {
            Frame& top = stack.back();
            const Node* node = top.node;
            switch (top.stage++) {
            case 0:
                if (node->lo)
                    stack.push_back({node->lo.get(), 0});
                break;
            case 1:
                if (node->value)
                    function(node->value);
                if (node->eq)
                    stack.push_back({node->eq.get(), 0});
                break;
            default:
                stack.pop_back();
                if (node->hi)
                    stack.push_back({node->hi.get(), 0});
                break;
            }
        }
    }

    // While loading, collects the entry (after the entries whose keys are
    // not greater); otherwise puts it into the tree at once. An earlier
    // value under the same key is replaced. False for the empty key, which
    // is not stored: the caller keeps its value.
    bool Insert(std::string_view key, Value* value) {
        if (key.empty())
            return false;
        if (m_loading) {
            // Sorted input appends; otherwise before the first greater key.
            auto at = m_pending.end();
            if (!m_pending.empty() && CompareNoCase(m_pending.back().key, key) > 0) {
                at = m_pending.begin();
                while (CompareNoCase(at->key, key) <= 0)
                    ++at;
            }
            m_pending.insert(at, Pending{std::string(key), value, false});
            return true;
        }
        InsertIntoTree(key, value);
        return true;
    }

    // Frees a value with the Deleter (delete when the map owns nothing).
    void FreeValue(Value* value) {
        if (!value)
            return;
        if constexpr (OWNS_VALUES)
            Deleter()(value);
        else
            delete value;
    }

    // Insertions into the tree since it was last emptied (replacements too).
    uint32_t GetCount() const { return m_count; }

protected:
    struct Node {
        Value* value = nullptr;
        char ch = 0;
        std::unique_ptr<Node> lo;
        std::unique_ptr<Node> eq;
        std::unique_ptr<Node> hi;
    };

    const Node* Root() const { return m_root.get(); }

private:
    struct Pending {
        std::string key;
        Value* value;
        bool inserted;
    };

    static unsigned char Upper(char c) {
        unsigned char u = static_cast<unsigned char>(c);
        return (u >= 'a' && u <= 'z') ? static_cast<unsigned char>(u - ('a' - 'A')) : u;
    }

    void InsertPending(Pending& entry) {
        if (entry.inserted)
            return;
        entry.inserted = true;
        InsertIntoTree(entry.key, entry.value);
    }

    void InsertIntoTree(std::string_view key, Value* value) {
        std::unique_ptr<Node>* link = &m_root;
        size_t i = 0;
        for (;;) {
            if (!*link) {
                *link = std::make_unique<Node>();
                (*link)->ch = key[i];
            }
            Node* node = link->get();
            unsigned char c = Upper(key[i]);
            unsigned char n = Upper(node->ch);
            if (c < n) {
                link = &node->lo;
            } else if (c > n) {
                link = &node->hi;
            } else if (i + 1 < key.size()) {
                ++i;
                link = &node->eq;
            } else {
                if constexpr (OWNS_VALUES)
                    if (node->value != value)
                        FreeValue(node->value);
                node->value = value;
                ++m_count;
                return;
            }
        }
    }

    template <bool FreeValues> void Empty() {
        std::vector<std::unique_ptr<Node>> stack;
        if (m_root)
            stack.push_back(std::move(m_root));
        while (!stack.empty()) {
            std::unique_ptr<Node> node = std::move(stack.back());
            stack.pop_back();
            if constexpr (FreeValues)
                FreeValue(node->value);
            for (std::unique_ptr<Node>* link : {&node->lo, &node->eq, &node->hi})
                if (*link)
                    stack.push_back(std::move(*link));
        }
        if constexpr (FreeValues)
            for (Pending& entry : m_pending)
                FreeValue(entry.value);
        m_pending.clear();
        m_count = 0;
    }

    std::unique_ptr<Node> m_root;
    bool m_loading = false;
    uint32_t m_count = 0;
    std::vector<Pending> m_pending;
};

// The dictionary of named objects (script names, the names of the world
// model); it owns its values only when given a Deleter.
template <class Value, class Deleter = void> class CStringTrie : public CStringMap<Value, Deleter> {
public:
    Value* Get(std::string_view name) const { return this->Find(name); }
};

// The owning dictionary (fonts, palettes): its values are deleted when it is
// emptied or destroyed.
template <class Value, class Deleter = std::default_delete<Value>>
class CStringDictionary : public CStringTrie<Value, Deleter> {};

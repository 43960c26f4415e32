#pragma once
// An array of pointers whose element access is checked: a bad index is
// reported to the debug trace ("Array bounds violation.") and answers the
// first element (null when the array is empty) instead of reading outside.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/CriticalError.h"

template <class T> class CheckedPtrArray {
public:
    void Add(T* item) { m_items.push_back(item); }
    size_t GetCount() const { return m_items.size(); }
    void Clear() { m_items.clear(); }

    T* At(int64_t i) const {
        if (i < 0 || static_cast<uint64_t>(i) >= m_items.size()) {
            DebugPrint("Array bounds violation.");
            return m_items.empty() ? nullptr : m_items.front();
        }
        return m_items[static_cast<size_t>(i)];
    }

private:
    std::vector<T*> m_items;
};

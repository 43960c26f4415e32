#pragma once
// The name lists read at start-up (random leaders, armies, fleets,
// colonies): one list per country, at most 256 names each.
#include <cstdint>
#include <vector>

#include "engine/CriticalError.h"

template <class T> class CGrowArray {
public:
    static constexpr int32_t kCapacity = 256;

    // Appends the item; a full list drops it with the trace line "no room
    // for addtail in oblist" and answers false.
    bool Add(T item) {
        if (GetCount() >= kCapacity) {
            DebugPrint("no room for addtail in oblist\n");
            return false;
        }
        m_items.push_back(std::move(item));
        return true;
    }
    int32_t GetCount() const { return static_cast<int32_t>(m_items.size()); }
    bool IsEmpty() const { return m_items.empty(); }
    void Clear() { m_items.clear(); }

    // An index outside the list writes "Array bounds violation." and gives
    // the first item (a default one when the list is empty).
    const T& At(int64_t index) const {
        if (index < 0 || index >= GetCount()) {
            DebugPrint("Array bounds violation.");
            if (m_items.empty()) {
                static const T kNone{};
                return kNone;
            }
            return m_items.front();
        }
        return m_items[static_cast<size_t>(index)];
    }
    const std::vector<T>& Items() const { return m_items; }

private:
    std::vector<T> m_items;
};

#pragma once
// ObjectId: the pair {type, number} that identifies every game object and
// every message receiver.
#include <cstdint>

struct ObjectId {
    uint16_t type = 0;
    uint32_t number = 0;

    constexpr ObjectId() = default;
    constexpr ObjectId(uint16_t t, uint32_t n) : type(t), number(n) {}

    constexpr bool operator==(const ObjectId& other) const = default;
    constexpr bool IsNull() const { return type == 0 && number == 0; }
};

#pragma once
// Test support: a payload of any content made into one the receiving check
// takes, so that tests of the wire form can pattern every byte: every number
// with a role (net/PayloadRoles.h) and a country's or province's id in the
// receiver become 1; counts and lengths stay.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/ObjectId.h"
#include "net/Event.h"
#include "net/PayloadRoles.h"

namespace testing_payload {

inline void SetNumber(COVEventData& payload, PayloadType type, size_t offset, uint32_t value) {
    if (type == PayloadType::U8)
        payload.SetU8(offset, static_cast<uint8_t>(value));
    else if (type == PayloadType::U16)
        payload.SetU16(offset, static_cast<uint16_t>(value));
    else
        payload.SetU32(offset, value);
}

inline void MakeGood(COVEventData& payload) {
    const auto goodId = [](ObjectId id) {
        if (id.type == kCountryObjectType || id.type == kProvinceIdType)
            id.number = 1;
        return id;
    };
    if (payload.Holds(EventHead::kReceiver))
        payload.SetReceiver(goodId(payload.GetReceiver()));
    size_t count = 0;
    for (const PayloadFieldRole& entry : GetPayloadRoles(payload.GetTypeId())) {
        const PayloadFieldInfo& field = entry.field;
        if (entry.role == PayloadRole::Countries || entry.role == PayloadRole::Provinces) {
            const size_t width = PayloadWidth(field.type);
            for (size_t i = 0; i < count && payload.Holds(field.offset + i * width, width); ++i)
                SetNumber(payload, field.type, field.offset + i * width, 1);
            continue;
        }
        if (!payload.Holds(field))
            continue;
        if (field.type == PayloadType::Id)
            payload.SetId(field.offset, goodId(payload.GetId(field.offset)));
        else if (entry.role == PayloadRole::Count || entry.role == PayloadRole::Length)
            count = field.type == PayloadType::U16 ? payload.GetU16(field.offset)
                                                   : payload.GetU32(field.offset);
        else
            SetNumber(payload, field.type, field.offset, 1);
    }
}

// The same for the payload inside a received block (after the 4-byte block
// head).
inline void MakeGoodBlock(std::vector<uint8_t>& block) {
    if (block.size() < 4 + EVENT_HEAD_SIZE)
        return;
    const size_t length = static_cast<size_t>(block[0] | (block[1] << 8));
    if (length < 2 || length - 2 > block.size() - 4)
        return;
    COVEventData payload(block.data() + 4, length - 2);
    MakeGood(payload);
    std::copy(payload.Bytes(), payload.Bytes() + payload.Size(), block.begin() + 4);
}

} // namespace testing_payload

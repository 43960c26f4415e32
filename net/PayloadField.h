#pragma once
// Payload layouts are declared once, field by field: each field is a
// constexpr descriptor holding its name, its offset from the start of the
// payload (the head included) and its type. COVEventData reads and writes
// through them (Get, Set, Holds), and every layout lists its fields in a
// kFields array so that checks can go over all of them.
//
//     static constexpr PayloadField<uint32_t> kProvince{"province", 20};
//     static constexpr PayloadFieldInfo kFields[] = {kProvince};
//     ...
//     const uint32_t province = event.Payload().Get(COVProvinceEvent::kProvince);
#include <cstddef>
#include <cstdint>

class CDate;
struct ObjectId;

// The value types a payload holds, little-endian: ObjectId as u16 type,
// 2 padding bytes, u32 number; CDate as 4 header bytes, day u8, month u8,
// year i16; a text as zero-terminated characters.
enum class PayloadType : uint8_t { U8, U16, U32, I32, F32, Id, Date, Text };

// Bytes of one value of the type.
constexpr size_t PayloadWidth(PayloadType type) {
    switch (type) {
    case PayloadType::U8:
    case PayloadType::Text:
        return 1;
    case PayloadType::U16:
        return 2;
    case PayloadType::U32:
    case PayloadType::I32:
    case PayloadType::F32:
        return 4;
    case PayloadType::Id:
    case PayloadType::Date:
        return 8;
    }
    return 0;
}

template <class T> struct PayloadTypeOf;
template <> struct PayloadTypeOf<uint8_t> { static constexpr PayloadType value = PayloadType::U8; };
template <> struct PayloadTypeOf<uint16_t> {
    static constexpr PayloadType value = PayloadType::U16;
};
template <> struct PayloadTypeOf<uint32_t> {
    static constexpr PayloadType value = PayloadType::U32;
};
template <> struct PayloadTypeOf<int32_t> {
    static constexpr PayloadType value = PayloadType::I32;
};
template <> struct PayloadTypeOf<float> { static constexpr PayloadType value = PayloadType::F32; };
template <> struct PayloadTypeOf<ObjectId> {
    static constexpr PayloadType value = PayloadType::Id;
};
template <> struct PayloadTypeOf<CDate> { static constexpr PayloadType value = PayloadType::Date; };

// Any field, described for the checks: count values of the type one after
// the other, or (count 0) a run whose length another field gives, which
// lasts to the end of the payload.
struct PayloadFieldInfo {
    const char* name;
    size_t offset;
    PayloadType type;
    size_t count;

    constexpr size_t Width() const { return PayloadWidth(type) * count; }
};

// One value of type T.
template <class T> struct PayloadField {
    const char* name;
    size_t offset;

    constexpr operator PayloadFieldInfo() const {
        return {name, offset, PayloadTypeOf<T>::value, 1};
    }
};

// N values of type T one after the other; N = 0 for a run whose length
// another field gives.
template <class T, size_t N = 0> struct PayloadArray {
    const char* name;
    size_t offset;

    static constexpr size_t kCount = N;
    static constexpr size_t kWidth = PayloadWidth(PayloadTypeOf<T>::value);

    constexpr PayloadField<T> operator[](size_t index) const {
        return {name, offset + index * kWidth};
    }
    constexpr operator PayloadFieldInfo() const {
        return {name, offset, PayloadTypeOf<T>::value, N};
    }
};

// A zero-terminated text in a field of size bytes; size 0 for a text whose
// length another field gives (WithSize makes the field to read).
struct PayloadText {
    const char* name;
    size_t offset;
    size_t size;

    constexpr PayloadText WithSize(size_t fieldSize) const { return {name, offset, fieldSize}; }
    constexpr operator PayloadFieldInfo() const { return {name, offset, PayloadType::Text, size}; }
};

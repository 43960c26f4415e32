#pragma once
// What the numbers of a payload stand for, where that can be checked
// without the world: the declared fields that hold a country number, a
// province id, a count of the entries that follow or the id of a country or
// province get a role, and a received payload is held against the roles of
// its type before anything is built from it (net/NetEvent.cpp). The country
// handlers ask the same range questions of the numbers they read.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "data/CountryNumbers.h"
#include "net/PayloadField.h"

class COVEventData;

// Province ids run from 1 to 1472; slot 0 is "no province".
constexpr uint32_t kLastPayloadProvince = 1472;
// A list of countries (or of a new country's provinces) has at most 98
// entries.
constexpr uint32_t kMaxPayloadEntries = kCountrySlots - 1;

// A country number: 0..98.
constexpr bool IsPayloadCountry(int64_t number) {
    return number >= 0 && number < static_cast<int64_t>(kCountrySlots);
}
// A province id: 1..1472.
constexpr bool IsPayloadProvince(int64_t id) {
    return id >= 1 && id <= static_cast<int64_t>(kLastPayloadProvince);
}
// A province id or 0 for none.
constexpr bool IsPayloadProvinceOrNone(int64_t id) {
    return id == 0 || IsPayloadProvince(id);
}

enum class PayloadRole : uint8_t {
    Country,        // a country number 0..98
    CountryOrNone,  // a country number, or -1 for none
    Province,       // a province id 1..1472
    ProvinceOrNone, // a province id, or 0 for none
    Count,          // the entries that follow: within the payload, at most 98
    Length,         // the entries that follow: within the payload
    Countries,      // the run the count before it counts, each entry a country number
    Provinces,      // the run the count before it counts, each entry a province id
    Id,             // an ObjectId: {3, n} needs a country number, {4, n} a province slot 0..1472
};

struct PayloadFieldRole {
    PayloadFieldInfo field;
    PayloadRole role;
};

// The roles of a type's fields after the head; empty for a type without
// (and above 316). A run's role follows the role of the count that gives
// its length.
std::span<const PayloadFieldRole> GetPayloadRoles(uint32_t type);

// The first number of a payload that breaks its role: the message type, the
// field's name and the value (of an id: its number).
struct PayloadFault {
    uint32_t type = 0;
    const char* field = "";
    int64_t value = 0;
};

// Checks the head's receiver (Id) and every role of the payload's type; a
// field the payload does not reach is not checked (the size check comes
// first). Nothing for a good payload.
std::optional<PayloadFault> CheckPayloadRoles(const COVEventData& payload);

// "<type name> (<type>): <field> <value>", for the log line of a dropped
// message.
std::string DescribePayloadFault(const PayloadFault& fault);

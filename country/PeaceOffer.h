#pragma once
// Peace offers: a proposed peace between two countries of a war, waiting in
// g_peaceOffers until answered. Saved as top-level "peace" blocks.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "data/TokenFile.h"
#include "engine/ObjectId.h"

class CDataBlock;

// An offer hands over at most this many provinces.
constexpr uint32_t kMaxPeaceProvinces = 3;

class CPeaceOffer {
public:
    // The block after its "{" up to and including its "}". FIELD_BLOCK_END;
    // FIELD_ERROR (the rest of the block passed over) after an unknown key,
    // a province id outside 1..1472, a tag that names no country or a list
    // of more than three entries; FIELD_END_OF_FILE.
    int32_t Read(CFieldReader& in);
    // Every key the reader takes.
    CDataBlock* Write() const;

    // The computer player's acceptance test.
    bool IsAcceptable() const;

    // Bounds of the value and the cash as a file or a message gives them, so
    // that weighing the offer (the value negated, a part of the cash made a
    // whole number) and its treaty's terms stay in range.
    static constexpr int32_t kValueLimit = 1000000;
    static constexpr float kCashLimit = 1.0e8f;

    ObjectId id;
    ObjectId war;
    uint32_t from = 0;
    uint32_t to = 0;
    int32_t value = 0;
    uint32_t provinceCount = 0;
    int32_t colonies = 0;
    std::array<uint32_t, kMaxPeaceProvinces> provinces{};
    std::array<uint32_t, kMaxPeaceProvinces> newOwners{};
    float cash = 0.0f;
    uint8_t demanding = 0;
    uint8_t separateFrom = 0;
    uint8_t separateTo = 0;
    uint8_t isBetter = 0;
    uint8_t annexation = 0;
    uint8_t religion = 0;
    // --- answers ---
    // The answers expected (one per country that must agree), and the
    // acceptances and refusals in so far.
    int32_t expectedAnswers = 0;
    int32_t acceptances = 0;
    int32_t refusals = 0;
    // --- end of answers ---
};

// The offers standing, in the order made.
extern std::vector<std::unique_ptr<CPeaceOffer>> g_peaceOffers;

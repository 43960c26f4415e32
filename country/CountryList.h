#pragma once
// A list of country numbers (0 to 98), such as the members of an alliance,
// with queries over the countries of the listed numbers. A number whose slot
// in g_countries is empty (or that has no slot) is passed over.
#include <cstdint>
#include <functional>

#include "engine/LinkedList.h"

class CCountryList : public TListBase<uint32_t> {
public:
    // True when some listed number has a country hostile to country n;
    // false for an empty list.
    bool AnyMatches(uint32_t n) const;
    // The sums of the countries' first and second cached figures; 0 for an
    // empty list. Callers add the two for the list's total.
    double SumCountryValueA() const;
    double SumCountryValueB() const;

    // Calls the function with every listed number, head to tail (entries
    // marked removed during a walk are passed over).
    void ForEachNumber(const std::function<void(uint32_t)>& function) const;
};

// Every listed country gets a casus belli on the other country for a year;
// carried out here only.
void SendGiveCasusBelli(const CCountryList& countries, uint32_t other);

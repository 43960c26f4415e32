#pragma once
// Countries: up to 99, indexed by country number (0 to 98). A message for
// receiver {3, n} reaches country n through its handler interface, whose
// message operation is the country's message dispatcher (HandleMessage).
// Broadcast messages reach the countries through the list of countries.
#include <array>
#include <cstdint>
#include <memory>

#include "data/NamedObject.h"
#include "net/Event.h"

constexpr uint32_t kCountrySlots = 99;

class CCountry : public CNamedObject, public CEventHandler {
public:
    explicit CCountry(uint32_t number);
    // Empties the country's slot of g_countries when it holds this country.
    ~CCountry() override;

    uint32_t GetNumber() const { return m_number; }

    // Switches on the type id; answers EVENT_NOT_HANDLED or EVENT_CONSUMED.
    int HandleMessage(COVEvent& event) override;
    int HandleEvent(COVEvent& event) override { return HandleMessage(event); }

private:
    uint32_t m_number;
};

// The country of each number; an empty slot is null. The list of countries
// owns them.
extern std::array<CCountry*, kCountrySlots> g_countries;

// The countries in the order they were made; it owns them.
extern COwningList<CCountry> g_countryList;

// Stores the country in its slot of g_countries and appends it to the list
// of countries. A country whose number has no slot, or whose slot is taken,
// is refused (false; it is deleted).
bool AddCountry(std::unique_ptr<CCountry> country);

// Deletes every country of the list; their slots become empty.
void DeleteAllCountries();

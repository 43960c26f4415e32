#pragma once
// Cities. The province owns its city. A city's block is kept as it was read
// and written back, with the capital mark as the city holds it now; the
// fields the rest of the game asks for are taken from it.
#include <cstdint>

#include "data/KeptBlock.h"

class CDataBlock;
class CFieldReader;

class CCity {
public:
    CCity() = default;
    virtual ~CCity() = default;
    CCity(const CCity&) = delete;
    CCity& operator=(const CCity&) = delete;

    // The "city" block after its "{" up to and including its "}":
    // FIELD_BLOCK_END, or FIELD_ERROR after an error (FIELD_END_OF_FILE when
    // the file ends inside it). "location" names the
    // province, "population" (or "level") the population, "capital = yes"
    // the capital mark.
    virtual int32_t Read(CFieldReader& in);
    // The block as a new node (count 0, owned by the caller).
    virtual CDataBlock* Write() const;

    bool IsCapital() const { return m_capital != 0; }
    void ClearCapital() { m_capital = 0; }
    float GetPopulation() const { return m_population; }
    // The province id the block named, 0 when none.
    int32_t GetLocation() const { return m_location; }

    // Population below 700.
    bool IsColony() const { return m_population < 700.0f; }
    // Population from 700 up to below 5000.
    bool IsTown() const { return m_population >= 700.0f && m_population < 5000.0f; }

private:
    CKeptBlock m_block;
    uint8_t m_capital = 0;
    float m_population = 0.0f;
    int32_t m_location = 0;
};

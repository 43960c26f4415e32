#pragma once
// A small holder that units, settlements and centres of trade embed: a
// value and one map sprite, made with the holder and deleted with it.
#include <cstdint>
#include <memory>

class CMapSprite;

class CSpriteOwner {
public:
    // Value 0 and a new map sprite.
    CSpriteOwner();
    virtual ~CSpriteOwner();
    CSpriteOwner(const CSpriteOwner&) = delete;
    CSpriteOwner& operator=(const CSpriteOwner&) = delete;

    // Stores the value and answers it.
    virtual uint32_t SetValue(uint32_t newValue);
    uint32_t GetValue() const { return m_value; }

    CMapSprite& GetSprite() { return *m_sprite; }
    const CMapSprite& GetSprite() const { return *m_sprite; }

private:
    uint32_t m_value = 0;
    std::unique_ptr<CMapSprite> m_sprite;
};

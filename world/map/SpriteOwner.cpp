#include "world/map/SpriteOwner.h"

#include "world/map/MapSprite.h"

CSpriteOwner::CSpriteOwner() : m_sprite(std::make_unique<CMapSprite>()) {}

CSpriteOwner::~CSpriteOwner() = default;

uint32_t CSpriteOwner::SetValue(uint32_t newValue) {
    m_value = newValue;
    return m_value;
}

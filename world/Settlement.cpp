#include "world/Settlement.h"

#include "engine/NamedObject.h"
#include "engine/Palette.h"
#include "world/Province.h"

SettlementCountryHooks g_settlementCountries;

bool SettlementGraphicsOn() {
    return g_spriteDefinitions != nullptr;
}

// CSettlementSymbol ------------------------------------------------------------------

void CSettlementSymbol::SetKind(int32_t kind) {
    if (m_key.kind == kind)
        return;
    m_key.kind = kind;
    if (m_sprite)
        m_sprite->SetKind(kind);
}

void CSettlementSymbol::SetCulture(int32_t culture) {
    if (m_key.culture == culture)
        return;
    m_key.culture = culture;
    if (m_sprite)
        m_sprite->SetCulture(culture);
}

void CSettlementSymbol::SetAction(int32_t action) {
    if (m_key.action == action)
        return;
    m_key.action = action;
    if (m_sprite)
        m_sprite->SetAction(action);
}

void CSettlementSymbol::SetLevel(int32_t level) {
    if (m_key.level == level)
        return;
    m_key.level = level;
    if (m_sprite)
        m_sprite->SetLevel(level);
}

void CSettlementSymbol::PlaceAt(int32_t x, int32_t y) {
    m_position = {x, y};
    if (m_sprite)
        m_sprite->SetPosition(x, y);
}

void CSettlementSymbol::Show() {
    if (m_sprite || !SettlementGraphicsOn())
        return;
    m_sprite = std::make_unique<CMapSprite>();
    m_sprite->SetKey(m_key.culture, m_key.kind, m_key.action, m_key.direction, m_key.level);
    m_sprite->SetPosition(m_position.x, m_position.y);
}

void CSettlementSymbol::Draw(int32_t param) {
    if (m_sprite)
        m_sprite->Draw(param);
}

int CSettlementSymbol::HandleEvent(COVEvent& event) {
    return m_sprite ? m_sprite->HandleEvent(event) : EVENT_NOT_HANDLED;
}

// CSettlement ------------------------------------------------------------------------

CSettlement::CSettlement(const SpriteKey& symbolKey) : m_symbol(symbolKey) {}

CSettlement::~CSettlement() = default;

void CSettlement::SetProvinceId(int32_t provinceId) {
    m_provinceId = provinceId >= kFirstProvinceId && provinceId <= kLastProvinceId ? provinceId : 0;
}

CProvince* CSettlement::GetProvince() const {
    return m_provinceId > 0 ? ::GetProvince(m_provinceId) : nullptr;
}

int32_t CSettlement::GetControllerNumber() const {
    const CProvince* province = GetProvince();
    return province ? province->GetControllerNumber() : -1;
}

void CSettlement::UpdateFlag() {
    const CProvince* province = GetProvince();
    const int32_t controller = province ? province->GetControllerNumber() : -1;
    if (controller < 0)
        return;
    m_flagPosition = {province->unitPosition.x + 8, province->unitPosition.y - 22};
    m_flagPath = g_settlementCountries.flagPathOf ? g_settlementCountries.flagPathOf(controller)
                                                  : std::string();
    if (m_flagPath.empty() || !SettlementGraphicsOn()) {
        m_flag.reset();
        return;
    }
    m_flag = std::make_unique<SpriteWorld>(m_flagPath);
    if (CPalette* palette = ::GetPalette("flag palette.bmp"))
        m_flag->SetPalette(palette);
    m_flag->SetPosition(m_flagPosition.x, m_flagPosition.y);
}

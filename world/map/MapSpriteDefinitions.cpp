// The table of sprite definitions, the map sprites that show them, and the
// province markers.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>

#include "data/TokenFile.h"
#include "engine/CriticalError.h"
#include "engine/GameState.h"
#include "engine/Palette.h"
#include "net/ClockEvents.h"
#include "net/Event.h"
#include "net/EventTypes.h"
#include "platform/Files.h"
#include "world/Province.h"
#include "world/map/MapSprite.h"

CSpriteDefinitionTable* g_spriteDefinitions = nullptr;
int32_t g_mapSpriteCount = 0;

// Keys from file names --------------------------------------------------------------

namespace {

const char* const kKinds[] = {"army",  "navy", "stability", "city", "colony", "tpost",
                              "cot",   "port", "shipyard",  "fire", "siege",  "smoke",
                              "build", "mec",  "manu",      "loot", "strait", "barrack"};
const char* const kCultures[] = {"eng", "fra", "hab", "hol", "por", "pru", "rus",
                                 "spa", "swe", "tur", "ven", "min", "azt", "hin",
                                 "chi", "ind", "zul", "mus", "reb"};
const char* const kActions[] = {
    "stand",   "walk",        "fire",   "fort0",       "fort1",    "fort2",     "army",
    "navy",    "tpost",       "colony", "manufactory", "blockade", "shipyard",  "inshipyard",
    "barrack", "improvement", "horse",  "ship",        "wagon",    "goods",     "arts",
    "weap",    "wine",        "naval",  "sink",        "cot",      "siegetower"};
const char* const kDirections[] = {"n", "ne", "e", "se", "s", "sw", "w", "nw", "l", "r"};

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

// The index of the name in the table; the table's size (meaning none) when
// it is not there.
template <size_t N> int32_t IndexOf(const char* const (&names)[N], std::string_view name) {
    for (size_t i = 0; i < N; ++i)
        if (SameName(names[i], name))
            return static_cast<int32_t>(i);
    return static_cast<int32_t>(N);
}

} // namespace

SpriteKey SpriteKeyFromFileName(std::string_view fileName) {
    SpriteKey key;
    for (size_t at = 0; at + 1 < fileName.size(); ++at) {
        // A field starts the name or follows a blank or ".".
        if (at > 0 && fileName[at - 1] != ' ' && fileName[at - 1] != '.')
            continue;
        if (fileName[at + 1] != '-')
            continue;
        const size_t start = at + 2;
        const size_t end = std::min(fileName.find_first_of(". ", start), fileName.size());
        const std::string_view value = fileName.substr(start, end - start);
        switch (Lower(fileName[at])) {
        case 'c':
            key.culture = IndexOf(kCultures, value);
            break;
        case 't':
            key.kind = IndexOf(kKinds, value);
            break;
        case 'a':
            key.action = IndexOf(kActions, value);
            break;
        case 'd':
            key.direction = IndexOf(kDirections, value);
            break;
        case 'l': {
            // A leading number; none leaves the level as it is.
            int32_t level = 0;
            if (std::from_chars(value.data(), value.data() + value.size(), level).ec == std::errc())
                key.level = level;
            break;
        }
        default:
            break;
        }
    }
    return key;
}

// The table -------------------------------------------------------------------------

size_t CSpriteDefinitionTable::BucketOf(const SpriteKey& key) {
    const int64_t hash =
        key.kind + (key.culture + (key.action + (key.direction + int64_t{key.level} * 4) * 4) * 4) *
                       int64_t{8};
    const int64_t bucket = hash % static_cast<int64_t>(kBucketCount);
    return static_cast<size_t>(bucket < 0 ? bucket + static_cast<int64_t>(kBucketCount) : bucket);
}

void CSpriteDefinitionTable::Add(std::unique_ptr<SpriteDefinition> definition) {
    const size_t bucket = BucketOf(definition->key);
    m_buckets[bucket].push_front(std::move(definition));
    ++m_count;
}

const SpriteDefinition* CSpriteDefinitionTable::Find(const SpriteKey& key) const {
    for (const auto& definition : m_buckets[BucketOf(key)])
        if (definition->key == key)
            return definition.get();
    return nullptr;
}

std::unique_ptr<SpriteDefinition> ReadSpriteDefinition(const std::string& fileName) {
    auto definition = std::make_unique<SpriteDefinition>();
    definition->sprite = std::make_unique<SpriteWorld>();
    definition->key = SpriteKeyFromFileName(fileName);
    CFieldReader reader;
    reader.Open("gfx\\map\\units\\" + fileName, "r");
    SpriteWorld& sprite = *definition->sprite;
    sprite.ReadDefinition(reader);
    sprite.CSprite::speed = sprite.speed;
    sprite.tickCounter = 0;
    sprite.finished = 0;
    reader.Close();
    return definition;
}

void LoadSpriteDefinitions() {
    FreeSpriteDefinitions();
    g_spriteDefinitions = new CSpriteDefinitionTable;
    const std::vector<std::string> files = platform::ListGameFiles("gfx\\map\\units\\*.spr");
    if (files.empty()) {
        CriticalError(" No sprites found! ");
        return;
    }
    for (const std::string& file : files)
        g_spriteDefinitions->Add(ReadSpriteDefinition(file));
}

void FreeSpriteDefinitions() {
    delete g_spriteDefinitions;
    g_spriteDefinitions = nullptr;
}

// CMapSprite ------------------------------------------------------------------------

CMapSprite::CMapSprite() {
    if (!g_spriteDefinitions)
        LoadSpriteDefinitions();
    ++g_mapSpriteCount;
    m_sprite = std::make_unique<SpriteWorld>();
    ApplyKey();
}

CMapSprite::~CMapSprite() {
    --g_mapSpriteCount;
}

int CMapSprite::HandleEvent(COVEvent& event) {
    return m_sprite->HandleEvent(event);
}

void CMapSprite::Draw(int32_t param) {
    m_sprite->Draw(param);
}

void CMapSprite::SetKind(int32_t kind) {
    m_key.kind = kind;
    ApplyKey();
}

void CMapSprite::SetCulture(int32_t culture) {
    m_key.culture = culture;
    ApplyKey();
}

void CMapSprite::SetAction(int32_t action) {
    m_key.action = action;
    ApplyKey();
}

void CMapSprite::SetDirection(int32_t direction) {
    m_key.direction = direction;
    ApplyKey();
}

void CMapSprite::SetLevel(int32_t level) {
    m_key.level = level;
    ApplyKey();
}

void CMapSprite::SetKey(int32_t culture, int32_t kind, int32_t action, int32_t direction,
                        int32_t level) {
    m_key = {kind, culture, action, direction, level};
    ApplyKey();
}

void CMapSprite::ApplyKey() {
    ApplyDefinition(g_spriteDefinitions ? g_spriteDefinitions->Find(m_key) : nullptr);
}

void CMapSprite::ApplyDefinition(const SpriteDefinition* definition) {
    if (!definition || !definition->sprite)
        return;
    const SpriteWorld& from = *definition->sprite;
    SpriteWorld& sprite = *m_sprite;
    sprite.ShareImage(from);
    sprite.SetFrameCount(from.frameCount);
    sprite.SetOrigin(from.originX, from.originY);
    sprite.speed = from.speed;
    sprite.CSprite::speed = from.CSprite::speed;
    sprite.tickCounter = 0;
    sprite.finished = 0;
    sprite.translucency = from.translucency;
    if (from.onMapImage)
        sprite.DrawOntoMapImage();
    else
        sprite.DrawOntoScreen();
}

// Province markers ------------------------------------------------------------------

CProvinceMarker::CProvinceMarker(int32_t province) : m_province(province) {
    SetProvince(province);
}

bool CProvinceMarker::IsShown() const {
    const CProvince* province = GetProvince(m_province);
    return province && province->newlyRevealed && (g_mapOptions & kMapShowMarkers);
}

void CProvinceMarker::Draw(int32_t param) {
    if (!IsShown())
        return;
    m_sprite->paletteTable =
        GetProvince(m_province)->shownNotDimmed ? kPaletteNormal : kPaletteHalf;
    CMapSprite::Draw(param);
}

int CProvinceMarker::HandleEvent(COVEvent& event) {
    if (IsInFrontEnd())
        return DRAWABLE_DELETE_ME;
    return CMapSprite::HandleEvent(event);
}

CFadingProvinceMarker::CFadingProvinceMarker(int32_t province, int32_t durationTicks)
    : CProvinceMarker(province), duration(durationTicks) {}

void CFadingProvinceMarker::Draw(int32_t param) {
    if (!IsShown() || !GetProvince(m_province)->shownNotDimmed)
        return;
    m_sprite->paletteTable = kPaletteNormal;
    CMapSprite::Draw(param);
}

int CFadingProvinceMarker::HandleEvent(COVEvent& event) {
    if (event.GetType() == EVT_TICK_ANIMATIONS) {
        elapsed = std::min<int64_t>(elapsed + event.Payload().Get(COVTickAnimationsEvent::kElapsed),
                                    std::numeric_limits<int32_t>::max());
        if (elapsed >= duration)
            return DRAWABLE_DELETE_ME;
        // From 32 (opaque) at the start down to 0 at the end, evenly.
        const int64_t faded = static_cast<int64_t>(32.0 * static_cast<double>(elapsed) / duration);
        m_sprite->translucency = static_cast<int32_t>(std::clamp<int64_t>(32 - faded, 0, 32));
    }
    return CProvinceMarker::HandleEvent(event);
}

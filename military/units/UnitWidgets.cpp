#include "military/units/UnitWidgets.h"

#include <algorithm>
#include <array>

#include "engine/Palette.h"
#include "military/StartupTables.h"
#include "military/units/Leader.h"
#include "military/units/NavalUnit.h"
#include "military/units/Unit.h"
#include "world/MapModes.h"
#include "world/Province.h"

namespace {

constexpr uint32_t kCountryColourCount = 99;
// The bar and the portrait's pictures are drawn with it.
constexpr const char* kStatusBarPalette = "statusbar.act";
// The bar's rows and first column that show the fill.
constexpr std::array<int32_t, 3> kFillRows = {2, 3, 4};
constexpr int32_t kFillLeft = 2;
// The cargo marker stands this far right of the bar.
constexpr int32_t kCargoGap = 6;
constexpr int32_t kExplorerFrame = 0;
constexpr int32_t kConquistadorFrame = 1;
constexpr int32_t kCargoFrame = 2;

std::array<uint8_t, kStatusBandCount> g_bandColours{};
std::array<uint8_t, kCountryColourCount> g_countryColours{};

} // namespace

void InitStatusBarColours(const CPalette* statusPalette, const CPalette* mapPalette) {
    g_bandColours = {};
    g_countryColours = {};
    if (!statusPalette)
        return;
    static constexpr std::array<std::array<int32_t, 3>, kStatusBandCount> kBands = {
        {{0, 255, 0}, {128, 255, 0}, {255, 255, 0}, {255, 160, 0}, {255, 0, 0}}};
    for (size_t i = 0; i < kBands.size(); ++i)
        g_bandColours[i] =
            statusPalette->FindNearestColour(kBands[i][0], kBands[i][1], kBands[i][2]);
    if (!mapPalette)
        return;
    for (uint32_t n = 0; n < kCountryColourCount; ++n) {
        const int32_t index = PoliticalColour(static_cast<int32_t>(n), g_fantasyMode != 0);
        if (index < 0 || index > 255)
            continue;
        const PaletteColour& colour = mapPalette->colours[static_cast<size_t>(index)];
        g_countryColours[n] =
            statusPalette->FindNearestColour(colour.red, colour.green, colour.blue);
    }
}

void InitStatusBarColours() {
    InitStatusBarColours(GetPalette(kStatusBarPalette), g_defaultPalette);
}

uint8_t GetStatusBandColour(int32_t band) {
    if (band < 0 || band >= kStatusBandCount)
        band = STATUS_RED;
    return g_bandColours[static_cast<size_t>(band)];
}

uint8_t GetStatusCountryColour(uint32_t country) {
    return country < kCountryColourCount ? g_countryColours[country] : 0;
}

int32_t ArmyStatusLevel(int32_t men) {
    const int64_t level = int64_t{std::max(men, 0)} * 100 / 50000;
    return static_cast<int32_t>(std::min<int64_t>(level, 100));
}

int32_t FleetStatusLevel(int32_t ships, int32_t barWidth) {
    // A bar without a picture has no width to measure the fleet by.
    if (barWidth <= 0)
        return 0;
    const int64_t level = int64_t{std::max(ships, 0)} * 100 / (2 * int64_t{barWidth});
    return static_cast<int32_t>(std::min<int64_t>(level, 100));
}

// -------------------------------------------------------------- CStatusBar

CStatusBar::CStatusBar() : CStatusBar(kStatusBarPicture) {}

CStatusBar::CStatusBar(const std::string& fileName) : CSprite(fileName) {
    MakeImagePrivate();
    SetPalette(::GetPalette(kStatusBarPalette));
}

int32_t CStatusBar::GetBarWidth() const {
    return image ? image->width : 0;
}

void CStatusBar::SetFill(int32_t level, int32_t band) {
    SetLevel(level, GetStatusBandColour(band));
}

void CStatusBar::SetFillAlt(int32_t level, uint32_t country) {
    SetLevel(level, GetStatusCountryColour(country));
}

void CStatusBar::SetLevel(int32_t level, uint8_t index) {
    m_level = std::clamp(level, 0, 100);
    if (!image || !image->pixels || image->bytesPerPixel != 1)
        return;
    const int32_t inner = image->width - 4;
    if (inner <= 0)
        return;
    const int32_t filled = std::max(inner * m_level / 100, 2);
    for (int32_t row : kFillRows) {
        if (row >= image->height)
            break;
        uint8_t* line = image->pixels + static_cast<ptrdiff_t>(row) * image->pitch;
        for (int32_t i = 0; i < inner && kFillLeft + i < image->width; ++i)
            line[kFillLeft + i] = i < filled ? index : kStatusBarEmptyIndex;
    }
}

// ----------------------------------------------------------- CUnitPortrait

CUnitPortrait::CUnitPortrait(CUnit* unit, const std::string& barFile,
                             const std::string& pictureFile)
    : CStatusBar(barFile), m_unit(unit), m_picture(std::make_unique<CSprite>(pictureFile)) {
    m_picture->SetFrameCount(3);
    m_picture->SetPalette(::GetPalette(kStatusBarPalette));
}

CUnitPortrait::~CUnitPortrait() = default;

bool CUnitPortrait::CarriesArmies() const {
    const auto* fleet = dynamic_cast<const CNavalUnit*>(m_unit);
    return fleet && !fleet->GetCargo().IsEmpty();
}

void CUnitPortrait::PlacePicture(int32_t frame, bool right) {
    m_picture->SetFrame(frame);
    m_picture->SetDestination(destination ? destination : m_picture->GetDestination());
    m_picture->SetClipRectFrom(clip);
    m_picture->zoomShift = zoomShift;
    m_picture->hidden = hidden;
    const int32_t left = x - originX;
    const int32_t top = y - originY;
    if (right)
        m_picture->SetPosition(left + GetWidth() + kCargoGap, top);
    else
        m_picture->SetPosition(x - m_picture->GetWidth() - originX, top);
}

void CUnitPortrait::Draw(int32_t param) {
    CStatusBar::Draw(param);
    if (!m_unit || hidden)
        return;
    const int32_t category = m_unit->GetCommander()->category;
    if (category == LEADER_EXPLORER || category == LEADER_CONQUISTADOR) {
        PlacePicture(category == LEADER_EXPLORER ? kExplorerFrame : kConquistadorFrame, false);
        m_picture->Draw(param);
    }
    if (CarriesArmies()) {
        PlacePicture(kCargoFrame, true);
        m_picture->Draw(param);
    }
}

bool CUnitPortrait::HitCargo(int32_t pointX, int32_t pointY) {
    if (!CarriesArmies())
        return false;
    PlacePicture(kCargoFrame, true);
    return m_picture->HitTest(pointX, pointY);
}

// The demo world's heraldry, all drawn here from a few shapes and colours:
//   gfx\map\shields\shield_<tag>.bmp (48 x 56 a frame), small\smallshield_<tag>.bmp
//   (24 x 28) and silver\shieldsilver_<tag>.bmp (the same arms in silver), each
//   in 4 frames (plain, lit, pressed, disabled), for every tag of the country
//   table and the alternative arms "BAF", with their palette "shield palette.bmp";
//   gfx\map\flags\flag_<tag>.bmp, a flag on its pole waving in 25 frames, with
//   the palette "flag palette.bmp", and the war, retreat and exiled flags (palette
//   "flag_palette5.bmp" for the war flag);
//   the treaty pictures gfx\map\shields\shield_dynastic_alliance.bmp ...
//   shield_casus_belli.bmp with "crest_palette.bmp", and shield_war.bmp, a fire
//   in 11 frames, with "yellow_red_p.bmp".
// Each tag's arms are chosen from a hash of the tag: a field (plain or divided)
// of a metal and a colour and a charge; a tag whose arms another tag already
// bears draws again, so that no two tags share arms.
#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "country/CountryTagList.h"
#include "tools/Bmp.h"
#include "tools/DemoWorld.h"
#include "tools/PictureSheet.h"

namespace {

using demo::ColourTable;
using demo::Rgb;
using demo::Sheet;

// Tinctures: two metals, then the colours.
constexpr int32_t kMetals = 2;
constexpr int32_t kTinctures = 10;
const Rgb kTinctureColours[kTinctures] = {
    {222, 180, 48},  // or
    {236, 236, 226}, // argent
    {188, 26, 32},   // gules
    {32, 62, 168},   // azure
    {28, 126, 52},   // vert
    {34, 32, 30},    // sable
    {118, 40, 128},  // purpure
    {204, 112, 30},  // tenne
    {104, 168, 220}, // celeste
    {128, 30, 62},   // murrey
};

enum Field : int32_t { kPlain, kPerPale, kPerFess, kPerBend, kQuarterly, kChief, kFieldCount };
enum Charge : int32_t {
    kNoCharge,
    kCross,
    kSaltire,
    kChevron,
    kBend,
    kFess,
    kPale,
    kRoundel,
    kBordure,
    kLozenge,
    kChargeCount
};

struct Arms {
    int32_t field = kPlain;
    int32_t first = 0;  // tincture of the field (its first part)
    int32_t second = 0; // of the field's second part
    int32_t charge = kNoCharge;
    int32_t chargeTincture = 0;

    auto Key() const {
        return std::tuple(field, first, field == kPlain ? 0 : second, charge, chargeTincture);
    }
};

Arms ArmsFromHash(uint32_t h) {
    Arms arms;
    const int32_t metal = static_cast<int32_t>(h % kMetals);
    const int32_t colour = kMetals + static_cast<int32_t>((h >> 1) % (kTinctures - kMetals));
    const bool metalFirst = (h >> 5) & 1;
    arms.first = metalFirst ? metal : colour;
    arms.second = metalFirst ? colour : metal;
    arms.field = static_cast<int32_t>((h >> 6) % kFieldCount);
    arms.charge = static_cast<int32_t>((h >> 10) % kChargeCount);
    if (arms.field == kPlain && arms.charge == kNoCharge)
        arms.charge = kRoundel;
    // The charge takes a tincture the field does not have: on a plain field
    // a metal on a colour or a colour on a metal.
    std::vector<int32_t> choices;
    for (int32_t t = 0; t < kTinctures; ++t) {
        if (t == arms.first || (arms.field != kPlain && t == arms.second))
            continue;
        if (arms.field == kPlain && (t < kMetals) == (arms.first < kMetals))
            continue;
        choices.push_back(t);
    }
    arms.chargeTincture = choices[(h >> 16) % choices.size()];
    return arms;
}

// Every tag's arms in table order (a repeated tag once), then "BAF".
std::vector<std::pair<std::string, Arms>> AllArms() {
    std::vector<std::string> tags;
    for (const CountryTagRow& row : kCountryTagRows)
        if (std::find(tags.begin(), tags.end(), row.tag) == tags.end())
            tags.emplace_back(row.tag);
    tags.emplace_back("BAF");
    std::set<decltype(Arms().Key())> taken;
    std::vector<std::pair<std::string, Arms>> all;
    for (const std::string& tag : tags) {
        for (uint32_t attempt = 0;; ++attempt) {
            const Arms arms = ArmsFromHash(demo::HashText(tag.c_str(), attempt * 0x9E3779B9u));
            if (taken.insert(arms.Key()).second) {
                all.emplace_back(tag, arms);
                break;
            }
        }
    }
    return all;
}

// The tincture at (u, v) of an area w x h whose cross and roundel centre at
// the height cy; -1 outside every part (never: the field covers all).
int32_t TinctureAt(const Arms& arms, int32_t u, int32_t v, int32_t w, int32_t h, int32_t cy,
                   bool nearEdge) {
    int32_t t = arms.first;
    switch (arms.field) {
    case kPerPale:
        t = 2 * u < w ? arms.first : arms.second;
        break;
    case kPerFess:
        t = v < cy ? arms.first : arms.second;
        break;
    case kPerBend:
        t = u * h > v * w ? arms.second : arms.first;
        break;
    case kQuarterly:
        t = (2 * u < w) == (v < cy) ? arms.first : arms.second;
        break;
    case kChief:
        t = 10 * v < 3 * h ? arms.second : arms.first;
        break;
    default:
        break;
    }
    const int32_t k = std::max(2, w / 6); // width of the bands
    const int32_t du = std::abs(2 * u + 1 - w);
    const int32_t dv = std::abs(2 * v + 1 - 2 * cy);
    const int32_t diagonal = std::abs(u * h - v * w);
    const int32_t anti = std::abs((w - 1 - u) * h - v * w);
    const int32_t diagonalWidth = k * (w + h) * 7 / 20;
    bool on = false;
    switch (arms.charge) {
    case kCross:
        on = du <= k || dv <= k;
        break;
    case kSaltire:
        on = diagonal <= diagonalWidth || anti <= diagonalWidth;
        break;
    case kChevron: {
        const int32_t apex = 3 * h / 10;
        const int32_t arm = apex + std::abs(2 * u + 1 - w) * 2 * h / (5 * w);
        on = std::abs(v - arm) <= k / 2 + 1 && v >= apex - k / 2;
        break;
    }
    case kBend:
        on = diagonal <= diagonalWidth;
        break;
    case kFess:
        on = dv <= k;
        break;
    case kPale:
        on = du <= k;
        break;
    case kRoundel:
        on = du * du + dv * dv <= (2 * w / 3) * (2 * w / 3);
        break;
    case kBordure:
        on = nearEdge;
        break;
    case kLozenge:
        on = du * h + dv * w <= w * h * 4 / 5;
        break;
    default:
        break;
    }
    return on ? arms.chargeTincture : t;
}

// Shields ----------------------------------------------------------------------------

// The shield palette: 0 transparent, 1 shadow, 2 outline; from 8 on eight
// entries a tincture: plain, lit, pressed and disabled, then the same four in
// silver.
constexpr uint8_t kShadow = 1;
constexpr uint8_t kOutline = 2;
constexpr int32_t kShadeCount = 4;

uint8_t ShieldIndex(int32_t tincture, int32_t shade, bool silver) {
    return static_cast<uint8_t>(8 + tincture * 8 + (silver ? kShadeCount : 0) + shade);
}

Rgb Grey(int32_t level) {
    const uint8_t l = static_cast<uint8_t>(std::clamp(level, 0, 255));
    return {l, l, l};
}

int32_t Luminance(Rgb c) {
    return (c.r * 30 + c.g * 59 + c.b * 11) / 100;
}

// Plain, lit, pressed, disabled.
std::array<Rgb, kShadeCount> Shades(Rgb c) {
    return {c, demo::Blend(c, {255, 255, 255}, 1, 4), demo::Scaled(c, 3, 4),
            Grey(96 + Luminance(c) / 3)};
}

ColourTable ShieldColours() {
    ColourTable colours{};
    colours[kShadow] = {24, 20, 16};
    colours[kOutline] = {16, 12, 8};
    for (int32_t t = 0; t < kTinctures; ++t) {
        const Rgb colour = kTinctureColours[t];
        // Silver: the metals bright, each colour a grey of its own.
        const Rgb silver = t < kMetals ? Grey(t == 0 ? 225 : 250) : Grey(50 + (t - kMetals) * 20);
        const auto plain = Shades(colour);
        const auto grey = Shades(silver);
        for (int32_t s = 0; s < kShadeCount; ++s) {
            colours[ShieldIndex(t, s, false)] = plain[static_cast<size_t>(s)];
            colours[ShieldIndex(t, s, true)] = grey[static_cast<size_t>(s)];
        }
    }
    return colours;
}

// The shield's outline in a frame w x h: a flat top, straight sides and a
// bottom curving to a point. Coordinates relative to the frame.
struct ShieldShape {
    int32_t left = 1, top = 1, right, bottom, middle;

    ShieldShape(int32_t w, int32_t h)
        : right(w - 3), bottom(h - 3), middle(top + (h - 4) * 11 / 20) {}

    bool Inside(int32_t x, int32_t y) const {
        if (x < left || x >= right || y < top || y >= bottom)
            return false;
        if (y < middle)
            return true;
        const int64_t dx2 = std::abs(2 * x + 1 - (left + right)); // half pixels
        const int64_t width2 = right - left;
        const int64_t dy = y - middle;
        const int64_t depth = bottom - middle;
        return dx2 * depth * depth + dy * dy * width2 <= width2 * depth * depth;
    }
};

Sheet ShieldSheet(const Arms& arms, int32_t w, int32_t h, bool silver) {
    Sheet sheet(kShadeCount * w, h);
    const ShieldShape shape(w, h);
    const int32_t border = std::max(2, w / 10);
    for (int32_t frame = 0; frame < kShadeCount; ++frame) {
        const int32_t left = frame * w;
        // Pressed, the shield sits a pixel lower and to the right.
        const int32_t shift = frame == 2 ? 1 : 0;
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x)
                if (frame != 2 && shape.Inside(x - 2, y - 2))
                    sheet.Set(left + x, y, kShadow);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) {
                const int32_t sx = x - shift, sy = y - shift;
                if (!shape.Inside(sx, sy))
                    continue;
                const bool nearEdge =
                    !shape.Inside(sx - border, sy) || !shape.Inside(sx + border, sy) ||
                    !shape.Inside(sx, sy - border) || !shape.Inside(sx, sy + border);
                const int32_t u = sx - shape.left, v = sy - shape.top;
                const int32_t sw = shape.right - shape.left, sh = shape.bottom - shape.top;
                const int32_t t = TinctureAt(arms, u, v, sw, sh, sh * 9 / 20, nearEdge);
                sheet.Set(left + x, y, ShieldIndex(t, frame, silver));
            }
        // The edge of the shield, drawn over its own outer pixels.
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) {
                const int32_t sx = x - shift, sy = y - shift;
                if (shape.Inside(sx, sy) &&
                    (!shape.Inside(sx - 1, sy) || !shape.Inside(sx + 1, sy) ||
                     !shape.Inside(sx, sy - 1) || !shape.Inside(sx, sy + 1)))
                    sheet.Set(left + x, y, kOutline);
            }
    }
    return sheet;
}

bool WriteShields(const std::filesystem::path& game) {
    const ColourTable colours = ShieldColours();
    const std::filesystem::path folder = game / "gfx" / "map" / "shields";
    bool ok = demo::WriteFile(game / "gfx" / "palette" / "shield palette.bmp",
                              demo::PaletteSwatch(colours));
    for (const auto& [tag, arms] : AllArms()) {
        ok = demo::WriteFile(folder / ("shield_" + tag + ".bmp"),
                             ShieldSheet(arms, 48, 56, false).Bmp(colours)) &&
             ok;
        ok = demo::WriteFile(folder / "silver" / ("shieldsilver_" + tag + ".bmp"),
                             ShieldSheet(arms, 48, 56, true).Bmp(colours)) &&
             ok;
        ok = demo::WriteFile(folder / "small" / ("smallshield_" + tag + ".bmp"),
                             ShieldSheet(arms, 24, 28, false).Bmp(colours)) &&
             ok;
    }
    return ok;
}

// Flags ----------------------------------------------------------------------------

// The flag palettes: 0 transparent, 1 shadow, 2 and 3 the pole, 4 its knob;
// from 8 on four entries a tincture: plain, lit, shaded.
constexpr int32_t kFlagFrames = 25;
constexpr int32_t kFlagWidth = 20;
constexpr int32_t kFlagHeight = 16;
constexpr uint8_t kPole = 2;
constexpr uint8_t kPoleLight = 3;
constexpr uint8_t kKnob = 4;

uint8_t FlagIndex(int32_t tincture, int32_t shade) {
    return static_cast<uint8_t>(8 + tincture * 4 + shade);
}

ColourTable FlagColours() {
    ColourTable colours{};
    colours[kShadow] = {24, 20, 16};
    colours[kPole] = {84, 54, 24};
    colours[kPoleLight] = {140, 98, 52};
    colours[kKnob] = {230, 190, 60};
    for (int32_t t = 0; t < kTinctures; ++t) {
        const Rgb c = kTinctureColours[t];
        colours[FlagIndex(t, 0)] = c;
        colours[FlagIndex(t, 1)] = demo::Blend(c, {255, 255, 255}, 1, 4);
        colours[FlagIndex(t, 2)] = demo::Scaled(c, 3, 4);
    }
    return colours;
}

// A triangle wave of period 100 between -25 and 25.
int32_t Wave(int32_t t) {
    t %= 100;
    return t < 25 ? t : (t < 75 ? 50 - t : t - 100);
}

Sheet FlagSheet(const Arms& arms) {
    Sheet sheet(kFlagFrames * kFlagWidth, kFlagHeight);
    constexpr int32_t kClothLeft = 3;
    constexpr int32_t kClothTop = 2;
    constexpr int32_t kClothWidth = kFlagWidth - kClothLeft;
    constexpr int32_t kClothHeight = 10;
    Arms flag = arms;
    if (flag.charge == kBordure || flag.charge == kChevron)
        flag.charge = kCross; // a flag shows neither
    for (int32_t f = 0; f < kFlagFrames; ++f) {
        const int32_t left = f * kFlagWidth;
        sheet.FillRect(left + 1, 1, left + 2, kFlagHeight, kPole);
        sheet.FillRect(left + 2, 1, left + 3, kFlagHeight, kPoleLight);
        sheet.Set(left + 1, 0, kKnob);
        sheet.Set(left + 2, 0, kKnob);
        for (int32_t c = 0; c < kClothWidth; ++c) {
            const int32_t t = c * 4 + f * 4;
            // The cloth swings more the farther it is from the pole.
            const int32_t dy = Wave(t) * c / (25 * 8);
            const int32_t phase = (t % 100) / 25;
            const int32_t shade = phase == 0 ? 1 : (phase == 2 ? 2 : 0);
            for (int32_t r = 0; r < kClothHeight; ++r) {
                const int32_t tincture =
                    TinctureAt(flag, c, r, kClothWidth, kClothHeight, kClothHeight / 2, false);
                sheet.Set(left + kClothLeft + c, kClothTop + r + dy, FlagIndex(tincture, shade));
            }
        }
    }
    return sheet;
}

bool WriteFlags(const std::filesystem::path& game) {
    const ColourTable colours = FlagColours();
    const std::filesystem::path folder = game / "gfx" / "map" / "flags";
    bool ok = demo::WriteFile(game / "gfx" / "palette" / "flag palette.bmp",
                              demo::PaletteSwatch(colours));
    ok = demo::WriteFile(game / "gfx" / "palette" / "flag_palette5.bmp",
                         demo::PaletteSwatch(colours)) &&
         ok;
    for (const auto& [tag, arms] : AllArms())
        if (tag != "BAF")
            ok = demo::WriteFile(folder / ("flag_" + tag + ".bmp"), FlagSheet(arms).Bmp(colours)) &&
                 ok;
    Arms war;
    war.first = 2; // gules, a sable saltire
    war.charge = kSaltire;
    war.chargeTincture = 5;
    Arms retreat;
    retreat.first = 1; // argent, plain
    ok = demo::WriteFile(folder / "flag_war.bmp", FlagSheet(war).Bmp(colours)) && ok;
    ok = demo::WriteFile(folder / "flag_retreat.bmp", FlagSheet(retreat).Bmp(colours)) && ok;
    // The flag of a unit standing where its country may not go.
    Arms exiled;
    exiled.first = 5; // sable, plain
    ok = demo::WriteFile(folder / "flag_exiled.bmp", FlagSheet(exiled).Bmp(colours)) && ok;
    return ok;
}

// Treaty pictures ------------------------------------------------------------------

constexpr int32_t kBadge = 20;

// The crest palette: named colours, each with a lit and a dark shade at +1 and
// +2.
enum CrestColour : uint8_t {
    kCrestShadow = 1,
    kCrestOutline = 2,
    kGold = 4,
    kSilver = 8,
    kRed = 12,
    kBlue = 16,
    kGreen = 20,
    kBlack = 24,
    kPurple = 28,
    kParchment = 32,
    kBrown = 36,
};

ColourTable CrestColours() {
    ColourTable colours{};
    colours[kCrestShadow] = {24, 20, 16};
    colours[kCrestOutline] = {16, 12, 8};
    const std::pair<CrestColour, Rgb> named[] = {
        {kGold, {224, 182, 50}},   {kSilver, {210, 212, 216}},    {kRed, {186, 28, 32}},
        {kBlue, {36, 66, 170}},    {kGreen, {30, 124, 54}},       {kBlack, {40, 38, 36}},
        {kPurple, {112, 42, 126}}, {kParchment, {230, 214, 170}}, {kBrown, {120, 80, 40}},
    };
    for (const auto& [index, c] : named) {
        colours[index] = c;
        colours[index + 1] = demo::Blend(c, {255, 255, 255}, 1, 3);
        colours[index + 2] = demo::Scaled(c, 2, 3);
    }
    return colours;
}

// A round badge of the colour with a lit rim above and a dark one below.
Sheet Badge(uint8_t colour) {
    Sheet sheet(kBadge, kBadge);
    sheet.FillDisc2(kBadge + 1, kBadge + 1, kBadge - 4, kCrestShadow);
    sheet.FillDisc2(kBadge - 1, kBadge - 1, kBadge - 4, static_cast<uint8_t>(colour + 2));
    sheet.FillDisc2(kBadge - 1, kBadge - 3, kBadge - 6, static_cast<uint8_t>(colour + 1));
    sheet.FillDisc2(kBadge - 1, kBadge - 1, kBadge - 7, colour);
    return sheet;
}

void Sword(Sheet& s, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t blade) {
    s.Line(x1, y1, x2, y2, 1, blade);
    // The guard across the blade near its hilt end (x2, y2).
    const int32_t gx = x2 + (x1 - x2) / 4, gy = y2 + (y1 - y2) / 4;
    s.Line(gx - (y1 - y2) / 6, gy + (x1 - x2) / 6, gx + (y1 - y2) / 6, gy - (x1 - x2) / 6, 1,
           kGold);
}

Sheet DynasticAlliance() {
    Sheet s = Badge(kPurple);
    for (int32_t cx2 : {15, 23}) {
        s.FillDisc2(cx2, 19, 9, kGold);
        s.FillDisc2(cx2, 19, 5, kPurple);
    }
    s.FillDisc2(15, 19, 5, kPurple);
    return s;
}

Sheet MilitaryCoop() {
    Sheet s = Badge(kRed);
    Sword(s, 5, 4, 14, 14, kSilver);
    Sword(s, 14, 4, 5, 14, kSilver);
    return s;
}

Sheet DefensiveAlliance() {
    Sheet s = Badge(kBlue);
    s.FillRect(6, 5, 14, 11, kSilver);
    for (int32_t y = 11; y < 16; ++y)
        s.FillRect(6 + (y - 10), y, 14 - (y - 10), y + 1, kSilver);
    s.FillRect(9, 7, 11, 13, kRed);
    s.FillRect(7, 9, 13, 11, kRed);
    return s;
}

Sheet WarPact() {
    Sheet s = Badge(kBlack);
    s.Line(5, 15, 14, 5, 1, kBrown + 1);
    s.Line(14, 15, 5, 5, 1, kBrown + 1);
    for (const auto& [x, y] : {std::pair{14, 5}, {5, 5}}) {
        s.FillRect(x - 1, y - 1, x + 2, y + 1, kGold);
        s.Set(x, y - 2, kGold);
    }
    return s;
}

Sheet Vassal() {
    Sheet s = Badge(kGreen);
    s.FillRect(5, 10, 15, 14, kGold);
    for (const int32_t x : {5, 9, 13}) {
        s.FillRect(x, 7, x + 2, 10, kGold);
        s.Set(x, 6, kGold + 1);
    }
    s.FillRect(9, 11, 11, 13, kRed);
    s.Line(5, 15, 14, 15, 1, kGold + 2);
    return s;
}

Sheet CasusBelli() {
    Sheet s(kBadge, kBadge);
    s.FillRect(4, 5, 18, 17, kCrestShadow);
    s.FillRect(3, 3, 16, 15, kParchment);
    s.FillRect(3, 3, 16, 4, kParchment + 2);
    s.FillRect(3, 14, 16, 15, kParchment + 2);
    for (const int32_t y : {6, 8, 10})
        s.Line(5, y, 13, y, 1, kBrown);
    s.FillDisc2(25, 25, 7, kRed);
    s.FillDisc2(24, 24, 3, kRed + 1);
    return s;
}

// The war fire: a ramp from dark red through yellow to white from index 2.
ColourTable FireColours() {
    ColourTable colours{};
    colours[kCrestShadow] = {24, 20, 16};
    const Rgb stops[] = {{50, 0, 0}, {200, 20, 10}, {250, 170, 30}, {255, 250, 200}};
    for (int32_t i = 2; i < 256; ++i) {
        const int32_t t = (i - 2) * 3; // 0 .. 759
        const int32_t at = std::min(t / 254, 2);
        colours[static_cast<size_t>(i)] = demo::Blend(stops[at], stops[at + 1], t - at * 254, 254);
    }
    return colours;
}

// Crossed swords in a fire that flares and dies over 11 frames.
Sheet WarFire() {
    constexpr int32_t kFrames = 11;
    Sheet s(kFrames * kBadge, kBadge);
    for (int32_t f = 0; f < kFrames; ++f) {
        const int32_t left = f * kBadge;
        const int32_t strength = 6 + (f < 6 ? f : 10 - f) * 2; // 6 .. 16
        for (int32_t y = 0; y < kBadge; ++y)
            for (int32_t x = 0; x < kBadge; ++x) {
                const int32_t dx = 2 * x + 1 - kBadge, dy = 2 * y + 1 - kBadge - 4;
                const int32_t flicker = static_cast<int32_t>(
                    demo::MixBits(static_cast<uint32_t>((f * 31 + y) * 64 + x)) % 6);
                // Flames reach higher than wide.
                const int32_t reach =
                    strength * 2 + flicker - (y < kBadge / 2 ? (kBadge / 2 - y) : 0);
                const int32_t d2 = dx * dx + dy * dy;
                if (d2 < reach * reach) {
                    const int32_t heat = 253 - d2 * 240 / (reach * reach);
                    s.Set(left + x, y, static_cast<uint8_t>(std::clamp(heat, 2, 255)));
                }
            }
        s.Line(left + 4, 16, left + 15, 3, 1, 2);
        s.Line(left + 15, 16, left + 4, 3, 1, 2);
        s.Line(left + 2, 13, left + 6, 17, 1, 2);
        s.Line(left + 13, 17, left + 17, 13, 1, 2);
    }
    return s;
}

bool WriteTreatyPictures(const std::filesystem::path& game) {
    const std::filesystem::path folder = game / "gfx" / "map" / "shields";
    const ColourTable crest = CrestColours();
    const ColourTable fire = FireColours();
    bool ok =
        demo::WriteFile(game / "gfx" / "palette" / "crest_palette.bmp", demo::PaletteSwatch(crest));
    ok =
        demo::WriteFile(game / "gfx" / "palette" / "yellow_red_p.bmp", demo::PaletteSwatch(fire)) &&
        ok;
    const std::pair<const char*, Sheet> pictures[] = {
        {"shield_dynastic_alliance.bmp", DynasticAlliance()},
        {"shield_millitary_coop.bmp", MilitaryCoop()},
        {"shield_defensive_alliance.bmp", DefensiveAlliance()},
        {"shield_warpact.bmp", WarPact()},
        {"shield_vassal.bmp", Vassal()},
        {"shield_casus_belli.bmp", CasusBelli()},
    };
    for (const auto& [name, sheet] : pictures) {
        Sheet outlined = sheet;
        outlined.Outline(0, kBadge, kCrestOutline);
        ok = demo::WriteFile(folder / name, outlined.Bmp(crest)) && ok;
    }
    ok = demo::WriteFile(folder / "shield_war.bmp", WarFire().Bmp(fire)) && ok;
    return ok;
}

const demo::DemoWriter kShieldWriter("gfx/map/shields", &WriteShields);
const demo::DemoWriter kTreatyWriter("gfx/map/shields/treaties", &WriteTreatyPictures);
const demo::DemoWriter kFlagWriter("gfx/map/flags", &WriteFlags);

} // namespace

// The interface buttons of the game screen, drawn here:
//   config\buttons.txt: one block for each of the 99 button names, of the
//   kinds "press", "hold", "lighted" and "generic", with hotkeys, tooltip
//   keys, shadows and the "up" lists of the radio-like sets;
//   gfx\interface\button area\btn_round.bmp and btn_square.bmp: the button
//   faces, four frames of 32 x 32 (plain, over, down, disabled);
//   gfx\interface\button area\icon_<id>.bmp: each button's symbol, 32 x 32
//   on the colour key; empty.bmp: a key-only picture for text buttons;
//   gfx\interface\piw\buildings\btn_<name>.bmp: the lighted buttons, 8-bit
//   over the default palette;
//   the tooltip and label texts.
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/Bmp.h"
#include "tools/DemoWorld.h"

namespace {

using demo::Rgb;

constexpr Rgb kKey{0, 255, 0};
constexpr int32_t kFace = 32;

enum class Kind { Press, Hold, Lighted, Generic };

struct ButtonSpec {
    int32_t id;
    const char* name;  // after "BUTTON_"
    const char* label; // the upper tooltip line (and a generic button's text)
    Kind kind = Kind::Press;
    const char* shortcut = nullptr;
    bool shadow = false;
    std::vector<int32_t> up = {};
    const char* lowerText = nullptr; // the second tooltip line, when there is one
};

const std::vector<ButtonSpec>& Buttons() {
    static const std::vector<ButtonSpec> buttons = {
        {0, "LOCATE_ARMIES", "Next army", Kind::Press, "a"},
        {1, "LOCATE_NAVIES", "Next fleet", Kind::Press, "n"},
        {2, "LOCATE_CONQUISTADORS", "Next conquistador"},
        {3, "LOCATE_EXPLORERS", "Next explorer"},
        {4, "LOCATE_COLONIES", "Next colony"},
        {5, "LOCATE_TP", "Next trading post"},
        {6, "ZOOM_IN", "Zoom in", Kind::Hold, "f2", true, {}, "Hold to keep zooming"},
        {7, "ZOOM_OUT", "Zoom out", Kind::Hold, "f3", true, {}, "Hold to keep zooming"},
        {8, "SHOW_ALL", "Show every unit", Kind::Press, nullptr, false, {9}},
        {9, "SHOW_OWN", "Show own units", Kind::Press, nullptr, false, {8}},
        {12, "SPLIT_ARMY", "Split in two", Kind::Press, nullptr, true},
        {13, "CREATE_DETACHMENT", "Detach a force", Kind::Press, nullptr, true},
        {14, "CREATE_UNIT", "New unit", Kind::Press, nullptr, true},
        {15, "REORGANISE_ARMY", "Reorganise", Kind::Press, nullptr, true},
        {16, "DISBAND_ARMY", "Disband", Kind::Press, "del", true},
        {17, "ASSAULT", "Assault the fortress", Kind::Press, nullptr, true},
        {18, "DETACH_SIEGE", "Leave a siege force", Kind::Press, nullptr, true},
        {19, "CREATE_COVER", "Leave a covering force", Kind::Press, nullptr, true},
        {20, "MERGE", "Merge units", Kind::Press, "m", true},
        {21, "UNLOAD_ARMY", "Unload the armies", Kind::Press, "u", true},
        {22, "EXPAND_FORTRESS", "Strengthen the fortress"},
        {23, "EXPAND_COLONY", "Send colonists"},
        {24, "BUILD_MANUFACTORY", "Found a manufactory"},
        {25, "BUILD_ARMY", "Raise regiments"},
        {26, "BUILD_NAVY", "Build ships"},
        {27, "LAND_TECHNOLOGY", "Land technology"},
        {28, "NAVAL_TECHNOLOGY", "Naval technology"},
        {29, "DECLARE_WAR_TEMP_CB", "War on a passing pretext"},
        {30, "DECLARE_WAR_CB", "War with a just cause"},
        {31, "DECLARE_WAR_ON_AGAINST", "War against an alliance"},
        {32, "DECLARE_WAR", "Declare war"},
        {33, "OFFER_PEACE", "Offer peace"},
        {34, "BAN_FROM_ALLIANCE", "Expel from the alliance"},
        {35, "DYNASTIC", "Royal marriage"},
        {36, "VASSAL", "Offer vassalage"},
        {37, "MILITARY", "Military alliance"},
        {38, "DISSOLVE_ALLIANCE", "Leave the alliance"},
        {39, "CANCEL_VASSALIZATION", "Release the vassal"},
        {40, "DIPLOMACY_MINISTER", "Court of envoys"},
        {41, "DIPLOMAT", "Send an envoy"},
        {42, "MERCHANT", "Merchants"},
        {43, "COLONIST", "Colonists"},
        {44, "KILL_NATIVES", "Attack the natives", Kind::Press, nullptr, true},
        {45, "PLACE_MERCHANT", "Place a merchant"},
        {46, "SAVE_GAME", "Save the game", Kind::Press, "f5"},
        {47, "LOAD_GAME", "Load a game", Kind::Press, "f9"},
        {48, "GAME_SETTING", "Settings", Kind::Press, "f10"},
        {49, "EXIT_ORVANDEL", "Leave the game", Kind::Press, "esc"},
        {50, "INVEST_IN_STABILITY", "Invest in stability"},
        {51, "INVEST_IN_TRADE_EFFICIENCY", "Invest in trade"},
        {52, "INVEST_IN_PRODUCTION_EFFICIENCY", "Invest in production"},
        {53, "REPAY_LOAN", "Repay a loan"},
        {54, "TAKE_BANK_LOAN", "Borrow from the bank"},
        {55, "RAISE_WAR_TAXES", "Raise war taxes"},
        {56, "OFFER_LOAN", "Lend money"},
        {57, "GIFT", "Send a gift"},
        {58, "LOANS", "Loans"},
        {59, "VIEW_STATISTICS", "Chronicle", Kind::Generic, "f8"},
        {60, "MAPMODE_RESOURCE", "Goods map", Kind::Press, "f4", false, {61, 62}},
        {61, "MAPMODE_POLITICAL", "Political map", Kind::Press, "f6", false, {60, 62}},
        {62, "MAPMODE_NORMAL", "Terrain map", Kind::Press, "f7", false, {60, 61}},
        {63, "CHURCH", "Faith"},
        {64, "VP", "Victory points"},
        {65, "MISSION", "Missions"},
        {66, "SET_BUDGET", "Budget"},
        {67, "VIEW_FINANCIAL", "Treasury", Kind::Press, nullptr, false, {68, 69}},
        {68, "VIEW_LAND", "Land forces", Kind::Press, nullptr, false, {67, 69}},
        {69, "VIEW_NAVAL", "Sea forces", Kind::Press, nullptr, false, {67, 68}},
        {70, "CANCEL_CONSTRUCTION", "Stop the work"},
        {71, "QUICK_SAVE", "Quick save", Kind::Press, "f1"},
        {72, "QUICK_LOAD", "Quick load"},
        {73, "SELECT_ALL", "Select all", Kind::Generic},
        {74, "REORGANISE", "Regroup"},
        {75, "VIEW_PROVINCE", "Province"},
        {76, "ENTER_PROVINCE", "Enter the province", Kind::Press, "enter"},
        {77, "PLACE_COLONIST", "Place colonists"},
        {78, "PLACE_TRADER", "Place a trading post"},
        {79, "VIEW_COUNTRY", "Country"},
        {80, "SEND_DIPLOMAT", "Send an envoy there"},
        {81, "ALLOW_TRADE", "Open trade"},
        {82, "REFUSE_TRADE", "Close trade"},
        {83, "VIEW_PORT", "Harbour"},
        {84, "SEND_MERCHANT", "Send a merchant"},
        {85, "VIEW_COT", "Trade centre"},
        {86, "OFFER_A_LOAN", "Offer credit"},
        {87, "BUILD_SHIPYARD", "Shipyard", Kind::Lighted},
        {88, "BUILD_BARRACK", "Barracks", Kind::Lighted},
        {89, "BUILD_BAILIFF", "Bailiff", Kind::Lighted},
        {90, "BUILD_CITYRIGHTS", "Town charter", Kind::Lighted},
        {91, "BUILD_COURTHOUSE", "Courthouse", Kind::Lighted},
        {92, "VIEW_EYR_PAGE", "Open the page", Kind::Generic},
        {93, "PAUSE", "Pause", Kind::Press, "p"},
        {94, "BURN_TP", "Burn the post", Kind::Press, nullptr, true},
        {95, "EDITOR_CITY", "City", Kind::Generic},
        {96, "EDITOR_PORT", "Port", Kind::Generic},
        {97, "EDITOR_UNIT", "Unit", Kind::Generic},
        {98, "EDITOR_MANUFACTORY", "Manufactory", Kind::Generic},
        {99, "EDITOR_TERRAIN", "Terrain", Kind::Generic},
        {100, "EDITOR_DELETE", "Remove", Kind::Generic},
    };
    return buttons;
}

const char* KindKeyword(Kind kind) {
    switch (kind) {
    case Kind::Hold:
        return "hold";
    case Kind::Lighted:
        return "lighted";
    case Kind::Generic:
        return "generic";
    default:
        return "press";
    }
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string ButtonsFile() {
    std::string out = "# The interface buttons of the game screen: one block a button.\n";
    for (const ButtonSpec& b : Buttons()) {
        out += std::string(KindKeyword(b.kind)) + " = {\n";
        out += std::string("\tid = \"BUTTON_") + b.name + "\"\n";
        switch (b.kind) {
        case Kind::Generic:
            out += std::string("\tbitmap = \"BTNL_") + b.name + "\"\n";
            break;
        case Kind::Lighted:
            out += "\tbackground = \"btn_" + Lower(b.name) + ".bmp\"\n";
            break;
        default:
            out += std::string("\tbackground = \"") +
                   (b.id % 3 == 0 ? "btn_round.bmp" : "btn_square.bmp") + "\"\n";
            out += "\tbitmap = \"icon_" + std::to_string(b.id) + ".bmp\"\n";
            break;
        }
        if (b.shortcut)
            out += std::string("\tshortcut = \"") + b.shortcut + "\"\n";
        out += std::string("\tupper = \"BTNT_") + b.name + "\"\n";
        out += b.lowerText ? std::string("\tlower = \"BTNB_") + b.name + "\"\n"
                           : std::string("\tlower = \"\"\n");
        if (!b.up.empty()) {
            out += "\tup = { ";
            for (size_t i = 0; i < b.up.size(); ++i) {
                for (const ButtonSpec& other : Buttons())
                    if (other.id == b.up[i])
                        out += std::string(i ? ", " : "") + "\"BUTTON_" + other.name + "\"";
            }
            out += " }\n";
        }
        out += std::string("\tshadow = ") + (b.shadow ? "yes" : "no") + "\n";
        out += "}\n";
    }
    return out;
}

// The texts: the tooltip line of each button, the second lines and the
// labels of the text buttons.
struct ButtonTexts {
    ButtonTexts() {
        for (const ButtonSpec& b : Buttons()) {
            keys.push_back(std::string("BTNT_") + b.name);
            texts.push_back(b.label);
            if (b.lowerText) {
                keys.push_back(std::string("BTNB_") + b.name);
                texts.push_back(b.lowerText);
            }
            if (b.kind == Kind::Generic) {
                keys.push_back(std::string("BTNL_") + b.name);
                texts.push_back(b.label);
            }
        }
        for (size_t i = 0; i < keys.size(); ++i)
            rows.emplace_back(keys[i].c_str(), texts[i].c_str());
    }
    std::vector<std::string> keys;
    std::vector<std::string> texts;
    std::vector<demo::DemoText> rows;
};

const ButtonTexts kButtonTexts;

struct Picture {
    Picture(int32_t w, int32_t h, Rgb fill)
        : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}
    void Set(int32_t x, int32_t y, Rgb colour) {
        if (x >= 0 && y >= 0 && x < width && y < height)
            pixels[static_cast<size_t>(y) * width + x] = colour;
    }
    int32_t width;
    int32_t height;
    std::vector<Rgb> pixels;
};

Rgb Scale(Rgb c, double f) {
    auto ch = [f](uint8_t v) {
        double s = v * f;
        return static_cast<uint8_t>(s > 255 ? 255 : s);
    };
    return {ch(c.r), ch(c.g), ch(c.b)};
}

// A face of four frames: plain bronze, lighter when the pointer is over
// it, sunk when down, grey when disabled. Round faces are discs, square
// ones bevelled squares; outside the face lies the colour key.
std::vector<uint8_t> Face(bool round) {
    Picture strip(4 * kFace, kFace, kKey);
    const Rgb bronze{150, 104, 46};
    const Rgb grey{120, 120, 120};
    for (int32_t frame = 0; frame < 4; ++frame) {
        const Rgb base = frame == 3 ? grey : frame == 1 ? Scale(bronze, 1.3) : bronze;
        const bool sunk = frame == 2;
        for (int32_t y = 0; y < kFace; ++y)
            for (int32_t x = 0; x < kFace; ++x) {
                const double dx = x + 0.5 - kFace / 2.0;
                const double dy = y + 0.5 - kFace / 2.0;
                bool inside;
                double light; // -1 shadowed edge .. 1 lit edge
                if (round) {
                    const double r = std::sqrt(dx * dx + dy * dy);
                    inside = r < kFace / 2.0 - 0.5;
                    light = r > kFace / 2.0 - 3.5 ? -(dx + dy) / (r + 0.01) : 0.0;
                } else {
                    inside = x >= 1 && y >= 1 && x < kFace - 1 && y < kFace - 1;
                    const bool edge = x < 3 || y < 3 || x >= kFace - 3 || y >= kFace - 3;
                    light = edge ? ((x < 3 || y < 3) ? 1.0 : -1.0) : 0.0;
                }
                if (!inside)
                    continue;
                if (sunk)
                    light = -light;
                strip.Set(frame * kFace + x, y, Scale(base, 1.0 + 0.45 * light));
            }
    }
    return demo::MakeBmp24(strip.width, strip.height, strip.pixels);
}

// The symbol of a button: one of eight shapes in a colour of its own,
// centred on the key.
std::vector<uint8_t> Icon(int32_t id) {
    Picture icon(kFace, kFace, kKey);
    static const Rgb kColours[] = {{250, 240, 210}, {40, 30, 20},   {200, 40, 30},
                                   {40, 90, 180},   {230, 200, 60}, {30, 120, 60}};
    const Rgb ink = kColours[id % 6];
    const int32_t shape = (id / 6) % 8;
    for (int32_t y = 0; y < kFace; ++y)
        for (int32_t x = 0; x < kFace; ++x) {
            const int32_t dx = x - kFace / 2;
            const int32_t dy = y - kFace / 2;
            const int32_t ax = dx < 0 ? -dx : dx;
            const int32_t ay = dy < 0 ? -dy : dy;
            bool on = false;
            switch (shape) {
            case 0:
                on = dx * dx + dy * dy <= 36;
                break; // disc
            case 1:
                on = ax <= 5 && ay <= 5;
                break; // square
            case 2:
                on = dy >= -6 && dy <= 5 && ax <= (dy + 6) / 2;
                break; // triangle
            case 3:
                on = ax + ay <= 7;
                break; // diamond
            case 4:
                on = (ax <= 1 && ay <= 7) || (ay <= 1 && ax <= 7);
                break; // cross
            case 5:
                on = ay <= 6 && ax <= 7 && (dx + 8) % 5 < 2;
                break; // bars
            case 6:
                on = dx * dx + dy * dy <= 49 && dx * dx + dy * dy >= 16;
                break; // ring
            default:
                on = ay <= 6 && ax <= 6 && (ax == ay || ax + ay <= 2);
                break; // star
            }
            if (on)
                icon.Set(x, y, ink);
        }
    return demo::MakeBmp24(icon.width, icon.height, icon.pixels);
}

// A building for the lighted buttons, 40 x 40, in the indices of the default
// palette's 6 x 6 x 6 cube (index 2 + 36 r + 6 g + b).
std::vector<uint8_t> Building(int32_t variant) {
    constexpr int32_t kSize = 40;
    auto cube = [](int r, int g, int b) { return static_cast<uint8_t>(2 + 36 * r + 6 * g + b); };
    std::vector<uint8_t> pixels(kSize * kSize, cube(1, 2, 1));
    const uint8_t wall = cube(4, 3, 2);
    const uint8_t roof = cube(3 + variant % 2, 1, 1);
    const uint8_t door = cube(1, 1, 0);
    const int32_t houseWidth = 18 + 3 * variant;
    const int32_t left = (kSize - houseWidth) / 2;
    for (int32_t y = 18; y < 34; ++y)
        for (int32_t x = left; x < left + houseWidth; ++x)
            pixels[static_cast<size_t>(y * kSize + x)] = wall;
    for (int32_t i = 0; i < houseWidth / 2 + 2; ++i)
        for (int32_t x = left - 2 + i; x < left + houseWidth + 2 - i; ++x)
            pixels[static_cast<size_t>((17 - i) * kSize + x)] = roof;
    for (int32_t y = 26; y < 34; ++y)
        for (int32_t x = kSize / 2 - 2; x < kSize / 2 + 2; ++x)
            pixels[static_cast<size_t>(y * kSize + x)] = door;
    std::array<Rgb, 256> colours{};
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                colours[cube(r, g, b)] = {static_cast<uint8_t>(r * 51),
                                          static_cast<uint8_t>(g * 51),
                                          static_cast<uint8_t>(b * 51)};
    return demo::MakeBmp8(kSize, kSize, pixels, colours);
}

bool WriteButtons(const std::filesystem::path& game) {
    bool ok = demo::WriteFile(game / "config" / "buttons.txt", ButtonsFile());
    const std::filesystem::path area = game / "gfx" / "interface" / "button area";
    ok = demo::WriteFile(area / "btn_round.bmp", Face(true)) && ok;
    ok = demo::WriteFile(area / "btn_square.bmp", Face(false)) && ok;
    const Picture empty(kFace, kFace, kKey);
    ok = demo::WriteFile(area / "empty.bmp", demo::MakeBmp24(kFace, kFace, empty.pixels)) && ok;
    int32_t variant = 0;
    for (const ButtonSpec& b : Buttons()) {
        if (b.kind == Kind::Lighted)
            ok = demo::WriteFile(game / "gfx" / "interface" / "piw" / "buildings" /
                                     ("btn_" + Lower(b.name) + ".bmp"),
                                 Building(variant++)) &&
                 ok;
        else if (b.kind != Kind::Generic)
            ok =
                demo::WriteFile(area / ("icon_" + std::to_string(b.id) + ".bmp"), Icon(b.id)) && ok;
    }
    return ok;
}

const demo::DemoWriter kButtonWriter("config/buttons.txt", &WriteButtons);

} // namespace

#pragma once
// The player's notices: the world and the countries post a notice of a kind
// (0..150) for a country with the values its texts take and its links; the
// game dialogs show it (or not, by the player's settings). The dialogs lie
// above the world: they fill g_gameNotices at start-up. While it is null a
// notice goes nowhere, as in a game without a player's screen.
#include <cstdint>
#include <string>
#include <vector>

// One value handed to the notice's texts: a number or a text.
struct NoticeArg {
    NoticeArg(int64_t n) : number(n) {}
    NoticeArg(int32_t n) : number(n) {}
    NoticeArg(uint32_t n) : number(n) {}
    NoticeArg(const char* s) : isText(true), text(s ? s : "") {}
    NoticeArg(std::string s) : isText(true), text(std::move(s)) {}

    bool operator==(const NoticeArg&) const = default;

    bool isText = false;
    int64_t number = 0;
    std::string text;
};

struct GameNotice {
    int32_t type = 0;
    uint32_t country = 0;
    // name, a, b, c, d as the posting operation was given them.
    std::vector<NoticeArg> values;
    int32_t linkProvince = -1; // the map centres on it; -1 none
    int32_t linkWindow = -1;   // the information window opened; -1 none
};

struct GameNoticeHooks {
    void (*post)(const GameNotice& notice) = nullptr;
};

// Constant-initialised (null) before any static registration runs.
extern GameNoticeHooks g_gameNotices;

void PostGameMessage0(int32_t type, uint32_t country);
void PostGameMessage1(int32_t type, uint32_t country, NoticeArg name, NoticeArg a);
void PostGameMessage2(int32_t type, uint32_t country, NoticeArg name, NoticeArg a, NoticeArg b);
void PostGameMessage1At(int32_t type, uint32_t country, NoticeArg name, NoticeArg a, int32_t link);
void PostGameMessage2At(int32_t type, uint32_t country, NoticeArg name, NoticeArg a, NoticeArg b,
                        int32_t link);
void PostGameMessage3At(int32_t type, uint32_t country, NoticeArg name, NoticeArg a, NoticeArg b,
                        NoticeArg c, int32_t link);
// A notice with four values after its name, linked to the province.
void PostGameMessage4At(int32_t type, uint32_t country, NoticeArg name, NoticeArg a, NoticeArg b,
                        NoticeArg c, NoticeArg d, int32_t link);
void PostGameMessageWith(int32_t type, uint32_t country, int32_t link);
void PostGameMessage1With(int32_t type, uint32_t country, NoticeArg name, NoticeArg a,
                          int32_t link);
void PostGameMessage2With(int32_t type, uint32_t country, NoticeArg name, NoticeArg a, NoticeArg b,
                          int32_t link);

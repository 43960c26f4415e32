#pragma once
// The 151 types of the notices the game gives the player: how each is shown
// and the three settings the player can change (shown at all, shown as a
// box, pause the game while its box is open). These are not game-message
// type ids: a notice type is only the key into this table.
#include <array>
#include <cstdint>

#include "engine/Config.h"

constexpr int kMessageTypeCount = 151;

// Display kinds.
enum MessageDisplayKind : int32_t {
    kPlainNotice = 0,
    kMapLinkNotice = 1,
    kWindowLinkNotice = 2,
    kEventPage = 3,
    kAnswerBox = 4, // the diplomatic offer popups open themselves
};

struct MessageTypeRecord {
    int32_t id; // equals the index
    int32_t displayKind;
    uint8_t defaultBox;
    uint8_t defaultDisplay;
    uint8_t box;          // 1 = a panel, 0 = a line of the message log
    uint8_t display;      // shown at all
    uint8_t savedBox;     // copies taken when a settings editor opens,
    uint8_t savedDisplay; // restored by its CANCEL
    uint8_t defaultPause;
    uint8_t pause; // the single-player game pauses while the panel is open
    uint8_t savedPause;
    const char* style; // frame style of the panel: "mon", "mis", "fin", "tra", "dip", "mil", "col"
    const char* key;   // stem of the type's text keys ("DECLWAR" -> "DECLWAR_LOG" ...)
};

// Indexed by type; starts at the defaults.
extern std::array<MessageTypeRecord, kMessageTypeCount> g_messageTypes;

// Settings block -> table: for type i, byte 12 + i is display, 163 + i box
// and 314 + i pause.
void ApplyMessageSettings(const ConfigBlock& block);

// Table -> settings block, the same bytes.
void StoreMessageSettings(ConfigBlock& block);

// The type's box byte when it is an answer box; 0 for other kinds and for a
// type out of range.
uint8_t IsMessageShownAsBox(int type);

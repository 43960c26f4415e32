#pragma once
// CConfig: the player's settings, one block of 620 bytes kept in "config.ov"
// in the game folder and read and written whole. Numbers are little-endian
// words at fixed offsets; the rest of the program reads and writes them
// through GetWord and SetWord.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

constexpr size_t kConfigSize = 620;
using ConfigBlock = std::array<uint8_t, kConfigSize>;

namespace ConfigOffset {
inline constexpr size_t kFormat = 0;           // u32 272
inline constexpr size_t kSize = 4;             // u32 620
inline constexpr size_t kMessageTypeCount = 8; // u32 151
inline constexpr size_t kMessageDisplay = 12;  // u8[151] shown at all (in the log)
inline constexpr size_t kMessageBox = 163;     // u8[151] shown as a box
inline constexpr size_t kMessagePause = 314;   // u8[151] pauses the game
inline constexpr size_t kPlayerName = 465;     // char[64], zero-terminated
inline constexpr size_t kIpAddress = 529;      // char[32], zero-terminated
inline constexpr size_t kAggressiveness = 564;
inline constexpr size_t kDifficulty = 568; // costs read it minus 2
inline constexpr size_t kGameSpeed = 572;  // index of the ticks-per-day table
inline constexpr size_t kFogOfWar = 576;
inline constexpr size_t kRandomEvents = 580;
inline constexpr size_t kHistoricalEvents = 584;
inline constexpr size_t kConquerCapitals = 588;
inline constexpr size_t kMissions = 592;
inline constexpr size_t kBaseVictoryPoints = 596;
inline constexpr size_t kSoundVolume = 600; // 0..255
inline constexpr size_t kMusic = 604;       // music switch
inline constexpr size_t kAutosave = 608;    // choice 0..4
inline constexpr size_t kOptionsSwitch = 612;
inline constexpr size_t kReserved = 616;
} // namespace ConfigOffset

constexpr size_t kPlayerNameSize = 64;
constexpr size_t kIpAddressSize = 32;

constexpr uint32_t kConfigFormat = 272;
constexpr uint32_t kConfigMessageTypes = 151;

class CConfig {
public:
    static constexpr const char* kFileName = "config.ov";

    // The block with its three header words; the rest zero until Load.
    CConfig();

    // Reads "config.ov"; a missing, short or foreign file (header other than
    // 272, 620, 151, or another size) is replaced by the defaults. A valid
    // file is applied to the message settings and written anew.
    void Load();
    // Fills the block with the defaults and saves it.
    void SetDefaults();
    // The same values, kept in memory only (no file is written).
    void FillDefaults();
    // Takes the message settings into the block and writes "config.ov".
    void Save();
    void SaveAs(const std::string& path);
    // Takes the settings of another file when it is a valid settings file
    // (then applied and written to "config.ov"); otherwise nothing changes.
    void LoadFrom(const std::string& path);

    // Copy the text cut to fit its field (63 and 31 characters) and
    // terminated.
    void SetPlayerName(std::string_view name);
    void SetIpAddress(std::string_view address);
    std::string GetPlayerName() const;
    std::string GetIpAddress() const;

    // Little-endian words of the block; an offset that does not leave room
    // for a whole word reads 0 and is not written.
    uint32_t GetWord(size_t offset) const;
    void SetWord(size_t offset, uint32_t value);

    ConfigBlock& Block() { return m_block; }
    const ConfigBlock& Block() const { return m_block; }

private:
    void WriteHeader();
    void SetText(size_t offset, size_t fieldSize, std::string_view text);
    std::string GetText(size_t offset, size_t fieldSize) const;
    void Accept(const ConfigBlock& block);

    ConfigBlock m_block{};
};

// The settings of the program: made and loaded at start-up, saved and
// deleted at shutdown.
extern std::unique_ptr<CConfig> g_config;

// The notice settings kept in the block (one byte per notice type at
// kMessageDisplay, kMessageBox and kMessagePause) belong to the table of
// notice types (dialogs), which fills these once by a static registration.
// While an entry is null the block's bytes are neither applied nor
// refreshed.
struct MessageSettingsHooks {
    // Block -> table, when a valid file is taken.
    void (*apply)(const ConfigBlock& block) = nullptr;
    // Table -> block, with the defaults and before every write.
    void (*store)(ConfigBlock& block) = nullptr;
};

// Constant-initialised (all null) before any static registration runs.
extern MessageSettingsHooks g_messageSettings;

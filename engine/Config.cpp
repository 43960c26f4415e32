#include "engine/Config.h"

#include <algorithm>

#include "engine/File.h"
#include "platform/System.h"

std::unique_ptr<CConfig> g_config;
constinit MessageSettingsHooks g_messageSettings;

namespace {

void ApplyToMessageTable(const ConfigBlock& block) {
    if (g_messageSettings.apply)
        g_messageSettings.apply(block);
}

void StoreFromMessageTable(ConfigBlock& block) {
    if (g_messageSettings.store)
        g_messageSettings.store(block);
}

uint32_t LoadWord(const ConfigBlock& block, size_t offset) {
    return static_cast<uint32_t>(block[offset]) | static_cast<uint32_t>(block[offset + 1]) << 8 |
           static_cast<uint32_t>(block[offset + 2]) << 16 |
           static_cast<uint32_t>(block[offset + 3]) << 24;
}

// Reads a whole settings block from a file. False when the file cannot be
// opened, is not exactly one block long, cannot be read whole or its header
// is not 272, 620, 151.
bool ReadBlock(const std::string& path, ConfigBlock& block) {
    if (!FileExists(path))
        return false;
    CFile file(path);
    if (file.IsFailed() || file.GetSize() != static_cast<int32_t>(kConfigSize))
        return false;
    if (!file.Read(block.data(), static_cast<uint32_t>(block.size())))
        return false;
    return LoadWord(block, ConfigOffset::kFormat) == kConfigFormat &&
           LoadWord(block, ConfigOffset::kSize) == kConfigSize &&
           LoadWord(block, ConfigOffset::kMessageTypeCount) == kConfigMessageTypes;
}

void WriteBlock(const std::string& path, const ConfigBlock& block) {
    CFile file(path, "wb");
    file.Write(block.data(), static_cast<uint32_t>(block.size())); // CFile reports a failure
}

} // namespace

CConfig::CConfig() {
    WriteHeader();
}

void CConfig::WriteHeader() {
    SetWord(ConfigOffset::kFormat, kConfigFormat);
    SetWord(ConfigOffset::kSize, static_cast<uint32_t>(kConfigSize));
    SetWord(ConfigOffset::kMessageTypeCount, kConfigMessageTypes);
}

void CConfig::Load() {
    ConfigBlock block;
    if (ReadBlock(kFileName, block))
        Accept(block);
    else
        SetDefaults();
}

void CConfig::LoadFrom(const std::string& path) {
    ConfigBlock block;
    if (ReadBlock(path, block))
        Accept(block);
}

// Takes a block read from a valid file: its texts are terminated, its
// message settings go to the table (and back), and it is written anew.
void CConfig::Accept(const ConfigBlock& block) {
    m_block = block;
    m_block[ConfigOffset::kPlayerName + kPlayerNameSize - 1] = 0;
    m_block[ConfigOffset::kIpAddress + kIpAddressSize - 1] = 0;
    ApplyToMessageTable(m_block);
    StoreFromMessageTable(m_block);
    Save();
}

void CConfig::SetDefaults() {
    FillDefaults();
    Save();
}

void CConfig::FillDefaults() {
    m_block.fill(0);
    WriteHeader();
    std::string name;
    if (!platform::GetComputerName(name))
        name = "Player";
    SetPlayerName(name);
    StoreFromMessageTable(m_block);

    using namespace ConfigOffset;
    const std::pair<size_t, uint32_t> words[] = {
        {kAggressiveness, 1},    {kDifficulty, 2},       {kGameSpeed, 2},       {kFogOfWar, 1},
        {kRandomEvents, 1},      {kHistoricalEvents, 1}, {kConquerCapitals, 1}, {kMissions, 1},
        {kBaseVictoryPoints, 1}, {kSoundVolume, 128},    {kMusic, 1},           {kAutosave, 0},
        {kOptionsSwitch, 1},     {kReserved, 1},
    };
    for (const auto& [offset, value] : words)
        SetWord(offset, value);
}

void CConfig::Save() {
    SaveAs(kFileName);
}

void CConfig::SaveAs(const std::string& path) {
    StoreFromMessageTable(m_block);
    WriteBlock(path, m_block);
}

void CConfig::SetPlayerName(std::string_view name) {
    SetText(ConfigOffset::kPlayerName, kPlayerNameSize, name);
}

void CConfig::SetIpAddress(std::string_view address) {
    SetText(ConfigOffset::kIpAddress, kIpAddressSize, address);
}

std::string CConfig::GetPlayerName() const {
    return GetText(ConfigOffset::kPlayerName, kPlayerNameSize);
}

std::string CConfig::GetIpAddress() const {
    return GetText(ConfigOffset::kIpAddress, kIpAddressSize);
}

void CConfig::SetText(size_t offset, size_t fieldSize, std::string_view text) {
    const auto field = m_block.begin() + static_cast<std::ptrdiff_t>(offset);
    std::fill(field, field + static_cast<std::ptrdiff_t>(fieldSize), uint8_t{0});
    text = text.substr(0, fieldSize - 1);
    std::copy(text.begin(), text.end(), field);
}

std::string CConfig::GetText(size_t offset, size_t fieldSize) const {
    const char* field = reinterpret_cast<const char*>(m_block.data() + offset);
    return std::string(field, std::find(field, field + fieldSize, '\0'));
}

uint32_t CConfig::GetWord(size_t offset) const {
    return offset <= kConfigSize - 4 ? LoadWord(m_block, offset) : 0;
}

void CConfig::SetWord(size_t offset, uint32_t value) {
    if (offset > kConfigSize - 4)
        return;
    for (size_t i = 0; i < 4; ++i)
        m_block[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

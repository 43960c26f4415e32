#include "ui/widgets/PopupDialog.h"

#include "country/Banners.h"
#include "engine/Font.h"
#include "engine/Format.h"
#include "engine/GameState.h"
#include "engine/Palette.h"
#include "engine/Sprite.h"
#include "ui/widgets/PopupHost.h"
#include "ui/widgets/TextArea.h"
#include "ui/widgets/TextItem.h"

constinit EventPauseHooks g_eventPauseHooks;

namespace {

constexpr int32_t kBlockWidth = 160;
constexpr int32_t kBlockHeight = 320;

struct BlockDefault {
    const char* font;
    int32_t r, g, b;
};

constexpr BlockDefault kBlockDefaults[kDialogBlockCount] = {
    {"gfx\\fonts\\garamond14.bmp", 255, 189, 0}, {"gfx\\fonts\\garamond20bold.bmp", 255, 255, 255},
    {"gfx\\fonts\\garamond14.bmp", 255, 189, 0}, {"gfx\\fonts\\garamond14bold.bmp", 255, 255, 255},
    {"gfx\\fonts\\garamond14.bmp", 255, 189, 0}, {"gfx\\fonts\\garamond14bold.bmp", 255, 255, 255},
    {"gfx\\fonts\\garamond14.bmp", 255, 189, 0}, {"gfx\\fonts\\garamond14.bmp", 255, 189, 0},
};

std::unique_ptr<CTextArea> MakeBlock(CFont* font, uint16_t colour, int32_t width) {
    auto block = std::make_unique<CTextArea>(width, kBlockHeight, 0);
    block->centred = 1;
    block->font = font;
    block->colour = colour;
    return block;
}

std::string UpperCase(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::unique_ptr<CSprite> ShieldSprite(const char* path, const char* palette) {
    auto sprite = std::make_unique<CSprite>(path);
    sprite->SetFrameCount(4);
    sprite->SetFrame(0);
    if (CPalette* colours = GetPalette(palette))
        sprite->SetPalette(colours);
    return sprite;
}

} // namespace

CPopupDialog::CPopupDialog(int32_t countryNumber) : country(countryNumber) {
    for (size_t i = 0; i < kDialogBlockCount; ++i) {
        const BlockDefault& d = kBlockDefaults[i];
        blocks[i] = MakeBlock(g_fonts.Get(d.font), RgbToPixel(d.r, d.g, d.b), kBlockWidth);
    }
    AddPopupToFrame(this);
}

CPopupDialog::~CPopupDialog() {
    RemovePopupFromFrame(this);
}

CTextArea* CPopupDialog::GetBlock(int32_t block) const {
    return IsBlock(block) ? blocks[static_cast<size_t>(block)].get() : nullptr;
}

void CPopupDialog::SetTextArea(int32_t block, CFont* font, uint16_t colour, int32_t blockWidth) {
    if (IsBlock(block))
        blocks[static_cast<size_t>(block)] = MakeBlock(font, colour, blockWidth);
}

void CPopupDialog::SetBlockFont(int32_t block, CFont* font, uint16_t colour) {
    if (CTextArea* area = GetBlock(block)) {
        area->font = font;
        area->colour = colour;
    }
}

void CPopupDialog::UpperCaseBlock(int32_t block) {
    CTextArea* area = GetBlock(block);
    if (!area)
        return;
    std::vector<std::string> lines;
    for (size_t i = 0; i < area->GetLineCount(); ++i)
        if (auto* label = dynamic_cast<CTextLabel*>(area->GetLine(i)))
            lines.push_back(UpperCase(label->GetFullText()));
    area->Clear();
    for (const std::string& line : lines)
        area->AddLine(line);
}

void CPopupDialog::SetStyleName(const std::string& name) {
    styleName = name.substr(0, 3);
}

void CPopupDialog::SetText(const std::string& text) {
    const DialogPieces split = SplitDialogText(text);
    for (size_t i = 0; i < split.count; ++i) {
        blocks[i]->Clear();
        blocks[i]->SetText(split.pieces[i]);
    }
}

void CPopupDialog::SetShield(int32_t countryNumber) {
    smallShield.reset();
    shield.reset();
    overlay.reset();
    const uint32_t number = static_cast<uint32_t>(countryNumber);
    smallShield = ShieldSprite(GetCountrySmallShieldPath(number), "shield palette.bmp");
    smallShield->zoomShift = 1;
    shield = ShieldSprite(GetCountryShieldPath(number), "shield palette.bmp");
    overlay = std::make_unique<CSprite>(
        FormatText("gfx\\map\\shields\\shield_flarp_%s.bmp", styleName.c_str()));
    if (CPalette* medal = GetPalette("palette_medal.bmp"))
        overlay->SetPalette(medal);
    CImage* target = GetImage();
    if (!target)
        return;
    for (const auto& [sprite, left, right, top] :
         {std::tuple{overlay.get(), 8, 250, 52}, std::tuple{shield.get(), 12, 254, 14}}) {
        sprite->SetDestination(target);
        for (int32_t at : {left, right}) {
            sprite->SetPosition(at, top);
            sprite->Draw(0);
        }
    }
}

int32_t CPopupDialog::BlockHeight(int32_t block) const {
    const CTextArea* area = blocks[static_cast<size_t>(block)].get();
    const int32_t lineHeight = area->font ? area->font->cellHeight : 0;
    return static_cast<int32_t>(area->GetLineCount()) * lineHeight + 5;
}

void CPopupDialog::Layout() {
    int32_t total = 116;
    for (int32_t block = 2; block < static_cast<int32_t>(kDialogBlockCount); ++block)
        total += BlockHeight(block);
    Create(nullptr, kWidth, total, 16);
    for (auto& block : blocks)
        block->SetDestination(GetImage());
    SetShield(country);
    int32_t top = 17;
    for (int32_t block = 0; block < static_cast<int32_t>(kDialogBlockCount); ++block) {
        CTextArea& area = *blocks[static_cast<size_t>(block)];
        area.SetPosition((kWidth - area.width) / 2, top);
        area.Draw(0);
        top += BlockHeight(block);
    }
}

CEventPopup::CEventPopup(int32_t type, int32_t countryNumber)
    : CPopupDialog(countryNumber), messageType(type) {
    if (!IsGameStarted() || IsMultiplayerGame())
        return;
    pausedBefore = IsGamePaused() ? 1 : 0;
    const bool typePauses = g_eventPauseHooks.typePauses && g_eventPauseHooks.typePauses(type);
    if (typePauses && !pausedBefore && g_eventPauseHooks.pause) {
        g_eventPauseHooks.pause();
        m_paused = true;
    }
}

CEventPopup::~CEventPopup() {
    if (m_paused && !IsMultiplayerGame() && g_eventPauseHooks.unpause)
        g_eventPauseHooks.unpause();
}

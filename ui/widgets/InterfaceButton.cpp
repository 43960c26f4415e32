#include "ui/widgets/InterfaceButton.h"

#include <cstring>

#include "data/Keywords.h"
#include "data/TokenFile.h"
#include "engine/CriticalError.h"
#include "engine/Font.h"
#include "engine/Palette.h"
#include "engine/TextDatabase.h"
#include "net/EventTypes.h"
#include "ui/widgets/PopupHost.h"

CInterfaceButtonTable* g_interfaceButtonTable = nullptr;

namespace {

constexpr int32_t kParked = -1000;
constexpr int32_t kHoldSteps = 7;

bool IsText(const Token& token, const char* text) {
    return std::strcmp(token.text, text) == 0;
}

// At most kMaxTooltip characters of the key's text; an empty key gives an
// empty line.
std::string TooltipLine(const char* key) {
    std::string line = key[0] ? g_textDatabase.GetText(key) : "";
    if (line.size() > CInterfaceButton::kMaxTooltip)
        line.resize(CInterfaceButton::kMaxTooltip);
    return line;
}

// A word or a quoted string: the forms a button name takes.
bool IsName(const Token& token) {
    return token.code == TOKEN_STRING || IsKeywordCode(token.code);
}

} // namespace

int32_t ParseShortcut(std::string_view text) {
    static constexpr struct {
        const char* name;
        int32_t code;
    } kNamed[] = {{"enter", 13}, {"esc", 14}, {"del", 7},  {"f1", 255}, {"f2", 254},
                  {"f3", 253},   {"f4", 252}, {"f5", 251}, {"f6", 250}, {"f7", 249},
                  {"f8", 248},   {"f9", 247}, {"f10", 246}};
    for (const auto& named : kNamed)
        if (text == named.name)
            return named.code;
    if (text.empty())
        return -1;
    return static_cast<unsigned char>(text[0]);
}

CInterfaceButton::CInterfaceButton(InterfaceButtonKind buttonKind, CInterfaceButtonTable* table)
    : kind(buttonKind), owner(table) {
    commandId = -1;
    hotkey = -1;
    SetPosition(kParked, kParked);
    if (kind == InterfaceButtonKind::Lighted)
        SetFrameCount(1);
    AddWindowToFrame(this);
}

CInterfaceButton::~CInterfaceButton() {
    if (owner)
        owner->Forget(this);
    RemoveWindowFromFrame(this);
}

int CInterfaceButton::ReadDefinition(CFieldReader& reader) {
    for (;;) {
        const int32_t result = reader.ReadFieldOrClose();
        if (result == FIELD_BLOCK_END || result == FIELD_END_OF_FILE)
            return result;
        if (result != FIELD_READ)
            continue; // a key without "=": both tokens are passed over
        const Token& key = reader.key;
        const Token& value = reader.value;
        if (IsText(key, "id")) {
            commandId = FindInterfaceButtonId(value.text);
        } else if (IsText(key, "bitmap")) {
            if (kind == InterfaceButtonKind::Generic) {
                if (CFont* font = g_fonts.Get("gfx\\fonts\\garamond14.bmp"))
                    RenderFrames(g_textDatabase.GetText(value.text), font, 0);
                background.Load("gfx\\interface\\button area\\empty.bmp");
            } else {
                background.Load(std::string("gfx\\interface\\button area\\") + value.text);
            }
        } else if (IsText(key, "background")) {
            const SpritePoint at = GetPosition();
            if (kind == InterfaceButtonKind::Lighted) {
                Load(std::string("gfx\\interface\\piw\\buildings\\") + value.text);
                SetFrameCount(1);
            } else {
                Load(std::string("gfx\\interface\\button area\\") + value.text);
                SetFrameCount(4);
            }
            CSprite::SetPosition(at.x, at.y);
        } else if (IsText(key, "shortcut")) {
            hotkey = ParseShortcut(value.text);
        } else if (IsText(key, "upper")) {
            upper = TooltipLine(value.text);
        } else if (IsText(key, "lower")) {
            lower = TooltipLine(value.text);
        } else if (IsText(key, "up")) {
            if (value.code != TOKEN_OPEN_BRACE) {
                reader.ReportError("No Left Curly");
                continue;
            }
            const int32_t listResult = ReadUpList(reader);
            if (listResult != FIELD_BLOCK_END)
                return listResult;
        } else if (IsText(key, "shadow")) {
            if (IsText(value, "yes"))
                shadow = 1;
            else if (!IsText(value, "no"))
                reader.ReportError("Illegal Argument");
        } else {
            reader.ReportError("InterfaceButton : Unexpected Field");
            return FIELD_BLOCK_END;
        }
    }
}

int CInterfaceButton::ReadUpList(CFieldReader& reader) {
    CTokenFile* file = reader.GetTokenFile();
    if (!file)
        return FIELD_END_OF_FILE;
    for (;;) {
        if (file->Next() == 0)
            return FIELD_END_OF_FILE;
        const Token& token = file->Current();
        if (token.code == TOKEN_CLOSE_BRACE)
            return FIELD_BLOCK_END;
        if (token.code == TOKEN_COMMA)
            continue;
        if (!IsName(token)) {
            reader.value = token;
            reader.ReportError("InterfaceButton : Bad up list");
            return FIELD_ERROR;
        }
        const int32_t id = FindInterfaceButtonId(token.text);
        if (id < 0) {
            reader.value = token;
            reader.ReportError("InterfaceButton : Unknown button name");
            continue;
        }
        upList.push_back(id);
    }
}

void CInterfaceButton::Click() {
    if (listener)
        listener->OnButtonCommand(commandId);
    if (upList.empty()) {
        Release();
        return;
    }
    for (int32_t id : upList)
        if (CInterfaceButton* other = owner ? owner->Get(id) : nullptr)
            other->Release();
    Press();
}

void CInterfaceButton::Draw(int32_t param) {
    CSprite::Draw(param);
    background.Draw(param);
    if (disabled && shadow && owner && owner->shadowPicture) {
        owner->shadowPicture->SetPosition(x, y);
        owner->shadowPicture->Draw(param);
    }
}

void CInterfaceButton::SetPosition(int32_t newX, int32_t newY) {
    background.SetPosition(newX, newY);
    CTextButton::SetPosition(newX, newY);
}

void CInterfaceButton::ShowPlain() {
    if (kind == InterfaceButtonKind::Lighted)
        paletteTable = kPaletteNormal;
    else
        CTextButton::ShowPlain();
}

void CInterfaceButton::ShowDown() {
    if (kind == InterfaceButtonKind::Lighted)
        paletteTable = kPaletteBright;
    else
        CTextButton::ShowDown();
}

void CInterfaceButton::ShowOver() {
    if (kind == InterfaceButtonKind::Lighted)
        paletteTable = kPaletteBright;
    else
        CTextButton::ShowOver();
}

void CInterfaceButton::ShowDisabled() {
    if (kind == InterfaceButtonKind::Lighted)
        paletteTable = kPaletteHalf;
    else
        CTextButton::ShowDisabled();
}

void CInterfaceButton::SetTooltip(std::string_view upperLine, std::string_view lowerLine) {
    upper = upperLine.substr(0, kMaxTooltip);
    lower = lowerLine.substr(0, kMaxTooltip);
}

int CHoldButton::HandleEvent(COVEvent& event) {
    const int answer = CInterfaceButton::HandleEvent(event);
    if (event.GetType() != EVT_TIMER_TICK_LOOP)
        return answer;
    if (!IsPressed()) {
        holdCounter = 0;
        return answer;
    }
    if (disabled) {
        Release();
        return answer;
    }
    ++holdCounter;
    for (int32_t i = 0; i < holdCounter / kHoldSteps && listener; ++i)
        listener->OnButtonCommand(commandId);
    return answer;
}

// The table ----------------------------------------------------------------------

CInterfaceButtonTable::CInterfaceButtonTable() = default;

CInterfaceButtonTable::CInterfaceButtonTable(const std::string& path) {
    CFieldReader reader;
    reader.Open(path, "r");
    readResult = Read(reader);
    reader.Close();
}

CInterfaceButtonTable::~CInterfaceButtonTable() {
    for (CInterfaceButton*& button : slots) {
        CInterfaceButton* gone = button;
        button = nullptr;
        delete gone;
    }
}

int CInterfaceButtonTable::Read(CFieldReader& reader) {
    for (;;) {
        const int32_t result = reader.ReadField();
        if (result == FIELD_END_OF_FILE)
            return FIELD_END_OF_FILE;
        if (result == FIELD_BLOCK_END) {
            // A "}" without its block: passed over.
            if (CTokenFile* file = reader.GetTokenFile())
                file->Next();
            continue;
        }
        if (result != FIELD_READ)
            continue;

        InterfaceButtonKind kind;
        if (IsText(reader.key, "press")) {
            kind = InterfaceButtonKind::Press;
        } else if (IsText(reader.key, "hold")) {
            kind = InterfaceButtonKind::Hold;
        } else if (IsText(reader.key, "lighted")) {
            kind = InterfaceButtonKind::Lighted;
        } else if (IsText(reader.key, "generic")) {
            kind = InterfaceButtonKind::Generic;
        } else {
            reader.ReportError("Unexpected field");
            return FIELD_ERROR;
        }
        if (reader.value.code != TOKEN_OPEN_BRACE) {
            reader.ReportError("No Left Curly");
            continue;
        }

        std::unique_ptr<CInterfaceButton> button =
            kind == InterfaceButtonKind::Hold ? std::make_unique<CHoldButton>(this)
                                              : std::make_unique<CInterfaceButton>(kind, this);
        const int32_t blockResult = button->ReadDefinition(reader);
        if (blockResult != FIELD_BLOCK_END)
            return blockResult; // the file ended in the block, or its up list was broken

        const int32_t id = button->commandId;
        if (!GetInterfaceButtonName(id)) {
            // No slot for it: reported and dropped.
            reader.ReportError("InterfaceButton : Unknown id");
            continue;
        }
        CInterfaceButton* previous = slots[static_cast<size_t>(id)];
        slots[static_cast<size_t>(id)] = button.release();
        delete previous;
    }
}

CInterfaceButton* CInterfaceButtonTable::Get(int32_t id) const {
    CInterfaceButton* button =
        id >= 0 && id < kInterfaceButtonCount ? slots[static_cast<size_t>(id)] : nullptr;
    if (!button)
        DebugPrint("unknown id? %d\n", id);
    return button;
}

void CInterfaceButtonTable::Enable(int32_t id) {
    if (CInterfaceButton* button = Get(id))
        button->Enable();
}

void CInterfaceButtonTable::Disable(int32_t id) {
    CInterfaceButton* button = Get(id);
    if (!button)
        return;
    if (button->IsPressed())
        button->Release();
    button->Disable();
}

void CInterfaceButtonTable::Hide(int32_t id) {
    if (CInterfaceButton* button = Get(id))
        button->SetPosition(kParked, kParked);
}

void CInterfaceButtonTable::HideAll() {
    for (CInterfaceButton* button : slots)
        if (button)
            button->SetPosition(kParked, kParked);
}

void CInterfaceButtonTable::Forget(const CInterfaceButton* button) {
    for (CInterfaceButton*& slot : slots)
        if (slot == button)
            slot = nullptr;
}

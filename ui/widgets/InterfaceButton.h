#pragma once
// The interface buttons of the game screen and its windows: read from
// "config\buttons.txt" into a table of the fixed ids
// (ui/widgets/InterfaceButtonIds.h), fetched by id, placed, enabled,
// disabled and hidden by the screen and the windows, which receive their
// clicks through a listener. Four kinds: "press" (plain), "hold" (repeats
// its command while held), "lighted" (one frame; its looks are palette
// brightnesses) and "generic" (frames rendered from a text).
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Sprite.h"
#include "ui/widgets/InterfaceButtonIds.h"
#include "ui/widgets/TextButton.h"

class CFieldReader;
class CInterfaceButtonTable;

// Receives the command of a clicked interface button (the main screen and
// the windows).
class CButtonCommandListener {
public:
    virtual ~CButtonCommandListener() = default;
    virtual void OnButtonCommand(int32_t id) = 0;
};

enum class InterfaceButtonKind { Press, Hold, Lighted, Generic };

// The hotkey code of a "shortcut" value: "enter" 13, "esc" 14, "del" 7,
// "f1" 255 down to "f10" 246 (lower case only); any other text the code of
// its first character; -1 (no hotkey) for an empty text.
int32_t ParseShortcut(std::string_view text);

class CInterfaceButton : public CTextButton {
public:
    // The longest tooltip line kept; longer texts are cut.
    static constexpr size_t kMaxTooltip = 255;

    // No text, no listener, an empty up list, the placeholder background;
    // both parked at (-1000, -1000); entered into the game frame's window
    // layer.
    CInterfaceButton(InterfaceButtonKind kind, CInterfaceButtonTable* table);
    // Leaves the table's slot and the window layer.
    ~CInterfaceButton() override;

    // Reads the block whose "{" has been taken, up to its "}":
    // FIELD_BLOCK_END when it was read, or when an unknown key ended it
    // (reported as "InterfaceButton : Unexpected Field"); FIELD_END_OF_FILE
    // when the file ended inside it (also inside an "up" list); FIELD_ERROR
    // for a token in an "up" list that is no name, comma or "}". Names that
    // are no button are reported and left out of the up list.
    int ReadDefinition(CFieldReader& reader) override;

    // The button was clicked or its hotkey pressed: the listener gets the
    // id; without an up list the button is released, otherwise the buttons
    // it names are released and it stays down.
    virtual void Click();
    void OnClicked() override { Click(); }

    // The button's frame, its background and, when disabled with the
    // shadow flag, the table's shadow picture.
    void Draw(int32_t param) override;
    // The background first, then the button.
    void SetPosition(int32_t newX, int32_t newY) override;
    // "lighted": the palette tables instead of frames.
    void ShowPlain() override;
    void ShowDown() override;
    void ShowOver() override;
    void ShowDisabled() override;

    void SetTooltip(std::string_view upperLine, std::string_view lowerLine);
    void SetArguments(int32_t a, int32_t b) {
        argumentA = a;
        argumentB = b;
    }
    bool IsTextButton() const { return kind == InterfaceButtonKind::Generic; }
    bool IsLighted() const { return kind == InterfaceButtonKind::Lighted; }
    int32_t GetId() const { return commandId; }

    InterfaceButtonKind kind;
    CButtonCommandListener* listener = nullptr;
    int32_t argument = 0;
    std::string upper;
    std::string lower;
    int32_t argumentA = 0;
    int32_t argumentB = 0;
    std::vector<int32_t> upList;
    CSprite background;
    CInterfaceButtonTable* owner;
    uint8_t shadow = 0;
    int32_t holdCounter = 0;

private:
    int ReadUpList(CFieldReader& reader);
};

// "hold": while pressed, every frame tick counts up and gives the listener
// the command counter / 7 times; a disabled button is released instead.
class CHoldButton : public CInterfaceButton {
public:
    explicit CHoldButton(CInterfaceButtonTable* table)
        : CInterfaceButton(InterfaceButtonKind::Hold, table) {}
    int HandleEvent(COVEvent& event) override;
};

class CInterfaceButtonTable {
public:
    // Reads the file; a file that cannot be opened leaves the table empty.
    explicit CInterfaceButtonTable(const std::string& path);
    // An empty table.
    CInterfaceButtonTable();
    ~CInterfaceButtonTable();
    CInterfaceButtonTable(const CInterfaceButtonTable&) = delete;
    CInterfaceButtonTable& operator=(const CInterfaceButtonTable&) = delete;

    // Reads every block of the open reader: FIELD_END_OF_FILE after the
    // last one, FIELD_ERROR when an unknown keyword ended the reading (the
    // blocks read before stay), FIELD_END_OF_FILE also when the file ended
    // inside a block (that block is dropped).
    int Read(CFieldReader& reader);

    // The button, or null (logged) for an id without one.
    CInterfaceButton* Get(int32_t id) const;
    void Enable(int32_t id);
    void Disable(int32_t id);
    // Parks the button and its background at (-1000, -1000).
    void Hide(int32_t id);
    void HideAll();

    // Called by a button being deleted.
    void Forget(const CInterfaceButton* button);

    int32_t readResult = 0;
    std::array<CInterfaceButton*, kInterfaceButtonCount> slots{};
    // Drawn over a disabled button with the shadow flag; none is loaded here.
    std::unique_ptr<CSprite> shadowPicture;
};

// The main game screen's table; null while there is none.
extern CInterfaceButtonTable* g_interfaceButtonTable;

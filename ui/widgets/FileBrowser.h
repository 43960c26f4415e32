#pragma once
// CFileBrowser: the chooser of the save and load screen: a title, the
// sub-folders and the files of one extension in the current folder, a
// one-line field for the file name and the buttons "OK" and "CANCEL". The
// player walks the folders by double-clicking (or choosing and OK), picks a
// file by clicking it or types a name; the owner reads finished and
// accepted after each event and then asks for the path. Folders are
// written with "\" between their parts and no trailing "\".
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine/Drawable.h"

class CButton;
class CEditField;
class CListBox;
class CSprite;

class CFileBrowser : public Drawable {
public:
    // Row data: folders below kFileRow (their index), files kFileRow plus
    // their index, the parent folder kParentRow.
    static constexpr uint32_t kFileRow = 0x10000;
    static constexpr uint32_t kParentRow = 0x20000;
    // The longest path answered and the longest folder kept.
    static constexpr size_t kMaxPath = 255;
    static constexpr size_t kMaxFolder = 1023;

    // window: the screen's background picture, which places every part
    // (not owned). folder: null for the process's current directory.
    CFileBrowser(const std::string& title, CSprite* window, const std::string& initialName,
                 const char* folder, const std::string& extension);
    ~CFileBrowser() override;

    int HandleEvent(COVEvent& event) override;
    void Draw(int32_t param) override;

    // folder + "\" + the name field's text; none (and a message box) when
    // that is longer than kMaxPath characters.
    std::optional<std::string> GetSelectedPath() const;
    // False when the folder holds no "\" after its first character;
    // otherwise true and, unless only testing, the folder is cut at its
    // last "\" and listed again.
    bool GoUp(bool testOnly);

    const std::string& GetFolder() const { return m_folder; }
    CListBox& List() const { return *m_list; }
    CEditField& NameField() const { return *m_name; }
    CButton& OkButton() const { return *m_ok; }
    CButton& CancelButton() const { return *m_cancel; }

    uint8_t finished = 0;
    uint8_t accepted = 0;
    uint8_t pickedFromList = 1;

private:
    void MakeList();
    void FillList(bool folders);
    void Refill();
    // Enters the sub-folder named by the selected row; refused with a
    // message when the folder would grow past kMaxFolder.
    void EnterSelectedFolder();
    // The selected file row's name into the name field.
    void TakeSelectedFile();
    // Accepts when the path fits, else tells the player.
    void Accept();

    CSprite* m_window;
    std::unique_ptr<CButton> m_cancel;
    std::unique_ptr<CButton> m_ok;
    std::unique_ptr<CEditField> m_name;
    std::unique_ptr<CListBox> m_list;
    std::string m_folder;
    std::string m_title;
    std::string m_extension;
};

// The name shown for a file: the name without its final extension
// ("x.v2.ovg" gives "x.v2"); a name whose only dot leads it stays whole.
std::string FileNameWithoutExtension(const std::string& name);

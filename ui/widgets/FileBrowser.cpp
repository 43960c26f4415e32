#include "ui/widgets/FileBrowser.h"

#include <algorithm>

#include "engine/Display.h"
#include "engine/DisplayList.h"
#include "engine/Font.h"
#include "engine/Sprite.h"
#include "engine/TextDatabase.h"
#include "platform/Files.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/EditField.h"
#include "ui/widgets/ListBox.h"
#include "ui/widgets/MessageBox.h"
#include "ui/widgets/WidgetEvents.h"

namespace {

constexpr const char* kFont = "gfx\\fonts\\garamond18bold.bmp";
constexpr int32_t kMessageTime = 666;

CFont* BrowserFont() {
    return g_fonts.Get(kFont);
}

std::string HostPath(std::string folder) {
    std::replace(folder.begin(), folder.end(), '\\', '/');
    return folder.empty() ? std::string("/") : folder;
}

bool EndsWithExtension(const std::string& name, const std::string& extension) {
    if (name.size() <= extension.size() + 1)
        return false;
    const size_t dot = name.size() - extension.size() - 1;
    if (name[dot] != '.')
        return false;
    for (size_t i = 0; i < extension.size(); ++i) {
        char a = name[dot + 1 + i];
        char b = extension[i];
        if (a >= 'A' && a <= 'Z')
            a = static_cast<char>(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z')
            b = static_cast<char>(b - 'A' + 'a');
        if (a != b)
            return false;
    }
    return true;
}

// The key's text in the font centred on each of the button's four frames:
// white, orange over and down, grey disabled.
void LabelButton(CButton& button, const char* key) {
    CFont* font = BrowserFont();
    CImageBase* image = button.image;
    if (!font || !image || !image->pixels)
        return;
    const char* text = g_textDatabase.GetText(key);
    const int32_t frameWidth = button.frameWidth;
    const uint16_t colours[4] = {
        CGraphicsBase::RgbToPixel(255, 255, 255), CGraphicsBase::RgbToPixel(255, 189, 0),
        CGraphicsBase::RgbToPixel(255, 189, 0), CGraphicsBase::RgbToPixel(128, 128, 128)};
    for (int32_t frame = 0; frame < 4; ++frame)
        font->DrawTextCentred(text, frame * frameWidth + frameWidth / 2,
                              (image->height - font->cellHeight) / 2, image, colours[frame]);
}

std::unique_ptr<CButton> MakeButton(const char* key) {
    auto button = std::make_unique<CButton>("gfx\\interface\\btn_saveload.bmp", 0, 0);
    button->MakeImagePrivate();
    button->SetFrameCount(4);
    LabelButton(*button, key);
    return button;
}

} // namespace

std::string FileNameWithoutExtension(const std::string& name) {
    const size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

CFileBrowser::CFileBrowser(const std::string& title, CSprite* window,
                           const std::string& initialName, const char* folder,
                           const std::string& extension)
    : m_window(window), m_title(title), m_extension(extension) {
    const SpritePoint p = window ? window->GetPosition() : SpritePoint{};
    m_cancel = MakeButton("CANCEL");
    m_ok = MakeButton("OK");
    m_ok->SetPosition(p.x + 240 - m_ok->GetWidth() / 2, p.y + 380);
    m_cancel->SetPosition(p.x + 114 - m_cancel->GetWidth() / 2, p.y + 380);
    m_name = std::make_unique<CEditField>(p.x + 42, p.y + 335, 260, 128, BrowserFont(),
                                          window ? window->GetDestination() : nullptr,
                                          initialName.c_str());
    m_name->SetColourCode("%777");
    m_name->fileName = 1;
    if (folder) {
        m_folder = folder;
    } else {
        m_folder = platform::CurrentHostFolder();
        std::replace(m_folder.begin(), m_folder.end(), '/', '\\');
    }
    while (m_folder.size() > 1 && m_folder.back() == '\\')
        m_folder.pop_back();
    if (m_folder.size() > kMaxFolder)
        m_folder.resize(kMaxFolder);
    Refill();
}

CFileBrowser::~CFileBrowser() = default;

void CFileBrowser::MakeList() {
    const SpritePoint p = m_window ? m_window->GetPosition() : SpritePoint{};
    m_list = std::make_unique<CListBox>(p.x + 42, p.y + 16, 260, 15, std::string(), BrowserFont(),
                                        BrowserFont(), "gfx\\interface\\menu\\scrollbar_bottom.bmp",
                                        "gfx\\interface\\menu\\scrollbar_top.bmp");
    m_list->centredHeader = 1;
    m_list->centredRows = 0;
    if (g_displayList)
        g_displayList->RemoveObject(m_list.get());
}

bool CFileBrowser::GoUp(bool testOnly) {
    const size_t last = m_folder.rfind('\\');
    if (last == std::string::npos || last == 0)
        return false;
    if (!testOnly) {
        m_folder.resize(last);
        Refill();
    }
    return true;
}

void CFileBrowser::Refill() {
    MakeList();
    if (GoUp(true))
        m_list->AddTruncated("%070[ . . ]", kParentRow, ObjectId{});
    FillList(true);
    FillList(false);
}

void CFileBrowser::FillList(bool folders) {
    uint32_t index = 0;
    for (const platform::FolderEntry& entry : platform::ListHostFolder(HostPath(m_folder))) {
        if (folders && entry.isFolder && !entry.name.empty() && entry.name[0] != '.')
            m_list->AddTruncated("%070[" + entry.name + "]", index++, ObjectId{});
        else if (!folders && !entry.isFolder && EndsWithExtension(entry.name, m_extension))
            m_list->AddTruncated("%067" + FileNameWithoutExtension(entry.name), kFileRow + index++,
                                 ObjectId{});
    }
}

void CFileBrowser::EnterSelectedFolder() {
    const char* full = m_list->GetSelectedFullText();
    if (!full)
        return;
    const std::string text = full;
    const size_t open = text.find('[');
    const size_t close = text.rfind(']');
    if (open == std::string::npos || close == std::string::npos || close <= open)
        return;
    const std::string name = text.substr(open + 1, close - open - 1);
    if (m_folder.size() + 1 + name.size() > kMaxFolder) {
        new CMessageBox(g_textDatabase.GetText("FILEPATHTOOLONG"), kMessageTime);
        return;
    }
    m_folder += "\\" + name;
    Refill();
}

void CFileBrowser::TakeSelectedFile() {
    const char* full = m_list->GetSelectedFullText();
    if (full && std::string(full).size() >= 4)
        m_name->SetText(std::string(full).substr(4));
}

std::optional<std::string> CFileBrowser::GetSelectedPath() const {
    std::string path = m_folder + "\\" + m_name->GetText();
    if (path.size() > kMaxPath)
        return std::nullopt;
    return path;
}

void CFileBrowser::Accept() {
    if (!GetSelectedPath()) {
        new CMessageBox(g_textDatabase.GetText("FILEPATHTOOLONG"), kMessageTime);
        return;
    }
    accepted = 1;
    finished = 1;
}

int CFileBrowser::HandleEvent(COVEvent& event) {
    const uint32_t kind = widget::Kind(event);
    int answer = m_cancel->HandleEvent(event);
    if (answer != DRAWABLE_NOT_TAKEN) {
        if (kind == widget::kLeftUp) {
            accepted = 0;
            finished = 1;
        }
        return answer;
    }
    answer = m_ok->HandleEvent(event);
    if (answer != DRAWABLE_NOT_TAKEN) {
        if (kind == widget::kLeftUp) {
            const int64_t data = m_list->GetSelectedData();
            if (data == kParentRow)
                GoUp(false);
            else if (data >= 0 && data < kFileRow)
                EnterSelectedFolder();
            else
                Accept();
        }
        return answer;
    }
    answer = m_list->HandleEvent(event);
    if (answer != DRAWABLE_NOT_TAKEN) {
        const int64_t data = m_list->GetSelectedData();
        if (kind == widget::kLeftUp && data >= kFileRow && data < kParentRow) {
            TakeSelectedFile();
        } else if (kind == widget::kDoubleClick) {
            if (data >= kFileRow && data < kParentRow) {
                TakeSelectedFile();
                pickedFromList = 1;
                Accept();
            } else if (data == kParentRow) {
                GoUp(false);
            } else if (data >= 0) {
                EnterSelectedFolder();
            }
        }
        return answer;
    }
    answer = m_name->HandleEvent(event);
    if (m_name->submitted) {
        m_name->submitted = 0;
        pickedFromList = 0;
        Accept();
        return answer != DRAWABLE_NOT_TAKEN ? answer : DRAWABLE_TAKEN;
    }
    return answer;
}

void CFileBrowser::Draw(int32_t param) {
    const SpritePoint p = m_window ? m_window->GetPosition() : SpritePoint{};
    if (g_screen) {
        g_screen->DimRect({p.x + 32, p.y + 58, p.x + 292, p.y + 334});
        g_screen->penColour = RgbToPixel(255, 179, 0);
        g_screen->DrawLine(p.x + 32, p.y + 58, p.x + 292, p.y + 58);
        g_screen->DrawLine(p.x + 32, p.y + 334, p.x + 292, p.y + 334);
        g_screen->DrawLine(p.x + 32, p.y + 354, p.x + 292, p.y + 354);
        g_screen->DrawLine(p.x + 32, p.y + 58, p.x + 32, p.y + 354);
        g_screen->DrawLine(p.x + 292, p.y + 58, p.x + 292, p.y + 354);
        if (CFont* font = BrowserFont())
            font->DrawTextCentredShadowed(m_title, p.x + (m_window ? m_window->GetWidth() : 0) / 2,
                                          p.y + 28, g_screen.get(), 0xFFFF);
    }
    m_cancel->Draw(param);
    m_ok->Draw(param);
    m_list->Draw(param);
    m_name->Draw(param);
}

#include "tests/ui/ScreenHarness.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "engine/DirectSound.h"
#include "engine/Display.h"
#include "engine/Font.h"
#include "engine/GameTimer.h"
#include "engine/Image.h"
#include "engine/Palette.h"
#include "engine/TextDatabase.h"
#include "net/ClockEvents.h"
#include "net/EventTypes.h"
#include "net/InputEvent.h"
#include "net/Scheduler.h"
#include "ui/TextButtonImages.h"

namespace uitest {

namespace {

namespace fs = std::filesystem;

constexpr int32_t kScreenWidth = 800;
constexpr int32_t kScreenHeight = 600;

struct FontFile {
    const char* name;
    int32_t height;
};
constexpr FontFile kFonts[] = {
    {"gfx\\fonts\\garamond14.bmp", 14},     {"gfx\\fonts\\garamond14bold.bmp", 14},
    {"gfx\\fonts\\garamond18bold.bmp", 18}, {"gfx\\fonts\\garamond20bold.bmp", 20},
    {"gfx\\fonts\\garamond24bold.bmp", 24}, {"gfx\\fonts\\arial10.bmp", 10},
};

ScreenHarness* g_current = nullptr;

// The sound player of the harness: plays nothing, records every id.
class RecordingSound : public CDirectSound {
public:
    void PlaySound(uint32_t id, uint32_t /*loop*/, int32_t /*volume*/, int32_t /*pan*/) override {
        ScreenHarness::RecordSound(id);
    }
};

RecordedMessage Record(const COVEvent& event) {
    RecordedMessage message;
    message.type = event.GetType();
    const COVEventData& payload = event.Payload();
    message.bytes.assign(payload.Bytes(), payload.Bytes() + payload.Size());
    return message;
}

std::array<uint8_t, 3> Rgb(uint16_t pixel) {
    const PixelChannels c = SplitPixel(pixel, kPixelFormat565);
    return {static_cast<uint8_t>(c.r * 255 / 31), static_cast<uint8_t>(c.g * 255 / 63),
            static_cast<uint8_t>(c.b * 255 / 31)};
}

} // namespace

ScreenHarness::ScreenHarness() : m_folder(test::DemoWorldDir()), m_previousFormat(g_pixelFormat) {
    g_current = this;
    // The null display back-end: the game's 800 x 600 mode without a
    // window, so that the screen, the front picture and the cursor are the
    // program's own.
    g_displayConfig = {};
    g_displayConfig.backend = platform::DisplayBackend::Null;
    g_appActive = 1;
    g_windowed = 0;
    CGraphicsBase::InitDisplay(false);
    if (!g_directDrawReady || !SetDisplayMode(kScreenWidth, kScreenHeight, 16, false) ||
        g_pixelFormat != kPixelFormat565) {
        ADD_FAILURE() << "the null display gave no RGB565 screen";
        SetPixelFormat(kPixelFormat565);
        RebuildPalettePixels();
        g_screen = std::make_unique<CImage>(kScreenWidth, kScreenHeight, 16, kImageMemory);
    }
    g_gameTimer = std::make_unique<CGameTimer>(15);
    g_inputState = {};
    g_mousePos = {};
    g_scheduler.Clear();
    g_scheduler.RunInput();
    setenv("ORVANDEL_AUDIO", "record", 0);
    m_sound = std::make_unique<RecordingSound>();
    g_sound = m_sound.get();
    if (!g_textDatabase.GetText("OK") || !g_fonts.Find(kFonts[0].name))
        g_textDatabase.Load(0);
    for (const FontFile& file : kFonts)
        if (!g_fonts.Find(file.name)) {
            auto font = std::make_unique<CFont>();
            if (font->LoadFont(file.name, file.height, nullptr))
                font.release(); // owned by g_fonts
        }
    LoadTextButtonImages();
}

ScreenHarness::~ScreenHarness() {
    FreeTextButtonImages();
    g_sound = nullptr;
    m_sound.reset();
    g_scheduler.Clear();
    g_scheduler.RunInput();
    g_inputState = {};
    g_mousePos = {};
    g_gameTimer.reset();
    ShutdownGraphics();
    g_screen.reset();
    g_appActive = 0;
    g_displayConfig = platform::DisplayConfigFromEnvironment();
    SetPixelFormat(m_previousFormat);
    RebuildPalettePixels();
    g_current = nullptr;
}

void ScreenHarness::RecordSound(uint32_t id) {
    if (g_current)
        g_current->m_sounds.push_back(id);
}

CFont* ScreenHarness::Font(const char* name) {
    return g_fonts.Find(name);
}

int ScreenHarness::Deliver(COVEvent& event) {
    return m_target ? m_target(event) : 0;
}

int ScreenHarness::Send(COVEvent& event) {
    return Deliver(event);
}

void ScreenHarness::PointAt(int32_t x, int32_t y) {
    g_mousePos = {x, y};
    g_inputState.lastRaw = {x, y};
}

int ScreenHarness::Move(int32_t x, int32_t y) {
    PointAt(x, y);
    CInputEvent event(EVT_MOUSEMOVE, g_broadcastId, 0, 0, x, y);
    return Deliver(event);
}

int ScreenHarness::Press(int32_t x, int32_t y) {
    PointAt(x, y);
    g_inputState.leftHeld = 1;
    CInputEvent event(EVT_MOUSELBDOWN, g_broadcastId, 0, 1, x, y);
    return Deliver(event);
}

int ScreenHarness::Release(int32_t x, int32_t y) {
    PointAt(x, y);
    g_inputState.leftHeld = 0;
    CInputEvent event(EVT_MOUSELBUP, g_broadcastId, 0, 0, x, y);
    return Deliver(event);
}

int ScreenHarness::Held(int32_t x, int32_t y) {
    PointAt(x, y);
    g_inputState.leftHeld = 1;
    CInputEvent event(EVT_MOUSELBHELD, g_broadcastId, 0, 1, x, y);
    return Deliver(event);
}

int ScreenHarness::DoubleClick(int32_t x, int32_t y) {
    PointAt(x, y);
    g_inputState.leftHeld = 1;
    CInputEvent event(EVT_MOUSELBDOUBLECLICK, g_broadcastId, 0, 1, x, y);
    return Deliver(event);
}

int ScreenHarness::Click(int32_t x, int32_t y) {
    Press(x, y);
    return Release(x, y);
}

int ScreenHarness::Wheel(int32_t notches, int32_t x, int32_t y) {
    PointAt(x, y);
    CInputEvent event(EVT_UNNAMED_12, g_broadcastId, 0, static_cast<uint32_t>(notches), x, y);
    return Deliver(event);
}

int ScreenHarness::Type(uint32_t character) {
    CInputEvent event(EVT_KEYUP, g_broadcastId, character, 1, 0, 0);
    event.SetKeyKind(CInputEvent::kTypedCharacter);
    return Deliver(event);
}

int ScreenHarness::TypeText(const std::string& text) {
    int answer = 0;
    for (char c : text)
        answer = Type(static_cast<unsigned char>(c));
    return answer;
}

int ScreenHarness::Key(uint32_t code) {
    CInputEvent event(EVT_KEYUP, g_broadcastId, code, 1, 0, 0);
    event.SetKeyKind(CInputEvent::kMappedKey);
    return Deliver(event);
}

int ScreenHarness::Frame() {
    COVSimpleEvent event(EVT_TIMER_TICK_LOOP, g_broadcastId);
    return Deliver(event);
}

int ScreenHarness::AnimationTick(uint32_t interrupts) {
    COVTickAnimationsEvent event(interrupts);
    return Deliver(event);
}

void ScreenHarness::Step(uint32_t interrupts) {
    g_gameTimer->interrupts += interrupts;
}

uint32_t ScreenHarness::Now() const {
    return g_gameTimer->interrupts.load();
}

std::vector<RecordedMessage> ScreenHarness::Posted() const {
    std::vector<RecordedMessage> out;
    g_scheduler.ForEachEvent([&out](COVEvent* event) { out.push_back(Record(*event)); });
    return out;
}

std::vector<RecordedMessage> ScreenHarness::Sent() const {
    std::vector<RecordedMessage> out;
    g_scheduler.ForEachSend([&out](const COVEvent& event) { out.push_back(Record(event)); });
    return out;
}

namespace {

std::map<std::string, std::pair<uintmax_t, fs::file_time_type>> ListFiles(const fs::path& folder) {
    std::map<std::string, std::pair<uintmax_t, fs::file_time_type>> files;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error))
        if (it->is_regular_file(error))
            files[fs::relative(it->path(), folder).generic_string()] = {it->file_size(error),
                                                                        it->last_write_time(error)};
    return files;
}

} // namespace

void ScreenHarness::WatchFolder(const fs::path& folder) {
    m_watched = folder;
    m_files = ListFiles(folder);
}

std::vector<std::string> ScreenHarness::FilesWritten() const {
    std::vector<std::string> written;
    if (m_watched.empty())
        return written;
    for (const auto& [name, state] : ListFiles(m_watched)) {
        auto before = m_files.find(name);
        if (before == m_files.end() || before->second != state)
            written.push_back(name);
    }
    return written;
}

int32_t ScreenHarness::Cursor() const {
    return g_currentCursor;
}

void ScreenHarness::Fill(uint16_t pixel) {
    g_screen->Fill(pixel);
}

uint16_t ScreenHarness::PixelAt(int32_t x, int32_t y) const {
    return LoadPixel(g_screen->pixels + static_cast<size_t>(y) * g_screen->pitch + x * 2);
}

test::Picture ScreenHarness::Crop(int32_t left, int32_t top, int32_t right, int32_t bottom) const {
    left = std::clamp(left, 0, kScreenWidth);
    right = std::clamp(right, left, kScreenWidth);
    top = std::clamp(top, 0, kScreenHeight);
    bottom = std::clamp(bottom, top, kScreenHeight);
    test::Picture picture;
    picture.width = right - left;
    picture.height = bottom - top;
    picture.rgb.reserve(static_cast<size_t>(picture.width) * picture.height * 3);
    for (int32_t y = top; y < bottom; ++y)
        for (int32_t x = left; x < right; ++x)
            for (uint8_t channel : Rgb(PixelAt(x, y)))
                picture.rgb.push_back(channel);
    return picture;
}

void ScreenHarness::CheckGolden(const std::string& name, int32_t left, int32_t top, int32_t right,
                                int32_t bottom) const {
    const std::string failure = test::CompareWithGolden(Crop(left, top, right, bottom),
                                                        ORV_UI_GOLDEN_DIR, ORV_UI_OUTPUT_DIR, name);
    if (!failure.empty())
        ADD_FAILURE() << failure;
}

} // namespace uitest

#pragma once
// The harness of the screen tests: the game's 800 x 600 RGB565 screen on
// the null display back-end (no window), the generated demo world as the game folder (fonts, texts
// and the text-button pictures loaded from it), synthetic input events handed to a target in order,
// the frame tick and the interrupt counter stepped by hand, and records of the sounds played, the
// messages posted or sent and the cursor set and the files written.
//
// Pictures: CheckGolden compares a crop of the screen pixel for pixel with
// tests/ui/golden/<name>.bmp. On a mismatch the actual picture, the expected
// one and a difference (red where they differ) are written as
// <name>.actual.bmp, <name>.expected.bmp and <name>.diff.bmp into
// golden-diff/ beside the test log. ORV_UPDATE_GOLDENS=1 writes the goldens
// anew from what is drawn (review the pictures before checking them in).
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/Pixel.h"
#include "tests/Picture.h"
#include "tests/TestSupport.h"

class COVEvent;
class CFont;
class CDirectSound;

namespace uitest {

// A message as it was posted or queued for sending: its type and its
// payload bytes.
struct RecordedMessage {
    uint32_t type = 0;
    std::vector<uint8_t> bytes;
};

class ScreenHarness {
public:
    ScreenHarness();
    ~ScreenHarness();
    ScreenHarness(const ScreenHarness&) = delete;
    ScreenHarness& operator=(const ScreenHarness&) = delete;

    // The receiver of the events: anything with HandleEvent (COVEvent&).
    template <class Widget> void SetTarget(Widget& widget) {
        m_target = [&widget](COVEvent& event) { return widget.HandleEvent(event); };
    }
    void SetTarget(std::function<int(COVEvent&)> target) { m_target = std::move(target); }

    // Input, each handed to the target at once; the answer is the target's.
    // The mouse state that widgets read directly follows as the window
    // procedure keeps it: the pointer moves to the event's point, Press
    // holds the left button and Release lets it go.
    int Move(int32_t x, int32_t y);
    int Press(int32_t x, int32_t y);
    int Release(int32_t x, int32_t y);
    int Held(int32_t x, int32_t y);
    int DoubleClick(int32_t x, int32_t y);
    // Press then Release at the point; the answer of the release.
    int Click(int32_t x, int32_t y);
    // notches: positive away from the player.
    int Wheel(int32_t notches, int32_t x, int32_t y);
    // A typed character / one of the game's mapped key codes.
    int Type(uint32_t character);
    int TypeText(const std::string& text);
    int Key(uint32_t code);
    // One game frame: the frame tick ("_COVEVT_TIMER_TICK_LOOP_").
    int Frame();
    // The animation tick with its count of interrupts.
    int AnimationTick(uint32_t interrupts = 1);
    // Any event.
    int Send(COVEvent& event);

    // The interrupt counter of the game timer (15 ms a count).
    void Step(uint32_t interrupts);
    uint32_t Now() const;
    // Places the pointer without an event.
    void PointAt(int32_t x, int32_t y);

    // Records.
    std::vector<uint32_t> Sounds() const { return m_sounds; }
    void ClearSounds() { m_sounds.clear(); }
    std::vector<RecordedMessage> Posted() const;
    std::vector<RecordedMessage> Sent() const;
    int32_t Cursor() const;
    // Files written: WatchFolder notes the files under the folder (a test's
    // own temporary folder; the demo world is shared and not to be written);
    // FilesWritten answers the ones made or changed since, as paths
    // relative to it with "/" between the parts, sorted.
    void WatchFolder(const std::filesystem::path& folder);
    std::vector<std::string> FilesWritten() const;

    // The screen.
    void Fill(uint16_t pixel);
    uint16_t PixelAt(int32_t x, int32_t y) const;
    test::Picture Crop(int32_t left, int32_t top, int32_t right, int32_t bottom) const;
    // Compares the crop with the golden picture; a failure names the
    // pixels that differ and where the pictures were written.
    void CheckGolden(const std::string& name, int32_t left, int32_t top, int32_t right,
                     int32_t bottom) const;

    // A loaded font of the game ("gfx\fonts\garamond14.bmp" ...).
    static CFont* Font(const char* name);

    // The sound player's record (filled by the harness's player).
    static void RecordSound(uint32_t id);

private:
    int Deliver(COVEvent& event);

    std::function<int(COVEvent&)> m_target;
    test::InFolder m_folder;
    int32_t m_previousFormat;
    std::vector<uint32_t> m_sounds;
    std::unique_ptr<CDirectSound> m_sound;
    std::filesystem::path m_watched;
    std::map<std::string, std::pair<uintmax_t, std::filesystem::file_time_type>> m_files;
};

} // namespace uitest

#pragma once
// The program's shell: start-up, the main loop with its two kinds of frame
// (front end and running game), the window procedure that turns window
// messages into input events, the message pump and the shutdown.
#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/EventPump.h"

class CDate;
class CImage;
class CPalette;
class CMoviePlayer;

// The program: starts everything, runs the main loop until the quit
// message and answers the quit message's code (0), or 0 when start-up
// failed. The command line is not read.
int GameMain();

// Installs the window procedure and the message pump and shows the window
// (the display makes the window itself when its mode is set). Answers 1.
int CreateMainWindow();

// Tears down what start-up built, in order; each object only when it
// exists. Safe to call more than once.
void Shutdown();

// The main loop: runs passes until a pass has taken the quit message.
void RunMainLoop();

// One frame of the running game and of the front end.
void RunGameFrame();
void RunFrontEndFrame();

// --- the end of a game ---
// The country played by the human at this machine (controller 1), -1 when
// none is.
int32_t LocalPlayerCountry();
// The movie of the game's end: "avi\good.avi" when the running game's
// winner is the local player's country, else "avi\bad.avi" (no winner,
// -1, included). The game frame plays it once the scenario names a winner
// (any value but 0), then deletes the running game.
std::string GameEndMovie();
// --- end of the end of a game ---

// The window procedure: one window message. Answers 0.
int MainWindowProc(const platform::WindowMessage& message);

// The pump of engine/MessagePump.h: takes one waiting window message and
// hands it to the window procedure. A close or an activation taken here is
// kept for the main loop (an open movie is closed at once), so that nothing
// is torn down or rebuilt under code that is still reading. Answers 0 when none was waiting or it
// was the close.
int ShellPumpOneMessage();

// "%s %d, %d": the month's name (its text key, month modulo 12), the day
// as shown to the player plus 1, and the year.
std::string FormatDate(const CDate& date);

// The sound effect of each slot, 0 to 62, under "sfx\wave\".
constexpr size_t kSoundSlotCount = 63;
extern const std::array<const char*, kSoundSlotCount> g_soundEffectFiles;

// The shell's state, all of the main thread.
struct ShellState {
    uint8_t quitting = 0;     // set once Shutdown ran from the window procedure
    uint8_t quitPosted = 0;   // the quit message waits for the main loop
    int32_t quitCode = 0;     // its code
    uint8_t closePending = 0; // a close taken by the pump, kept for the main loop
    int32_t activatePending =
        -1;                     // an activation (0 or 1) taken by the pump, kept for the main loop
    uint8_t inGameFrame = 0;    // RunGameFrame's guard
    uint8_t gameStarted = 0;    // the main loop's: a game frame has run since the front end
    uint32_t lastPingTicks = 0; // timer ticks at the last ping
    uint32_t pass = 0;          // main loop passes so far
    uint8_t inMainLoop = 0;
};
extern ShellState g_shell;

// Objects of the shell that live from start-up to shutdown.
extern std::mutex* g_netLogMutex;
extern CPalette* g_arrowPalette;
extern CPalette* g_statusBarPalette;
extern CPalette* g_blobPalette;
// The picture shown while a network game waits for its players; null when
// none.
extern CImage* g_waitingPicture;

// Writes what the display shows (or g_screen when the display keeps no
// picture) as a 24-bit BMP file at a host path. False when there is no
// picture or the file cannot be written.
bool WriteShownPicture(const std::string& path);
// Each of the files, a trace line for each that fails.
void WriteShownPictures(const std::vector<std::string>& files);

// Reaches a checkpoint of the headless script (platform/ScriptedInput.h):
// its events are posted, its screenshots written.
void ReachCheckpoint(const std::string& name);

// The main loop and the two kinds of frame.
#include <memory>
#include <string>

#include "country/Country.h"
#include "dialogs/Console.h"
#include "dialogs/GameFrame.h"
#include "dialogs/frame/PlayerLagDialog.h"
#include "engine/Display.h"
#include "engine/DisplayList.h"
#include "engine/Font.h"
#include "engine/GameTimer.h"
#include "engine/MoviePlayer.h"
#include "engine/TextDatabase.h"
#include "frontend/FrontEnd.h"
#include "frontend/shell/Shell.h"
#include "net/ClockEvents.h"
#include "net/EventTypes.h"
#include "net/InputEvent.h"
#include "net/Posting.h"
#include "net/Scheduler.h"
#include "net/Session.h"
#include "net/SessionHolder.h"
#include "platform/ScriptedInput.h"
#include "platform/System.h"
#include "platform/VirtualClock.h"
#include "ui/MainScreen.h"
#include "world/Scenario.h"

namespace {

// "_COVEVT_PING_": the head and the local player's number, for the host's
// game server.
class CPingEvent : public COVEvent {
public:
    explicit CPingEvent(uint32_t player)
        : COVEvent(COVTimerDateEvent::kSize, EVT_PING, g_timerDateId) {
        Payload().Set(COVTimerDateEvent::kCount, player);
    }
};

uint32_t TimerTicks() {
    return g_gameTimer ? g_gameTimer->gameTicks.load() : 0;
}

bool IsNetworkGame() {
    return g_netSession && g_netSession->IsActive();
}

// A ping to the other machines after more than 100 ticks since the last
// one; a tick count that went back (a new timer) restarts from 0.
void PingWhenDue() {
    const uint32_t now = TimerTicks();
    if (now < g_shell.lastPingTicks)
        g_shell.lastPingTicks = 0;
    if (now - g_shell.lastPingTicks <= 100)
        return;
    SendEventOnly(std::make_unique<CPingEvent>(static_cast<uint32_t>(g_netSession->m_localSlot)));
    g_shell.lastPingTicks = now;
}

// While no game has started in a network game outside the front end, the
// waiting picture is drawn and kept; otherwise it goes.
void KeepOrDropWaitingPicture() {
    if (g_waitingPicture && CScenario::IsMultiplayerGame() && !IsInFrontEnd()) {
        g_waitingPicture->DrawWhole(0, 0, g_screen.get());
        return;
    }
    delete g_waitingPicture;
    g_waitingPicture = nullptr;
}

// The game is over: its movie on the intro's display mode, the game's
// display mode again, the running game deleted and the waiting picture
// kept or dropped. (The victory or defeat screen is not shown yet.)
void EndTheGame() {
    const std::string movie = GameEndMovie();
    platform::Trace("game end " + movie);
    if (SetDisplayMode(640, 480, 16, false) && g_screen) {
        for (int i = 0; i < 2; ++i) {
            g_screen->Fill(0);
            PresentScreen();
        }
    }
    if (g_moviePlayer)
        g_moviePlayer->PlayMovie(movie, true);
    SetDisplayMode(800, 600, 16, false);
    InitDisplayMode();
    g_scenario.reset();
    KeepOrDropWaitingPicture();
}

// The first pass after the front end handed over: the waiting picture, then
// the chosen game.
void StartChosenGame() {
    delete g_waitingPicture;
    g_waitingPicture = new CImage("gfx\\town.bmp", kPlaceMemory, false);
    if (g_screen) {
        g_waitingPicture->DrawWhole(0, 0, g_screen.get());
        PresentScreen();
        PresentScreen();
    }
    g_waitingPicture->TintRect({100, 100, 700, 500}, 0.5f, 0.5f, 0.5f);
    if (CFont* font = g_fonts.Get("gfx\\fonts\\garamond24bold.bmp"))
        font->DrawTextCentredShadowed(g_textDatabase.GetText("WAITING_FOR_PLAYERS"), 400, 300,
                                      g_waitingPicture, 0xFFFF);
    g_scenario.reset();
    const std::string file = (g_frontEnd ? g_frontEnd->chosenFile : std::string()) + ".ovg";
    g_scenario = std::make_unique<CScenario>(file, g_gameSeed);
    g_scenario->gameEnded = 0;
}

// The headless driver's script may make the choice of the set-up screens:
// the file, the player's country and the game type; the front end then
// hands over to the game.
void TakeScriptChoice(uint32_t pass) {
    platform::PlayChoice choice;
    if (!g_frontEnd || !platform::ScriptPlayChoice(pass, choice))
        return;
    g_frontEnd->chosenFile = choice.file;
    g_countryController.fill(0);
    g_countryController[static_cast<size_t>(choice.country)] = 1;
    g_gameType = choice.gameType;
    g_inFrontEnd = 0;
}

void TakeScriptScreenshots(uint32_t pass) {
    WriteShownPictures(platform::ScriptFrame(pass));
    TakeScriptChoice(pass);
}

} // namespace

int32_t LocalPlayerCountry() {
    for (size_t number = 0; number < g_countryController.size(); ++number)
        if (g_countryController[number] == 1)
            return static_cast<int32_t>(number);
    return -1;
}

std::string GameEndMovie() {
    const bool won = g_scenario && g_scenario->winner != 0 &&
                     static_cast<int32_t>(g_scenario->winner) == LocalPlayerCountry();
    return won ? "avi\\good.avi" : "avi\\bad.avi";
}

void RunMainLoop() {
    g_shell.inMainLoop = 1;
    bool ending = false;
    while (!ending) {
        const uint32_t pass = g_shell.pass++;
        if (pass > 0)
            platform::AdvanceVirtualClock(platform::VirtualFrameMilliseconds());
        TakeScriptScreenshots(pass);

        // 1. The waiting messages; a close kept by the pump comes first.
        if (g_shell.closePending) {
            g_shell.closePending = 0;
            MainWindowProc({platform::MessageType::Quit, 0, 0, 0, 0, 0});
        }
        if (g_shell.activatePending >= 0 && !g_shell.quitPosted) {
            const auto code = static_cast<uint32_t>(g_shell.activatePending);
            g_shell.activatePending = -1;
            MainWindowProc({platform::MessageType::ActivateApp, code, 0, 0, 0, 0});
        }
        platform::WindowMessage message;
        while (!g_shell.quitPosted && platform::PollWindowMessage(message))
            MainWindowProc(message);
        if (g_shell.quitPosted)
            ending = true;

        // 2. The network, without waiting.
        if (g_netSessionHolder && g_netSession)
            g_netSession->Poll();

        // 3. One frame.
        if (!g_appActive || g_shell.quitting) {
            // Nothing to draw: wait a little rather than spin (the virtual
            // clock moves by passes and needs no wait).
            if (!ending && !platform::VirtualClockOn())
                platform::SleepMilliseconds(10);
            continue;
        }
        if (g_moviePlayer && g_moviePlayer->IsOpen())
            g_moviePlayer->open = g_moviePlayer->UpdateFrame() ? 1 : 0;
        if (IsInFrontEnd()) {
            if (!g_waitingPicture)
                RunFrontEndFrame();
            g_shell.gameStarted = 0;
        } else if (!g_shell.gameStarted) {
            StartChosenGame();
            RunGameFrame();
            g_shell.gameStarted = 1;
        } else {
            RunGameFrame();
        }
    }
    g_shell.inMainLoop = 0;
}

void RunGameFrame() {
    if (g_shell.inGameFrame)
        return;
    g_shell.inGameFrame = 1;

    if (g_gameTimer)
        g_gameTimer->Update();
    if (g_netSessionHolder)
        UpdateNetStartup();
    PollMouse();
    g_scheduler.RunInput();

    // Due messages for at most three ticks of the clock.
    const uint32_t frameTicks = TimerTicks();
    while (g_scheduler.RunOne() && TimerTicks() - frameTicks < 3) {
    }
    if (g_netSessionHolder)
        UpdateNetStartup();

    if (g_mainScreen && g_mainScreen->shadingNeeded)
        g_mainScreen->UpdateProvinceShading();
    if (!IsInFrontEnd() && g_scenario && g_scenario->gameStarted) {
        if (g_displayList)
            g_displayList->DrawAll();
        if (g_gameFrame)
            g_gameFrame->DrawPopups();
        if (g_console)
            g_console->Draw(0);
    }
    if (g_scenario && g_scenario->winner != 0) {
        EndTheGame();
    } else if (g_scenario && g_scenario->gameStarted) {
        delete g_waitingPicture;
        g_waitingPicture = nullptr;
    } else {
        KeepOrDropWaitingPicture();
    }
    PresentScreen();

    if (IsNetworkGame() && !(g_frontEnd && g_frontEnd->HasScreen())) {
        PingWhenDue();
        // From the tick count that this frame's clock update noted.
        const uint32_t noted = g_gameTimer ? g_gameTimer->ticksNoted : frameTicks;
        if (g_netSession->AddWaitTime(noted, TimerTicks())) {
            if (!g_playerLagDialog) {
                g_playerLagDialog = new CPlayerLagDialog;
                g_playerLagDialog->Build();
            }
            g_playerLagDialog->SetVisible(true);
        } else if (g_playerLagDialog) {
            // The lag is over: the hidden dialog is freed with its pointer.
            g_playerLagDialog->SetVisible(false);
            delete g_playerLagDialog;
            g_playerLagDialog = nullptr;
        }
    }
    g_scheduler.FlushSend();
    RunTickLoop();
    if (g_scenario)
        g_scenario->ProcessRequests();

    g_shell.inGameFrame = 0;
}

void RunFrontEndFrame() {
    PollMouse();
    g_scheduler.RunInput();
    RunTickLoop();
    if (g_gameTimer)
        g_gameTimer->Update();
    g_scheduler.RunDue();
    if (g_frontEnd)
        g_frontEnd->Update(0);
    if (g_displayList)
        g_displayList->DrawAll();
    PresentScreen();
    if (IsNetworkGame() && g_frontEnd && g_frontEnd->HasScreen() &&
        (g_frontEnd->GetScreenState() == 5 || g_frontEnd->GetScreenState() == 6)) {
        const uint32_t before = g_shell.lastPingTicks;
        PingWhenDue();
        if (g_shell.lastPingTicks != before)
            g_netSession->AddWaitTime(before, g_shell.lastPingTicks);
    }
    g_scheduler.FlushSend();
}

// Start-up and shutdown of the program.
#include <cstdlib>
#include <memory>
#include <string>

#include "country/CountryMarks.h"
#include "country/StartupTables.h"
#include "data/Keywords.h"
#include "dialogs/Console.h"
#include "dialogs/GameFrame.h"
#include "dialogs/events/HistoricalEvents.h"
#include "dialogs/frame/PlayerLagDialog.h"
#include "dialogs/messages/MessageLog.h"
#include "dialogs/missions/MissionTable.h"
#include "engine/CDAudio.h"
#include "engine/Config.h"
#include "engine/CriticalError.h"
#include "engine/DirectSound.h"
#include "engine/Display.h"
#include "engine/DisplayList.h"
#include "engine/Draw.h"
#include "engine/File.h"
#include "engine/Font.h"
#include "engine/GameTimer.h"
#include "engine/MessagePump.h"
#include "engine/MoviePlayer.h"
#include "engine/Palette.h"
#include "engine/Sprite.h"
#include "engine/TextDatabase.h"
#include "engine/Trig.h"
#include "frontend/FrontEnd.h"
#include "frontend/screens/FrontEndShadows.h"
#include "frontend/shell/Shell.h"
#include "frontend/widgets/LoadingScreen.h"
#include "military/StartupTables.h"
#include "military/server/GameServer.h"
#include "net/InputEvent.h"
#include "net/SessionHolder.h"
#include "platform/Audio.h"
#include "platform/ScriptedInput.h"
#include "platform/System.h"
#include "ui/DirtySpans.h"
#include "ui/Pointer.h"
#include "ui/TextButtonImages.h"
#include "ui/WindowFrame.h"
#include "ui/widgets/TimedDrawable.h"
#include "world/DataChecksum.h"
#include "world/Globals.h"
#include "world/Map.h"
#include "world/Scenario.h"
#include "world/map/MapSprite.h"

ShellState g_shell;
std::mutex* g_netLogMutex = nullptr;
CPalette* g_arrowPalette = nullptr;
CPalette* g_statusBarPalette = nullptr;
CPalette* g_blobPalette = nullptr;
CImage* g_waitingPicture = nullptr;

const std::array<const char*, kSoundSlotCount> g_soundEffectFiles = {
    "if_click.wav",
    "if_close.wav",
    "if_dragover.wav",
    "if_blip.wav",
    "if_blip.wav",
    "if_click.wav",
    "if_click.wav",
    "if_move_art.wav",
    "if_move_navy.wav",
    "if_assault.wav",
    "if_build_structure.wav",
    "if_build_navy.wav",
    "if_done_army.wav",
    "if_done_navy.wav",
    "if_disband_army.wav",
    "if_disband_navy.wav",
    "land_cheer.wav",
    "land_death.wav",
    "sea_cheer.wav",
    "sea_death.wav",
    "land_cannon1.wav",
    "land_cannon2.wav",
    "land_cannon3.wav",
    "if_done_army.wav",
    "if_done_army.wav",
    "land_cannon2.wav",
    "sea_cannon2.wav",
    "land_sword1.wav",
    "land_sword2.wav",
    "land_sword3.wav",
    "land_musket1.wav",
    "land_musket2.wav",
    "land_musket3.wav",
    "land_cannon1.wav",
    "land_cannon2.wav",
    "land_cannon3.wav",
    "sea_cannon1.wav",
    "sea_cannon2.wav",
    "sea_cannon3.wav",
    "if_tb_merchant.wav",
    "if_revolt2.wav",
    "if_event.wav",
    "if_random1.wav",
    "if_random2.wav",
    "if_war.wav",
    "if_booh.wav",
    "if_random1.wav",
    "if_random2.wav",
    "if_event.wav",
    "if_booh.wav",
    "sea_init.wav",
    "if_explore.wav",
    "if_eyr_init.wav",
    "if_tb_colonist.wav",
    "if_tb_diplomat.wav",
    "if_tb_trade.wav",
    "if_nope.wav",
    "if_done_structure.wav",
    "if_GIM_failure.wav",
    "if_done_structure.wav",
    "if_done_structure.wav",
    "if_GIM_success.wav",
    "if_GIM_failure.wav",
};

namespace {

struct FontEntry {
    const char* file;
    int32_t size;
    bool coin; // "$" is drawn as the coin picture
};

constexpr FontEntry kFonts[] = {
    {"gfx\\fonts\\garamond14.bmp", 14, true},      {"gfx\\fonts\\garamond14bold.bmp", 14, true},
    {"gfx\\fonts\\garamond24bold.bmp", 24, false}, {"gfx\\fonts\\arial10.bmp", 10, false},
    {"gfx\\fonts\\garamond20bold.bmp", 20, true},  {"gfx\\fonts\\garamond18bold.bmp", 18, false},
    {"gfx\\fonts\\arial8.bmp", 8, false},
};

// The movie player was made here; the audio device was opened here.
bool g_audioOpened = false;

template <typename T> void FreeObject(T*& object) {
    delete object;
    object = nullptr;
}

// Empties a file by opening it for writing.
void EmptyFile(const char* name) {
    CFile file(name, "wb");
}

void ClearScreenTwice() {
    if (!g_screen)
        return;
    for (int i = 0; i < 2; ++i) {
        g_screen->Fill(0);
        PresentScreen();
    }
}

// Plays an intro movie in its own loop. The checkpoint is reached once the
// movie's first picture is on the screen, or, when the movie does not play,
// where it would have begun.
void PlayIntroMovie(const char* file, const char* checkpoint) {
    bool reached = false;
    g_moviePlayer->firstFrameShown = [&reached, checkpoint] {
        reached = true;
        ReachCheckpoint(checkpoint);
    };
    g_moviePlayer->PlayMovie(file, true);
    g_moviePlayer->firstFrameShown = nullptr;
    if (!reached)
        ReachCheckpoint(checkpoint);
}

// The whole picture at (0, 0) of the screen, presented twice.
void ShowPicture(CImageBase& picture) {
    picture.DrawWhole(0, 0, g_screen.get());
    PresentScreen();
    PresentScreen();
}

void LoadFonts() {
    g_fonts.RemoveAll();
    int loadedCount = 0;
    for (const FontEntry& entry : kFonts) {
        auto font = std::make_unique<CFont>();
        // On success the dictionary owns the font.
        if (!font->LoadFont(entry.file, entry.size, nullptr))
            continue;
        CFont* loaded = font.release();
        ++loadedCount;
        if (entry.coin)
            loaded->SetPictureGlyph("gfx\\fonts\\additional\\coin.bmp", '$');
    }
    platform::Trace("fonts loaded " + std::to_string(loadedCount));
}

void LoadSoundEffects() {
    int loadedCount = 0;
    for (size_t slot = 0; slot < kSoundSlotCount; ++slot)
        if (g_sound->LoadSound(static_cast<uint32_t>(slot),
                               std::string("sfx\\wave\\") + g_soundEffectFiles[slot], 1))
            ++loadedCount;
    platform::Trace("sounds loaded " + std::to_string(loadedCount));
    if (g_config)
        g_sound->SetMasterVolume(g_config->GetWord(ConfigOffset::kSoundVolume));
}

void ShowStage(CLoadingScreen& loading, int32_t progress, const char* key) {
    loading.progress = progress;
    loading.SetCaption(g_textDatabase.GetText(key));
    loading.Render(0);
    ReachCheckpoint(key);
}

void RunLoadingStages() {
    CLoadingScreen loading(300);
    loading.Draw();

    ShowStage(loading, 22, "INIT_SOUND");
    g_audioConfig = new CAudioConfig;
    g_sound = new CDirectSound;
    LoadSoundEffects();
    CreateMusicState();
    g_netSessionHolder = new CNetSessionHolder(0);
    LoadDiplomaticMatrix();

    ShowStage(loading, 44, "INIT_INTERFACE");
    g_arrowPalette = GetPalette("arrows.act");
    g_statusBarPalette = GetPalette("statusbar.act");
    g_blobPalette = GetPalette("blob.bmp");
    GetPalette("cred_backgroundpic_palette.bmp");
    LoadTextButtonImages();
    LoadStabilityTable();
    InitStatusBarColours();
    ResetCountryMarks();
    CreateDirtySpans();
    g_map = new CMap;
    LoadBuildingCosts();
    g_windowFrame16 = new CWindowFrame(16);
    g_windowFrame8 = new CWindowFrame(8);
    g_displayList = new CDisplayList;
    CreateTimedDrawableList();
    g_gameFrame = new CGameFrame;
    SetCurrentCursor(LoadCursorImage("gfx\\interface\\cursor_select.bmp"));
    CreatePointer();
    if (!StartGameTimer(15))
        CriticalError("Fatal error: Could not initialize timer! ");
    ReachCheckpoint("timer");

    ShowStage(loading, 66, "INIT_GAMEMAP_SPRITES");
    if (g_map->Load() != 1)
        CriticalError("Map init failed");

    ShowStage(loading, 95, "INIT_GLOBALS");
    g_globals.Init();

    g_frontEnd = new CFrontEnd;
    g_frontEnd->SetState(0);
}

} // namespace

void WriteShownPictures(const std::vector<std::string>& files) {
    for (const std::string& file : files)
        if (!WriteShownPicture(file))
            platform::Trace("screenshot " + file + " failed");
}

void ReachCheckpoint(const std::string& name) {
    WriteShownPictures(platform::ScriptCheckpoint(name));
}

int CreateMainWindow() {
    SetMessagePump(ShellPumpOneMessage);
    // The window becomes active as it is shown.
    MainWindowProc({platform::MessageType::ActivateApp, 1, 0, 0, 0, 0});
    return 1;
}

void Shutdown() {
    // Files closed while tearing down must not hand window messages on.
    g_shell.quitting = 1;
    SetMessagePump(nullptr);
    StopGameTimer();
    if (g_config)
        g_config->Save();
    g_config.reset();
    g_scenario.reset();

    FreeObject(g_cdAudio);
    DeleteMusicState();
    DeletePointer();
    FreeObject(g_audioConfig);
    if (g_moviePlayer)
        g_moviePlayer->Close();
    FreeObject(g_moviePlayer);

    FreeObject(g_messageLogWindow);
    FreeTextButtonImages();
    FreeObject(g_sound);
    FreeObject(g_console);

    FreeMapData();
    FreeObject(g_map);
    FreeObject(g_gameFrame);
    FreeObject(g_windowFrame16);
    FreeObject(g_windowFrame8);

    FreeHistoricalMonarchEvents();
    FreeMissionTable();
    FreeFrontEndShadows();
    FreeDirtySpans();
    DeleteTimedDrawableList();
    FreeObject(g_displayList);
    g_globals.Shutdown();
    FreeObject(g_playerLagDialog);
    FreeObject(g_waitingPicture);
    FreeObject(g_frontEnd);
    g_inFrontEnd = 0;

    ShutdownGraphics();
    g_graphics.reset();
    g_inputState = InputState{};
    if (g_audioOpened) {
        platform::audio::CloseAudio();
        g_audioOpened = false;
    }

    if (g_netSessionHolder)
        g_netSessionHolder->Destroy();
    FreeObject(g_netSessionHolder);
    FreeCombatTables();

    // The pictures the sprites share: every holder above has released its
    // own; the map sprites' definitions, made with the first map sprite,
    // release theirs now. The cache then deletes whatever is left in it, so
    // nothing holds a cached picture beyond this point.
    FreeSpriteDefinitions();
    platform::Trace("image cache " + std::to_string(g_imageCache.GetCount()) + " pictures, " +
                    std::to_string(g_spriteCount) + " sprites");
    g_imageCache.Clear();
    g_netLogMutex = nullptr;
    platform::Trace("shutdown done");
}

int GameMain() {
    ReachCheckpoint("start");
    LoadMissionTable();
    ComputeDataChecksum();

    g_netLogMutex = &platform::NamedMutex("Netlog Mutex");
    EmptyFile("log.txt");
    EmptyFile("debug.txt");
    EmptyFile("netlog.txt");

    g_config = std::make_unique<CConfig>();
    g_config->Load();
    platform::Trace("settings loaded");
    LoadTerrainTypes();
    InitTrigTables();
    BuildShadeTables();

    g_shell = ShellState{};
    g_windowed = 0;
    if (!CreateMainWindow())
        return 0;

    g_graphics = std::make_unique<CGraphicsBase>();
    CGraphicsBase::InitDisplay(false);
    g_audioOpened = platform::audio::OpenDefaultAudio();
    g_moviePlayer = new CMoviePlayer;
    g_inputState = InputState{};

    if (!SetDisplayMode(640, 480, 16, false)) {
        CriticalError("Fatal error: Could not initialize Video for Fmv!\n");
        Shutdown();
        return 0;
    }

    auto logo = std::make_unique<CImage>("gfx\\blacklogonov.bmp", kPlaceMemory, false);
    ShowPicture(*logo);
    ReachCheckpoint("logo");
    ReachCheckpoint("textdb");

    if (!g_textDatabase.Load(0)) {
        // Ends at once, without a word and without the shutdown.
        platform::Trace("no text database");
        logo.reset();
        std::exit(0);
    }

    platform::Trace("text database loaded");
    LoadHistoricalMonarchEvents();
    BuildKeywordIndex();
    LoadRandomLeaderNames();
    LoadUnitNames();
    LoadColonyNames();
    LoadCombatTables();

    ClearScreenTwice();
    PlayIntroMovie("avi\\stellmar.avi", "movie1");
    ClearScreenTwice();
    // A window closed during the first movie plays no second one.
    if (!g_shell.closePending)
        PlayIntroMovie("avi\\ovintro.avi", "movie2");
    else
        ReachCheckpoint("movie2");

    g_cdAudio = new CCDAudio;
    g_cdAudio->PlayTrack(2);

    if (!SetDisplayMode(800, 600, 16, false)) {
        CriticalError("Fatal error: Could not initialize Video!\n");
        Shutdown();
        return 0;
    }
    g_screen->Fill(0);
    ReachCheckpoint("fonts");
    LoadFonts();

    {
        CImage town("gfx\\town.bmp", kPlaceMemory, false);
        ShowPicture(town);
    }
    ReachCheckpoint("town");

    g_gameServer = new CGameServer;
    RunLoadingStages();

    RunMainLoop();

    g_fonts.RemoveAll();
    logo.reset();
    return g_shell.quitCode;
}

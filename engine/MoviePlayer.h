#pragma once
// Movies (the logo, the intro, the victory and defeat movies): decoded by
// the platform's movie decoder, their frames shown at the pace of the
// movie's frame rate and their sound played through a stream of the mixer.
//
// A movie either plays to its end in a loop of its own (PlayMovie with
// ownLoop: each frame is drawn onto the screen, scaled to fit it and
// centred, and presented), or is opened and stepped once per pass of the
// main loop (UpdateFrame while IsOpen: each frame goes into frameImage, of
// the movie's size, which the caller draws at destRect). Main thread only.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/Image.h"
#include "platform/Audio.h"

namespace platform {
class MovieDecoder;
}

// The sound a movie keeps queued ahead of what the device has played.
constexpr size_t kMovieSoundLeadFrames = 4 * platform::audio::kDeviceBufferFrames;

class CMoviePlayer {
public:
    CMoviePlayer();
    ~CMoviePlayer();
    CMoviePlayer(const CMoviePlayer&) = delete;
    CMoviePlayer& operator=(const CMoviePlayer&) = delete;

    // Opens the movie (a movie still open is closed first) and starts it.
    // False, and nothing started, when the file is missing or cannot be
    // decoded. With ownLoop the movie runs in RunLoop and this returns when
    // it has ended or was closed; otherwise it returns at once.
    bool PlayMovie(const std::string& file, bool ownLoop);
    // False when no movie is open. Shows the next frame once it is due
    // (onto the screen, or into frameImage) and answers true while the movie
    // runs; at the end of the stream or on an error the movie is closed and
    // the answer is false.
    bool UpdateFrame();
    // While a movie is open: one waiting window message is pumped (which may
    // close the movie), then open = UpdateFrame.
    void RunLoop();
    // Stops the movie and its sound and frees the frame; safe at any time,
    // also from the window procedure while RunLoop runs.
    void Close();
    bool IsOpen() const { return open != 0; }

    uint8_t open = 0;
    std::unique_ptr<platform::MovieDecoder> decoder;
    Rect sourceRect;                    // {0, 0, movie width, movie height}
    Rect destRect;                      // where the frame goes on the screen
    std::unique_ptr<CImage> frameImage; // the last frame of a stepped movie (16-bit, kind 6)
    uint8_t blitToScreen = 0;           // set for a movie in its own loop
    uint32_t soundStream = 0;           // the mixer stream; 0: none
    // Called once a movie's first picture is shown (presented, or in
    // frameImage); the caller sets and clears it around PlayMovie.
    std::function<void()> firstFrameShown;

private:
    // Hands the decoded sound to the mixer, decoding on ahead of the
    // pictures while the stream holds less than kMovieSoundLeadFrames; what
    // does not fit waits (at most platform::kMovieMaxPendingAudioFrames).
    void FeedSound();
    void ShowFrame();

    uint32_t m_startTime = 0;     // platform::Milliseconds when the movie started
    bool m_framePending = false;  // a decoded frame waits for its time
    bool m_ending = false;        // no frame follows: the last one stays for its time
    bool m_firstShown = false;    // the movie's first picture has been shown
    int64_t m_lastFrameMs = 0;    // the time of the frame shown last
    std::vector<int16_t> m_sound; // decoded and not yet taken by the mixer
};

extern CMoviePlayer* g_moviePlayer;

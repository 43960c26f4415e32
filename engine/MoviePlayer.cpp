#include "engine/MoviePlayer.h"

#include <algorithm>
#include <cstring>

#include "engine/Display.h"
#include "engine/ImageAccess.h"
#include "engine/MessagePump.h"
#include "platform/Audio.h"
#include "platform/MovieDecoder.h"
#include "platform/System.h"

CMoviePlayer* g_moviePlayer = nullptr;

namespace {

// The longest a movie in its own loop sleeps at a time while it waits for
// its next frame, so that window messages are still taken meanwhile.
constexpr uint32_t kMaxWaitMs = 10;

// Copies w x h pixels to (x, y) of a 16-bit image, cut at its edges.
void CopyPixels(const CImageBase& dest, int32_t x, int32_t y, const std::vector<uint16_t>& pixels,
                int32_t w, int32_t h) {
    if (dest.bytesPerPixel != 2 || pixels.size() < static_cast<size_t>(w) * h)
        return;
    CPixelAccess access(dest);
    if (access.view.pixels == nullptr)
        return;
    const int32_t left = std::max(x, 0);
    const int32_t right = std::min(x + w, access.view.width);
    const int32_t top = std::max(y, 0);
    const int32_t bottom = std::min(y + h, access.view.height);
    if (left >= right)
        return;
    for (int32_t row = top; row < bottom; ++row) {
        const uint16_t* from = pixels.data() + static_cast<size_t>(row - y) * w + (left - x);
        std::memcpy(access.Row(row) + left * 2, from, static_cast<size_t>(right - left) * 2);
    }
}

// Centres a rectangle of the size on the screen (on (0, 0) without one).
Rect CentredOnScreen(int32_t w, int32_t h) {
    const int32_t left = g_screen ? (g_screen->width - w) / 2 : 0;
    const int32_t top = g_screen ? (g_screen->height - h) / 2 : 0;
    return {left, top, left + w, top + h};
}

} // namespace

CMoviePlayer::CMoviePlayer() = default;

CMoviePlayer::~CMoviePlayer() {
    Close();
}

bool CMoviePlayer::PlayMovie(const std::string& file, bool ownLoop) {
    Close();
    if (g_pixelFormat != kPixelFormat565 && g_pixelFormat != kPixelFormat555)
        return false;
    auto movie = std::make_unique<platform::MovieDecoder>();
    const auto format = g_pixelFormat == kPixelFormat565 ? platform::MoviePixelFormat::Rgb565
                                                         : platform::MoviePixelFormat::Rgb555;
    if (!movie->Open(file, format))
        return false;
    const int32_t width = movie->Width();
    const int32_t height = movie->Height();

    std::unique_ptr<CImage> image;
    Rect dest = CentredOnScreen(width, height);
    if (ownLoop && g_screen && g_screen->width > 0 && g_screen->height > 0) {
        // As large as the screen allows, the movie's shape kept.
        int32_t w = g_screen->width;
        int32_t h = static_cast<int32_t>(static_cast<int64_t>(height) * w / width);
        if (h > g_screen->height) {
            h = g_screen->height;
            w = static_cast<int32_t>(static_cast<int64_t>(width) * h / height);
        }
        if (movie->SetOutputSize(std::max(w, 1), std::max(h, 1)))
            dest = CentredOnScreen(movie->OutputWidth(), movie->OutputHeight());
    } else if (!ownLoop) {
        image = std::make_unique<CImage>(width, height, 16, kImageLockedSurface);
        if (image->surface == nullptr)
            return false;
    }
    // A movie whose first frame cannot be decoded is not started.
    if (!movie->NextFrame())
        return false;

    decoder = std::move(movie);
    frameImage = std::move(image);
    sourceRect = {0, 0, width, height};
    destRect = dest;
    blitToScreen = ownLoop ? 1 : 0;
    if (ownLoop && g_screen && g_screen->bytesPerPixel == 2)
        g_screen->Fill(0); // black around the picture
    if (decoder->HasAudio())
        soundStream =
            platform::audio::OpenStream(platform::kMovieAudioRate, platform::kMovieAudioChannels);
    m_framePending = true;
    m_ending = false;
    m_firstShown = false;
    m_startTime = platform::Milliseconds();
    open = 1;
    FeedSound();
    if (ownLoop)
        RunLoop();
    return true;
}

bool CMoviePlayer::UpdateFrame() {
    if (!open)
        return false;
    FeedSound();
    if (!m_framePending && !m_ending) {
        if (decoder->NextFrame()) {
            m_framePending = true;
            FeedSound();
        } else {
            // The last frame stays for its own time before the movie ends.
            m_ending = true;
        }
    }
    const int64_t frameMs = static_cast<int64_t>(1000.0 / decoder->FrameRate());
    const int64_t due = m_ending ? m_lastFrameMs + frameMs : decoder->FrameTimeMs();
    const int64_t elapsed = static_cast<uint32_t>(platform::Milliseconds() - m_startTime);
    if (elapsed < due) {
        if (blitToScreen)
            platform::SleepMilliseconds(
                static_cast<uint32_t>(std::min<int64_t>(due - elapsed, kMaxWaitMs)));
        return true;
    }
    if (m_ending) {
        Close();
        return false;
    }
    ShowFrame();
    m_lastFrameMs = decoder->FrameTimeMs();
    m_framePending = false;
    if (!m_firstShown) {
        m_firstShown = true;
        if (firstFrameShown)
            firstFrameShown(); // may close the movie
        return open != 0;
    }
    return true;
}

void CMoviePlayer::RunLoop() {
    while (open) {
        PumpOneMessage();
        if (!open)
            break; // closed by the window procedure
        open = UpdateFrame() ? 1 : 0;
    }
}

void CMoviePlayer::Close() {
    open = 0;
    if (soundStream != 0) {
        platform::audio::CloseStream(soundStream);
        soundStream = 0;
    }
    decoder.reset();
    frameImage.reset();
    blitToScreen = 0;
    m_framePending = false;
    m_ending = false;
    m_sound.clear();
}

void CMoviePlayer::FeedSound() {
    decoder->TakeAudio(m_sound);
    if (soundStream == 0) {
        m_sound.clear();
        return;
    }
    auto queue = [&] {
        const size_t frames = m_sound.size() / platform::kMovieAudioChannels;
        if (frames == 0)
            return;
        const size_t taken = platform::audio::QueueStream(soundStream, m_sound.data(), frames);
        m_sound.erase(m_sound.begin(),
                      m_sound.begin() + static_cast<ptrdiff_t>(std::min(taken, frames) *
                                                               platform::kMovieAudioChannels));
    };
    queue();
    // The sound runs a few device buffers ahead of the pictures: short of
    // that, it is decoded on ahead of them (the pictures met on the way wait
    // in the decoder), so that the device never finds the stream short just
    // before a new picture brings the next piece of sound.
    while (m_sound.empty() &&
           platform::audio::StreamQueuedFrames(soundStream) < kMovieSoundLeadFrames) {
        const bool more = decoder->DecodeMoreAudio();
        decoder->TakeAudio(m_sound);
        queue();
        if (!more)
            break;
    }
    // What the stream refuses waits, up to a limit: sound far ahead of the
    // pictures is dropped.
    constexpr size_t kMaxSamples =
        platform::kMovieMaxPendingAudioFrames * platform::kMovieAudioChannels;
    if (m_sound.size() > kMaxSamples)
        m_sound.resize(kMaxSamples);
}

void CMoviePlayer::ShowFrame() {
    const std::vector<uint16_t>& pixels = decoder->Pixels();
    const int32_t w = decoder->OutputWidth();
    const int32_t h = decoder->OutputHeight();
    if (blitToScreen) {
        if (!g_screen)
            return;
        CopyPixels(*g_screen, destRect.left, destRect.top, pixels, w, h);
        PresentScreen();
    } else if (frameImage) {
        CopyPixels(*frameImage, 0, 0, pixels, w, h);
    }
}

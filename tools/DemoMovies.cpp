// The demo world's movies, drawn and scored here: small uncompressed AVI
// files (160 x 120, 24-bit frames, 22050 Hz mono sound).
//   avi\stellmar.avi  the logo: a golden star unfolds on deep blue, a chime;
//   avi\ovintro.avi   the intro: the sun rises over the sea as a ship sails
//                     by, to the sound of the waves;
//   avi\good.avi      victory: a banner is raised before turning golden
//                     rays, a rising fanfare;
//   avi\bad.avi       defeat: the banner sinks under a darkening red sky,
//                     falling tones and a drum.
#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/AviWriter.h"
#include "tools/DemoWorld.h"
#include "tools/Maths.h"

namespace {

using demo::Rgb;

constexpr int32_t kWidth = 160;
constexpr int32_t kHeight = 120;
constexpr uint32_t kSampleRate = 22050;
constexpr double kPi = 3.14159265358979323846;

struct Point {
    double x;
    double y;
};

// One frame being drawn.
struct Frame {
    Frame() : pixels(static_cast<size_t>(kWidth) * kHeight) {}

    void Blend(int32_t x, int32_t y, Rgb colour, double coverage) {
        if (x < 0 || y < 0 || x >= kWidth || y >= kHeight || coverage <= 0.0)
            return;
        coverage = std::min(coverage, 1.0);
        Rgb& p = pixels[static_cast<size_t>(y) * kWidth + x];
        auto mix = [coverage](uint8_t a, uint8_t b) {
            return static_cast<uint8_t>(std::lround(a + (b - a) * coverage));
        };
        p = {mix(p.r, colour.r), mix(p.g, colour.g), mix(p.b, colour.b)};
    }
    void Set(int32_t x, int32_t y, Rgb colour) { Blend(x, y, colour, 1.0); }

    void FillRect(double left, double top, double right, double bottom, Rgb colour) {
        for (int32_t y = std::max(0, static_cast<int32_t>(top));
             y < std::min<double>(kHeight, bottom); ++y)
            for (int32_t x = std::max(0, static_cast<int32_t>(left));
                 x < std::min<double>(kWidth, right); ++x)
                Set(x, y, colour);
    }
    // A disc with a soft one-pixel edge.
    void FillCircle(double cx, double cy, double radius, Rgb colour) {
        for (int32_t y = 0; y < kHeight; ++y)
            for (int32_t x = 0; x < kWidth; ++x) {
                double d = demo::maths::Hypot(x + 0.5 - cx, y + 0.5 - cy);
                Blend(x, y, colour, radius + 0.5 - d);
            }
    }
    // A polygon by the even-odd rule, sampled at pixel centres.
    void FillPolygon(const std::vector<Point>& points, Rgb colour, double coverage = 1.0) {
        for (int32_t y = 0; y < kHeight; ++y)
            for (int32_t x = 0; x < kWidth; ++x) {
                const double px = x + 0.5;
                const double py = y + 0.5;
                bool inside = false;
                for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
                    const Point& a = points[i];
                    const Point& b = points[j];
                    if ((a.y > py) != (b.y > py) &&
                        px < (b.x - a.x) * (py - a.y) / (b.y - a.y) + a.x)
                        inside = !inside;
                }
                if (inside)
                    Blend(x, y, colour, coverage);
            }
    }
    // A vertical gradient from the top colour to the bottom colour.
    void Gradient(int32_t top, int32_t bottom, Rgb from, Rgb to) {
        for (int32_t y = std::max(top, 0); y < std::min(bottom, kHeight); ++y) {
            const double t =
                bottom - top > 1 ? static_cast<double>(y - top) / (bottom - top - 1) : 0.0;
            for (int32_t x = 0; x < kWidth; ++x)
                Set(x, y, from);
            for (int32_t x = 0; x < kWidth; ++x)
                Blend(x, y, to, t);
        }
    }

    std::vector<Rgb> pixels;
};

Rgb Mix(Rgb a, Rgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto channel = [t](uint8_t x, uint8_t y) {
        return static_cast<uint8_t>(std::lround(x + (y - x) * t));
    };
    return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

// A star of `points` tips around (cx, cy), turned by the angle.
std::vector<Point> Star(double cx, double cy, double outer, double inner, int points,
                        double angle) {
    std::vector<Point> star;
    for (int i = 0; i < points * 2; ++i) {
        const double r = i % 2 == 0 ? outer : inner;
        const double a = angle + kPi * i / points - kPi / 2;
        star.push_back({cx + r * demo::maths::Cos(a), cy + r * demo::maths::Sin(a)});
    }
    return star;
}

// A banner hanging from the pole at (x, top), rippling with the phase.
void DrawBanner(Frame& frame, double x, double top, double phase, Rgb field, Rgb stripe,
                double tatter) {
    const double length = 44;
    const double depth = 28;
    for (int32_t i = 0; i < static_cast<int32_t>(length); ++i) {
        const double wave = demo::maths::Sin(phase + i * 0.25) * (i / length) * 3.0;
        // A torn banner loses cloth at its free end.
        const double torn =
            tatter * (i / length) * (0.5 + 0.5 * demo::maths::Sin(i * 1.7)) * depth * 0.6;
        for (int32_t j = 0; j < static_cast<int32_t>(depth - torn); ++j) {
            const bool inStripe = j >= depth / 2 - 4 && j < depth / 2 + 4;
            const double shade = 0.85 + 0.15 * demo::maths::Cos(phase + i * 0.25);
            Rgb c = inStripe ? stripe : field;
            c = {static_cast<uint8_t>(c.r * shade), static_cast<uint8_t>(c.g * shade),
                 static_cast<uint8_t>(c.b * shade)};
            frame.Set(static_cast<int32_t>(x + 2 + i), static_cast<int32_t>(top + j + wave), c);
        }
    }
}

void DrawPole(Frame& frame, double x, double top, double bottom) {
    frame.FillRect(x - 1, top, x + 2, bottom, {90, 70, 50});
    frame.FillCircle(x + 0.5, top, 2.5, {230, 200, 90});
}

// Sound --------------------------------------------------------------------

struct Score {
    explicit Score(double seconds) : mix(static_cast<size_t>(seconds * kSampleRate), 0.0) {}

    // A tone with partials 1, 2, 3 at falling strength, a short attack and
    // an exponential decay; brassy adds high odd partials for a brassy sound.
    void Tone(double start, double length, double hertz, double volume, double decay,
              bool brassy = false) {
        const size_t first = static_cast<size_t>(start * kSampleRate);
        const size_t count = static_cast<size_t>(length * kSampleRate);
        for (size_t i = 0; i < count && first + i < mix.size(); ++i) {
            const double t = static_cast<double>(i) / kSampleRate;
            const double envelope = std::min(t / 0.01, 1.0) * demo::maths::Exp(-t * decay) *
                                    std::min((length - t) / 0.02, 1.0);
            double v = demo::maths::Sin(2 * kPi * hertz * t) +
                       0.4 * demo::maths::Sin(4 * kPi * hertz * t) +
                       0.2 * demo::maths::Sin(6 * kPi * hertz * t);
            if (brassy)
                v += 0.3 * demo::maths::Sin(10 * kPi * hertz * t) +
                     0.15 * demo::maths::Sin(14 * kPi * hertz * t);
            mix[first + i] += volume * envelope * v;
        }
    }
    // A drum: falling pitch and a burst of noise.
    void Drum(double start, double volume) {
        const size_t first = static_cast<size_t>(start * kSampleRate);
        uint32_t noise = 12345;
        for (size_t i = 0; i < kSampleRate / 3 && first + i < mix.size(); ++i) {
            const double t = static_cast<double>(i) / kSampleRate;
            noise = noise * 1664525u + 1013904223u;
            const double hiss = static_cast<double>(noise >> 8) / (1u << 24) - 0.5;
            const double boom =
                demo::maths::Sin(2 * kPi * (60 + 80 * demo::maths::Exp(-t * 20)) * t);
            mix[first + i] +=
                volume * demo::maths::Exp(-t * 9) * (boom + 0.5 * hiss * demo::maths::Exp(-t * 30));
        }
    }
    // The sea: noise smoothed into a rumble that swells and ebbs.
    void Waves(double volume) {
        uint32_t noise = 777;
        double low = 0.0;
        for (size_t i = 0; i < mix.size(); ++i) {
            const double t = static_cast<double>(i) / kSampleRate;
            noise = noise * 1664525u + 1013904223u;
            const double white = static_cast<double>(noise >> 8) / (1u << 24) - 0.5;
            low += (white - low) * 0.05;
            const double swell =
                0.35 + 0.65 * demo::maths::Sin(kPi * t / 1.5) * demo::maths::Sin(kPi * t / 1.5);
            mix[i] += volume * swell * low * 4.0;
        }
    }

    std::vector<int16_t> Samples() const {
        std::vector<int16_t> out(mix.size());
        const double fadeSamples = 0.05 * kSampleRate;
        for (size_t i = 0; i < mix.size(); ++i) {
            const double fade = std::min(1.0, static_cast<double>(mix.size() - i) / fadeSamples);
            out[i] =
                static_cast<int16_t>(std::lround(std::clamp(mix[i] * fade, -1.0, 1.0) * 30000));
        }
        return out;
    }

    std::vector<double> mix;
};

// Movies -------------------------------------------------------------------

demo::AviMovie NewMovie(uint32_t fps, int32_t frames, const Score& score) {
    demo::AviMovie movie;
    movie.width = kWidth;
    movie.height = kHeight;
    movie.framesPerSecond = fps;
    movie.frames.reserve(static_cast<size_t>(frames));
    movie.sampleRate = kSampleRate;
    movie.channels = 1;
    movie.samples = score.Samples();
    return movie;
}

bool WriteMovie(const std::filesystem::path& path, const demo::AviMovie& movie) {
    return demo::WriteFile(path, demo::MakeAvi(movie));
}

bool WriteLogoMovie(const std::filesystem::path& game) {
    constexpr uint32_t kFps = 12;
    constexpr int32_t kFrames = 24;
    Score score(kFrames / static_cast<double>(kFps));
    score.Tone(0.25, 1.7, 523.25, 0.35, 2.5);
    score.Tone(0.25, 1.7, 1046.5, 0.12, 3.5);
    score.Tone(0.55, 1.4, 783.99, 0.25, 3.0);
    demo::AviMovie movie = NewMovie(kFps, kFrames, score);
    for (int32_t f = 0; f < kFrames; ++f) {
        const double t = static_cast<double>(f) / (kFrames - 1);
        Frame frame;
        frame.Gradient(0, kHeight, {8, 12, 40}, {20, 30, 80});
        const double grow = std::min(t * 1.6, 1.0);
        const double angle = (1.0 - grow) * kPi;
        if (grow > 0.0) {
            frame.FillCircle(80, 56, 42 * grow, Mix({20, 30, 80}, {200, 160, 60}, 0.25 * grow));
            frame.FillCircle(80, 56, 38 * grow, {14, 22, 64});
            frame.FillPolygon(Star(80, 56, 34 * grow, 13 * grow, 8, angle), {235, 190, 70});
            frame.FillPolygon(Star(80, 56, 18 * grow, 7 * grow, 8, angle + kPi / 8),
                              {255, 235, 150});
        }
        // A line under the star that draws itself from the middle outward.
        const double half = 50 * std::clamp((t - 0.5) * 2.5, 0.0, 1.0);
        frame.FillRect(80 - half, 104, 80 + half, 106, {235, 190, 70});
        movie.frames.push_back(frame.pixels);
    }
    return WriteMovie(game / "avi" / "stellmar.avi", movie);
}

bool WriteIntroMovie(const std::filesystem::path& game) {
    constexpr uint32_t kFps = 10;
    constexpr int32_t kFrames = 30;
    constexpr int32_t kHorizon = 72;
    Score score(kFrames / static_cast<double>(kFps));
    score.Waves(0.5);
    score.Tone(0.0, 3.0, 110.0, 0.10, 0.4);
    score.Tone(1.0, 2.0, 164.81, 0.08, 0.6);
    demo::AviMovie movie = NewMovie(kFps, kFrames, score);
    for (int32_t f = 0; f < kFrames; ++f) {
        const double t = static_cast<double>(f) / (kFrames - 1);
        Frame frame;
        // Night gives way to dawn.
        frame.Gradient(0, kHorizon, Mix({10, 14, 50}, {70, 110, 190}, t),
                       Mix({60, 40, 80}, {250, 170, 90}, t));
        // The sun climbs out of the sea; the sea hides its lower part.
        const double sunY = kHorizon + 14 - 40 * t;
        frame.FillCircle(100, sunY, 18, Mix({240, 120, 40}, {255, 225, 120}, t));
        for (int32_t y = kHorizon; y < kHeight; ++y) {
            const double depth = static_cast<double>(y - kHorizon) / (kHeight - kHorizon);
            const Rgb sea = Mix(Mix({10, 20, 60}, {30, 70, 120}, t), {5, 15, 40}, depth);
            for (int32_t x = 0; x < kWidth; ++x) {
                const double wave = demo::maths::Sin(x * 0.15 + y * 0.9 - f * 0.6) *
                                    demo::maths::Sin(x * 0.05 + f * 0.2);
                frame.Set(x, y, Mix(sea, {255, 200, 120}, wave > 0.75 ? 0.5 * t : 0.0));
            }
        }
        // The sun's path on the water.
        for (int32_t y = kHorizon; y < kHeight; y += 2) {
            const double spread = 4 + (y - kHorizon) * 0.4;
            const double shift = demo::maths::Sin(y * 1.3 + f * 0.8) * 3;
            frame.FillRect(100 - spread + shift, y, 100 + spread + shift, y + 1,
                           Mix({80, 60, 60}, {255, 210, 130}, t));
        }
        // A ship crosses from the left.
        const double shipX = -30 + 110 * t;
        const double bob = demo::maths::Sin(f * 0.7) * 1.0;
        frame.FillPolygon({{shipX, 66 + bob},
                           {shipX + 34, 66 + bob},
                           {shipX + 28, 73 + bob},
                           {shipX + 5, 73 + bob}},
                          {30, 20, 20});
        frame.FillRect(shipX + 16, 36 + bob, shipX + 18, 66 + bob, {30, 20, 20});
        frame.FillPolygon({{shipX + 18, 38 + bob}, {shipX + 31, 60 + bob}, {shipX + 18, 62 + bob}},
                          {235, 225, 205});
        frame.FillPolygon({{shipX + 16, 40 + bob}, {shipX + 4, 61 + bob}, {shipX + 16, 62 + bob}},
                          {220, 210, 190});
        movie.frames.push_back(frame.pixels);
    }
    return WriteMovie(game / "avi" / "ovintro.avi", movie);
}

bool WriteVictoryMovie(const std::filesystem::path& game) {
    constexpr uint32_t kFps = 12;
    constexpr int32_t kFrames = 30;
    Score score(kFrames / static_cast<double>(kFps));
    const double notes[] = {261.63, 329.63, 392.0, 523.25};
    for (int i = 0; i < 4; ++i)
        score.Tone(0.1 + i * 0.3, i == 3 ? 1.4 : 0.35, notes[i], 0.25, i == 3 ? 1.2 : 3.0, true);
    score.Tone(1.0, 1.4, 261.63, 0.12, 1.2, true);
    demo::AviMovie movie = NewMovie(kFps, kFrames, score);
    for (int32_t f = 0; f < kFrames; ++f) {
        const double t = static_cast<double>(f) / (kFrames - 1);
        Frame frame;
        frame.Gradient(0, kHeight, {30, 60, 140}, {120, 170, 230});
        // Golden rays turning slowly about the top of the pole.
        for (int ray = 0; ray < 12; ++ray) {
            const double a = ray * kPi / 6 + f * 0.04;
            frame.FillPolygon(
                {{60, 30},
                 {60 + 200 * demo::maths::Cos(a - 0.1), 30 + 200 * demo::maths::Sin(a - 0.1)},
                 {60 + 200 * demo::maths::Cos(a + 0.1), 30 + 200 * demo::maths::Sin(a + 0.1)}},
                {255, 220, 100}, 0.35 * std::min(t * 2, 1.0));
        }
        frame.FillRect(0, 104, kWidth, kHeight, {50, 110, 40});
        DrawPole(frame, 60, 24, 105);
        const double raise = std::min(t * 1.5, 1.0);
        DrawBanner(frame, 60, 76 - 50 * raise, f * 0.5, {30, 70, 170}, {240, 200, 60}, 0.0);
        movie.frames.push_back(frame.pixels);
    }
    return WriteMovie(game / "avi" / "good.avi", movie);
}

bool WriteDefeatMovie(const std::filesystem::path& game) {
    constexpr uint32_t kFps = 10;
    constexpr int32_t kFrames = 25;
    Score score(kFrames / static_cast<double>(kFps));
    const double notes[] = {440.0, 349.23, 293.66, 220.0};
    for (int i = 0; i < 4; ++i)
        score.Tone(0.1 + i * 0.5, i == 3 ? 0.9 : 0.55, notes[i], 0.22, 1.5);
    score.Drum(0.1, 0.4);
    score.Drum(1.6, 0.5);
    demo::AviMovie movie = NewMovie(kFps, kFrames, score);
    for (int32_t f = 0; f < kFrames; ++f) {
        const double t = static_cast<double>(f) / (kFrames - 1);
        Frame frame;
        frame.Gradient(0, kHeight, Mix({120, 40, 30}, {30, 10, 15}, t),
                       Mix({200, 90, 40}, {60, 20, 20}, t));
        // Smoke drifting across.
        for (int puff = 0; puff < 5; ++puff) {
            const double x = std::fmod(puff * 41.0 + f * 1.5, kWidth + 40) - 20;
            frame.FillCircle(x, 30 + puff * 9, 12 + puff % 3 * 3,
                             Mix({70, 60, 60}, {25, 20, 20}, t));
        }
        frame.FillRect(0, 104, kWidth, kHeight, Mix({60, 50, 30}, {25, 20, 15}, t));
        DrawPole(frame, 100, 24, 105);
        DrawBanner(frame, 100, 26 + 50 * t, f * 0.3, Mix({30, 70, 170}, {40, 40, 60}, t),
                   {200, 170, 60}, t);
        movie.frames.push_back(frame.pixels);
    }
    return WriteMovie(game / "avi" / "bad.avi", movie);
}

const demo::DemoWriter kLogoMovieWriter("avi/stellmar.avi", &WriteLogoMovie);
const demo::DemoWriter kIntroMovieWriter("avi/ovintro.avi", &WriteIntroMovie);
const demo::DemoWriter kVictoryMovieWriter("avi/good.avi", &WriteVictoryMovie);
const demo::DemoWriter kDefeatMovieWriter("avi/bad.avi", &WriteDefeatMovie);

} // namespace

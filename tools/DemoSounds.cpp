// The demo world's sound effects: every file of the start-up's sound table
// under sfx\wave\, each synthesised here from a few notes (tones with a
// pitch glide and a decay, mixed with filtered noise): clicks and blips for
// the interface, noise bursts for cannons and muskets, ringing partials for
// swords, chords for cheers. 22050 Hz, mono, 16-bit, well under a second.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/DemoWorld.h"
#include "tools/Maths.h"
#include "tools/WavWriter.h"

namespace {

constexpr uint32_t kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

enum Wave { kSine, kSquare, kTriangle };

// One sounding part of an effect. Times in seconds.
struct Note {
    double start;
    double length;
    double frequency; // at the start
    double glideTo;   // at the end (0: no glide)
    double amplitude; // 0..1
    double noise;     // 0..1: share of filtered noise
    double decay;     // envelope decay per second (0: flat with soft edges)
    Wave wave = kSine;
};

struct Effect {
    const char* file;
    double length;
    std::vector<Note> notes;
};

// A fixed noise sequence.
struct Noise {
    uint32_t state = 0x1234567u;
    double Next() {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / static_cast<double>(1u << 23) - 1.0;
    }
};

double Oscillator(Wave wave, double phase) {
    switch (wave) {
    case kSquare:
        return phase < 0.5 ? 0.6 : -0.6;
    case kTriangle:
        return phase < 0.5 ? 4 * phase - 1 : 3 - 4 * phase;
    default:
        return demo::maths::Sin(2 * kPi * phase);
    }
}

std::vector<double> Render(const Effect& effect) {
    std::vector<double> out(static_cast<size_t>(effect.length * kRate), 0.0);
    Noise noise;
    for (const Note& note : effect.notes) {
        const size_t first = static_cast<size_t>(note.start * kRate);
        const size_t count = static_cast<size_t>(note.length * kRate);
        double phase = 0;
        double filtered = 0;
        // Lower notes get darker noise.
        const double smoothing = std::clamp(note.frequency / 4000.0, 0.02, 0.9);
        for (size_t i = 0; i < count && first + i < out.size(); ++i) {
            const double t = static_cast<double>(i) / kRate;
            const double along = static_cast<double>(i) / static_cast<double>(count);
            const double frequency =
                note.glideTo > 0
                    ? note.frequency * demo::maths::Pow(note.glideTo / note.frequency, along)
                    : note.frequency;
            phase += frequency / kRate;
            phase -= std::floor(phase);
            filtered += smoothing * (noise.Next() - filtered);
            double envelope = note.decay > 0 ? demo::maths::Exp(-note.decay * t) : 1.0;
            envelope *=
                std::min({1.0, t * 400.0, (note.length - t) * 200.0}); // no clicks at the edges
            const double sample =
                (1 - note.noise) * Oscillator(note.wave, phase) + note.noise * filtered * 2.5;
            out[first + i] += note.amplitude * envelope * sample;
        }
    }
    // Every effect peaks at the same level.
    double peak = 0;
    for (double s : out)
        peak = std::max(peak, std::abs(s));
    if (peak > 0)
        for (double& s : out)
            s *= 0.8 / peak;
    return out;
}

std::string Wav(const std::vector<double>& samples) {
    std::vector<int16_t> pcm(samples.size());
    for (size_t i = 0; i < samples.size(); ++i)
        pcm[i] = static_cast<int16_t>(std::lround(std::clamp(samples[i], -1.0, 1.0) * 32000));
    return demo::MakeWav(kRate, 1, 16, pcm);
}

// Short building blocks.
Note Tone(double start, double length, double hz, double amplitude = 0.5, double decay = 8,
          Wave wave = kSine) {
    return Note{start, length, hz, 0, amplitude, 0, decay, wave};
}
Note Glide(double start, double length, double from, double to, double amplitude = 0.5,
           Wave wave = kSine) {
    return Note{start, length, from, to, amplitude, 0, 4, wave};
}
Note Burst(double start, double length, double darkness, double amplitude, double decay) {
    return Note{start, length, darkness, 0, amplitude, 1, decay, kSine};
}
// A boom: noise with a falling low tone under it.
std::vector<Note> Cannon(double length, double pitch, double darkness) {
    return {Burst(0, length, darkness, 0.9, 9),
            Note{0, length, pitch, pitch * 0.5, 0.6, 0, 7, kSine}, Burst(0, 0.03, 3000, 0.5, 60)};
}
std::vector<Note> Musket(double pitch) {
    return {Burst(0, 0.25, 3500, 0.8, 30), Burst(0.01, 0.22, 500, 0.4, 14),
            Tone(0, 0.06, pitch, 0.3, 50)};
}
// A blade: inharmonic ringing partials after a scrape.
std::vector<Note> Sword(double base) {
    return {Burst(0, 0.05, 3800, 0.4, 40), Tone(0, 0.45, base, 0.3, 9),
            Tone(0, 0.45, base * 2.76, 0.2, 12), Tone(0, 0.35, base * 5.40, 0.12, 16)};
}
// Notes one after another.
std::vector<Note> Melody(std::initializer_list<double> hz, double step, Wave wave = kTriangle,
                         double amplitude = 0.4) {
    std::vector<Note> notes;
    double at = 0;
    for (double f : hz) {
        notes.push_back(Tone(at, step * 1.6, f, amplitude, 6, wave));
        at += step;
    }
    return notes;
}
std::vector<Note> Chord(std::initializer_list<double> hz, double length, double amplitude = 0.22) {
    std::vector<Note> notes;
    for (double f : hz)
        notes.push_back(Note{0, length, f, f * 1.003, amplitude, 0.15, 3, kTriangle});
    return notes;
}
std::vector<Note> Cheer(double root) {
    std::vector<Note> notes = Chord({root, root * 1.25, root * 1.5, root * 2}, 0.7);
    notes.push_back(Burst(0, 0.7, 1800, 0.35, 3));
    return notes;
}

const std::vector<Effect>& Effects() {
    static const std::vector<Effect> effects = {
        {"if_click.wav", 0.05, {Tone(0, 0.04, 2200, 0.5, 90), Burst(0, 0.01, 3500, 0.3, 200)}},
        {"if_close.wav", 0.14, {Glide(0, 0.13, 1400, 600, 0.45, kTriangle)}},
        {"if_dragover.wav", 0.08, {Tone(0, 0.07, 660, 0.3, 30, kTriangle)}},
        {"if_blip.wav", 0.07, {Tone(0, 0.06, 1320, 0.4, 35)}},
        {"if_move_art.wav",
         0.45,
         {Burst(0, 0.45, 200, 0.6, 4), Tone(0, 0.45, 70, 0.3, 4, kSquare)}},
        {"if_move_navy.wav", 0.5, {Burst(0, 0.5, 600, 0.5, 3), Glide(0, 0.5, 180, 140, 0.2)}},
        {"if_assault.wav",
         0.4,
         {Burst(0, 0.4, 1500, 0.6, 8), Melody({392, 523}, 0.12, kSquare, 0.25)[0],
          Melody({392, 523}, 0.12, kSquare, 0.25)[1]}},
        {"if_build_structure.wav",
         0.35,
         {Tone(0, 0.08, 900, 0.5, 40, kSquare), Burst(0, 0.05, 2500, 0.4, 60),
          Tone(0.17, 0.08, 850, 0.5, 40, kSquare), Burst(0.17, 0.05, 2500, 0.4, 60)}},
        {"if_build_navy.wav",
         0.4,
         {Tone(0, 0.1, 500, 0.5, 30, kSquare), Burst(0, 0.06, 1200, 0.4, 40),
          Tone(0.2, 0.1, 470, 0.5, 30, kSquare), Burst(0.2, 0.06, 1200, 0.4, 40)}},
        {"if_done_army.wav", 0.35, Melody({523, 784}, 0.12)},
        {"if_done_navy.wav", 0.35, Melody({440, 659}, 0.12)},
        {"if_done_structure.wav", 0.45, Melody({523, 659, 784}, 0.1)},
        {"if_disband_army.wav", 0.35, Melody({784, 523}, 0.12)},
        {"if_disband_navy.wav", 0.35, Melody({659, 440}, 0.12)},
        {"land_cheer.wav", 0.7, Cheer(262)},
        {"sea_cheer.wav", 0.7, Cheer(220)},
        {"land_death.wav",
         0.5,
         {Glide(0, 0.5, 330, 110, 0.45, kTriangle), Burst(0, 0.2, 800, 0.2, 10)}},
        {"sea_death.wav",
         0.6,
         {Glide(0, 0.6, 220, 70, 0.45, kTriangle), Burst(0, 0.6, 300, 0.4, 4)}},
        {"land_cannon1.wav", 0.6, Cannon(0.6, 90, 250)},
        {"land_cannon2.wav", 0.7, Cannon(0.7, 70, 180)},
        {"land_cannon3.wav", 0.5, Cannon(0.5, 110, 320)},
        {"sea_cannon1.wav", 0.8, Cannon(0.8, 60, 150)},
        {"sea_cannon2.wav", 0.75, Cannon(0.75, 75, 200)},
        {"sea_cannon3.wav", 0.7, Cannon(0.7, 55, 130)},
        {"land_sword1.wav", 0.45, Sword(880)},
        {"land_sword2.wav", 0.45, Sword(1040)},
        {"land_sword3.wav", 0.45, Sword(760)},
        {"land_musket1.wav", 0.25, Musket(1500)},
        {"land_musket2.wav", 0.25, Musket(1200)},
        {"land_musket3.wav", 0.25, Musket(1800)},
        {"if_tb_merchant.wav", 0.4, Melody({587, 740, 880}, 0.09)},
        {"if_tb_colonist.wav", 0.4, Melody({494, 587, 740}, 0.09)},
        {"if_tb_diplomat.wav", 0.4, Melody({698, 880, 1047}, 0.09)},
        {"if_tb_trade.wav", 0.4, Melody({659, 831, 988}, 0.09)},
        {"if_revolt2.wav",
         0.6,
         {Burst(0, 0.15, 400, 0.6, 20), Burst(0.2, 0.15, 400, 0.6, 20),
          Tone(0, 0.6, 147, 0.3, 3, kSquare), Tone(0, 0.6, 175, 0.25, 3, kSquare)}},
        {"if_event.wav", 0.5, Melody({784, 988, 1175}, 0.1, kSine, 0.35)},
        {"if_random1.wav", 0.45, Melody({659, 523, 784}, 0.1, kSine, 0.35)},
        {"if_random2.wav", 0.45, Melody({587, 880, 740}, 0.1, kSine, 0.35)},
        {"if_war.wav",
         0.7,
         {Burst(0, 0.2, 300, 0.7, 12), Tone(0, 0.7, 110, 0.35, 3, kSquare),
          Tone(0, 0.7, 131, 0.3, 3, kSquare), Tone(0, 0.7, 165, 0.25, 3, kSquare)}},
        {"if_booh.wav", 0.6, {Glide(0, 0.6, 196, 131, 0.35, kSquare), Burst(0, 0.6, 500, 0.25, 3)}},
        {"sea_init.wav",
         0.6,
         {Burst(0, 0.6, 700, 0.4, 3), Melody({392, 494}, 0.2, kSine, 0.3)[0],
          Melody({392, 494}, 0.2, kSine, 0.3)[1]}},
        {"if_explore.wav", 0.5, Melody({523, 698, 880, 1047}, 0.08, kSine, 0.3)},
        {"if_eyr_init.wav", 0.6, Chord({392, 494, 587}, 0.6, 0.25)},
        {"if_nope.wav",
         0.3,
         {Tone(0, 0.12, 196, 0.4, 10, kSquare), Tone(0.15, 0.12, 185, 0.4, 10, kSquare)}},
        {"if_GIM_failure.wav", 0.5, Melody({440, 370, 294}, 0.12)},
        {"if_GIM_success.wav", 0.5, Melody({523, 659, 784, 1047}, 0.09)},
    };
    return effects;
}

bool WriteSounds(const std::filesystem::path& game) {
    bool ok = true;
    for (const Effect& effect : Effects())
        ok = demo::WriteFile(game / "sfx" / "wave" / effect.file, Wav(Render(effect))) && ok;
    return ok;
}

const demo::DemoWriter kSoundWriter("sfx/wave", &WriteSounds);

} // namespace

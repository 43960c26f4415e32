// The demo world's music: tracks 2 to 6 ("music\track02.wav" ...
// "music\track06.wav"), short tunes composed and synthesised here: a
// melody over a bass line, each note a few harmonics under a plucked
// envelope. 22050 Hz, mono, 16-bit, so that the world stays small.
//   track02  the title tune, outside a game and the usual country track
//   track03  the country track of music group 10
//   track04  before 1575;  track05  1575 to 1674;  track06  1675 to 1792
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

// A note: MIDI key number (0: a rest) and length in beats.
struct Note {
    int key;
    double beats;
};

struct Voice {
    std::vector<Note> notes;
    double level;    // peak amplitude, 0..1
    double decay;    // seconds for the note to fall to 1/e
    double overtone; // weight of the second and (half of it) third harmonic
};

struct Tune {
    const char* name;
    double beatsPerMinute;
    std::vector<Voice> voices;
};

double Frequency(int key) {
    return 440.0 * demo::maths::Pow(2.0, (key - 69) / 12.0);
}

// Adds the voice into the mix.
void RenderVoice(const Voice& voice, double secondsPerBeat, std::vector<double>& mix) {
    size_t start = 0;
    for (const Note& note : voice.notes) {
        const size_t length = static_cast<size_t>(note.beats * secondsPerBeat * kRate);
        if (note.key > 0) {
            const double step = 2.0 * kPi * Frequency(note.key) / kRate;
            const size_t release = std::min<size_t>(length, kRate / 40);
            for (size_t i = 0; i < length && start + i < mix.size(); ++i) {
                const double t = static_cast<double>(i) / kRate;
                double envelope = std::min(t / 0.012, 1.0) * demo::maths::Exp(-t / voice.decay);
                if (i + release > length)
                    envelope *=
                        static_cast<double>(length - i) / release; // no click at the note's end
                const double phase = step * static_cast<double>(i);
                const double wave = demo::maths::Sin(phase) +
                                    voice.overtone * demo::maths::Sin(2 * phase) +
                                    voice.overtone * 0.5 * demo::maths::Sin(3 * phase);
                mix[start + i] += voice.level * envelope * wave / (1.0 + 1.5 * voice.overtone);
            }
        }
        start += length;
    }
}

double BeatsOf(const Voice& voice) {
    double beats = 0.0;
    for (const Note& note : voice.notes)
        beats += note.beats;
    return beats;
}

std::vector<int16_t> Render(const Tune& tune) {
    const double secondsPerBeat = 60.0 / tune.beatsPerMinute;
    double beats = 0.0;
    for (const Voice& voice : tune.voices)
        beats = std::max(beats, BeatsOf(voice));
    // The last note rings on for a moment.
    std::vector<double> mix(static_cast<size_t>((beats * secondsPerBeat + 0.6) * kRate), 0.0);
    for (const Voice& voice : tune.voices)
        RenderVoice(voice, secondsPerBeat, mix);
    std::vector<int16_t> samples(mix.size());
    const size_t fade = kRate / 5;
    for (size_t i = 0; i < mix.size(); ++i) {
        double value = mix[i];
        if (i + fade > mix.size())
            value *= static_cast<double>(mix.size() - i) / fade;
        samples[i] = static_cast<int16_t>(std::lround(std::clamp(value, -1.0, 1.0) * 32000.0));
    }
    return samples;
}

// Melody voices ring briefly and bright; bass voices long and round.
Voice Melody(std::vector<Note> notes) {
    return {std::move(notes), 0.42, 0.45, 0.35};
}
Voice Bass(std::vector<Note> notes) {
    return {std::move(notes), 0.30, 0.9, 0.15};
}

const std::vector<Tune>& Tunes() {
    static const std::vector<Tune> tunes = {
        // A rising fanfare in D major that settles on the dominant.
        {"track02.wav",
         132,
         {Melody({{62, 1},
                  {66, 1},
                  {69, 1},
                  {74, 1.5},
                  {73, 0.5},
                  {71, 1},
                  {69, 1},
                  {67, 0.5},
                  {66, 0.5},
                  {64, 1},
                  {69, 2}}),
          Bass({{38, 2}, {45, 2}, {43, 2}, {40, 2}, {45, 3}})}},
        // A Dorian air on E with a drone fifth below.
        {"track03.wav",
         112,
         {Melody({{64, 1},
                  {67, 0.5},
                  {69, 0.5},
                  {71, 1},
                  {73, 1},
                  {71, 0.5},
                  {69, 0.5},
                  {67, 1},
                  {66, 1},
                  {64, 2}}),
          Bass({{40, 4}, {45, 2}, {40, 3}})}},
        // An old modal round in A, over an open fifth.
        {"track04.wav",
         96,
         {Melody({{69, 1},
                  {72, 1},
                  {71, 0.5},
                  {69, 0.5},
                  {67, 1},
                  {69, 1.5},
                  {64, 0.5},
                  {65, 1},
                  {64, 1},
                  {69, 2}}),
          Bass({{45, 3}, {52, 3}, {45, 4}})}},
        // Broken chords in G major, walking bass.
        {"track05.wav",
         144,
         {Melody({{67, 0.5},
                  {71, 0.5},
                  {74, 0.5},
                  {79, 0.5},
                  {72, 0.5},
                  {76, 0.5},
                  {79, 0.5},
                  {84, 0.5},
                  {74, 0.5},
                  {78, 0.5},
                  {81, 0.5},
                  {78, 0.5},
                  {79, 2}}),
          Bass({{43, 1}, {45, 1}, {48, 1}, {47, 1}, {50, 1}, {50, 1}, {43, 2}})}},
        // A small minuet in F major, three beats to the bar.
        {"track06.wav",
         120,
         {Melody({{72, 1},
                  {69, 0.5},
                  {70, 0.5},
                  {72, 1},
                  {74, 1},
                  {70, 1},
                  {67, 1},
                  {69, 1.5},
                  {70, 0.5},
                  {67, 1},
                  {65, 3}}),
          Bass({{41, 3}, {46, 3}, {48, 3}, {41, 3}})}},
    };
    return tunes;
}

bool WriteMusic(const std::filesystem::path& game) {
    bool ok = true;
    for (const Tune& tune : Tunes())
        ok = demo::WriteFile(game / "music" / tune.name,
                             demo::MakeWav(kRate, 1, 16, Render(tune))) &&
             ok;
    return ok;
}

const demo::DemoWriter kMusicWriter("music", &WriteMusic);

} // namespace

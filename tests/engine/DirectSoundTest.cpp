#include "engine/DirectSound.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/Random.h"
#include "tests/TestSupport.h"
#include "tests/engine/DirectSoundSupport.h"

namespace audio = platform::audio;
using namespace soundtest;

namespace {

struct ParseCase {
    const char* name;
    std::string image;
    bool ok;
    uint32_t dataSize; // when ok
};

bool Parse(const std::string& image, audio::WaveFormat& format, uint32_t& dataSize) {
    const uint8_t* data = nullptr;
    return ParseWav(reinterpret_cast<const uint8_t*>(image.data()), image.size(), format, data,
                    dataSize);
}

class DirectSoundTest : public ::testing::Test {
protected:
    // Writes the file under sfx\wave\ and answers its game path.
    std::string Write(const std::string& name, const std::string& bytes) {
        dir.WriteFile("sfx/wave/" + name, bytes);
        return "sfx\\wave\\" + name;
    }

    test::ScopedGameDir dir;
    RecordingOutput output;
    CDirectSound sound;
};

} // namespace

TEST(ParseWav, FindsTheChunksOrFails) {
    const std::string fmt = Chunk("fmt ", FmtBody(1, 22050, 16));
    const std::string data = Chunk("data", Samples16(10));
    const ParseCase cases[] = {
        {"plain", Riff(fmt + data), true, 20},
        {"data before fmt", Riff(data + fmt), true, 20},
        {"odd chunk padded", Riff(Chunk("LIST", "abc") + fmt + data), true, 20},
        {"14-byte fmt", Riff(Chunk("fmt ", FmtBody(1, 22050, 16, 14)) + data), true, 20},
        {"empty data", Riff(fmt + Chunk("data", "")), true, 0},
        {"data past the end keeps what is there", Riff(fmt + Chunk("data", Samples16(10), 5000)),
         true, 20},
        {"no fmt", Riff(Chunk("LIST", "abcd") + data), false, 0},
        {"no data", Riff(fmt), false, 0},
        {"fmt too short", Riff(Chunk("fmt ", FmtBody(1, 22050, 16, 12)) + data), false, 0},
        {"fmt past the end", Riff(Chunk("fmt ", FmtBody(1, 22050, 16), 400) + data), false, 0},
        {"huge chunk before fmt", Riff(Chunk("JUNK", "xx", 0xFFFFFFF0) + fmt + data), false, 0},
        {"RIFF length stops before data", Riff(fmt + data, 4 + static_cast<int64_t>(fmt.size())),
         false, 0},
        {"not RIFF", "RIFX" + Riff(fmt + data).substr(4), false, 0},
        {"not WAVE", Riff(fmt + data).replace(8, 4, "AVI "), false, 0},
        {"too short", "RIFF", false, 0},
        {"half a chunk header", Riff(fmt + "dat"), false, 0},
    };
    for (const ParseCase& c : cases) {
        audio::WaveFormat format;
        uint32_t dataSize = 12345;
        EXPECT_EQ(Parse(c.image, format, dataSize), c.ok) << c.name;
        if (c.ok) {
            EXPECT_EQ(dataSize, c.dataSize) << c.name;
        }
    }
    audio::WaveFormat format;
    uint32_t dataSize = 0;
    ASSERT_TRUE(Parse(Riff(data + Chunk("fmt ", FmtBody(2, 11025, 8))), format, dataSize));
    EXPECT_EQ(format.formatTag, 1);
    EXPECT_EQ(format.channels, 2);
    EXPECT_EQ(format.samplesPerSec, 11025u);
    EXPECT_EQ(format.bitsPerSample, 8);
}

TEST_F(DirectSoundTest, LoadsWavFilesIntoSlots) {
    std::string eightBit =
        demo::MakeWav(11025, 1, 8, std::vector<int16_t>(300, 0x1000)); // bytes 0x90
    EXPECT_TRUE(sound.LoadSound(3, Write("eight.wav", eightBit), 0));
    EXPECT_TRUE(sound.LoadSound(4,
                                Write("dataFirst.wav", Riff(Chunk("data", Samples16(40)) +
                                                            Chunk("fmt ", FmtBody(2, 22050, 16)))),
                                0));
    EXPECT_EQ(sound.SlotCount(), 2u);
    EXPECT_EQ(sound.SlotName(0), "sfx\\wave\\eight.wav");
    EXPECT_EQ(sound.SlotName(2), "empty");
    EXPECT_EQ(CallsStartingWith("CreateBuffer").size(), 2u);

    // Files that give no buffer fill no slot.
    EXPECT_FALSE(sound.LoadSound(5, Write("empty.wav", demo::MakeWav(22050, 1, 16, {})), 0));
    EXPECT_FALSE(sound.LoadSound(5, Write("nofmt.wav", Riff(Chunk("data", Samples16(10)))), 0));
    EXPECT_FALSE(sound.LoadSound(
        5,
        Write("ima.wav", Riff(Chunk("fmt ", FmtBody(1, 22050, 4)) + Chunk("data", Samples16(10)))),
        0));
    {
        test::BoxRecorder boxes;
        EXPECT_FALSE(sound.LoadSound(5, "sfx\\wave\\missing.wav", 0));
    }
    EXPECT_EQ(sound.SlotCount(), 2u);
}

TEST_F(DirectSoundTest, SameFileForTwoIdsMakesOneBufferAndOneDuplicate) {
    std::string path = Write("if_click.wav", MonoWav(100));
    ASSERT_TRUE(sound.LoadSound(0, path, 0));
    ASSERT_TRUE(sound.LoadSound(5, path, 0));
    EXPECT_EQ(CallsStartingWith("CreateBuffer").size(), 1u);
    EXPECT_EQ(CallsStartingWith("DuplicateBuffer").size(), 1u);
    // The name is compared exactly: another case is another file.
    ASSERT_TRUE(sound.LoadSound(6, Write("IF_CLICK.wav", MonoWav(100)), 0));
    EXPECT_EQ(CallsStartingWith("CreateBuffer").size(), 2u);
}

TEST_F(DirectSoundTest, SixtyFifthPlayOfACopiedSlotReusesCopyZero) {
    ASSERT_TRUE(sound.LoadSound(7, Write("if_blip.wav", MonoWav(2000)), 1));
    EXPECT_EQ(CallsStartingWith("DuplicateBuffer").size(), 63u);
    audio::ClearRecordedCalls();
    for (int i = 0; i < 65; ++i)
        sound.Play(7);
    std::vector<std::string> plays = CallsStartingWith("Play ");
    ASSERT_EQ(plays.size(), 65u);
    for (uint32_t c = 0; c < 64; ++c)
        EXPECT_EQ(plays[c], "Play " + std::to_string(sound.Buffer(0, c)) + " once");
    EXPECT_EQ(plays[64], "Play " + std::to_string(sound.Buffer(0, 0)) + " once");
    EXPECT_TRUE(sound.IsPlaying(0));
}

TEST_F(DirectSoundTest, FinishedCopiesAreFreeAgain) {
    ASSERT_TRUE(sound.LoadSound(2, Write("short.wav", MonoWav(100)), 1));
    sound.Play(2);
    EXPECT_TRUE(sound.IsPlaying(0));
    std::vector<int16_t> out;
    audio::RenderRecording(1000, out); // 100 frames at 22050 Hz last 200 output frames
    EXPECT_FALSE(sound.IsPlaying(0));
    audio::ClearRecordedCalls();
    sound.Play(2);
    EXPECT_EQ(CallsStartingWith("Play "),
              std::vector<std::string>{"Play " + std::to_string(sound.Buffer(0, 0)) + " once"});
}

TEST_F(DirectSoundTest, PlaySoundSetsVolumePanPositionThenPlays) {
    ASSERT_TRUE(sound.LoadSound(9, Write("a.wav", MonoWav(100)), 0));
    audio::ClearRecordedCalls();
    sound.PlaySound(9, 1, 4000, -300);
    const std::string b = std::to_string(sound.Buffer(0, 0));
    std::vector<std::string> expected = {"SetVolume " + b + " -6000", "SetPan " + b + " -300",
                                         "SetPosition " + b + " 0", "Play " + b + " loop"};
    EXPECT_EQ(audio::RecordedCalls(), expected);
    // An id that was never loaded, or out of range, plays nothing.
    audio::ClearRecordedCalls();
    sound.Play(10);
    sound.Play(5000);
    EXPECT_TRUE(audio::RecordedCalls().empty());
}

TEST_F(DirectSoundTest, SettersClampTheirValues) {
    ASSERT_TRUE(sound.LoadSound(0, Write("a.wav", MonoWav(100)), 0));
    const std::string b = std::to_string(sound.Buffer(0, 0));
    struct Case {
        void (*set)(CDirectSound&);
        std::string call;
    } cases[] = {
        {[](CDirectSound& s) { s.SetVolume(0, 20000); }, "SetVolume " + b + " 0"},
        {[](CDirectSound& s) { s.SetVolume(0, -5); }, "SetVolume " + b + " -10000"},
        {[](CDirectSound& s) { s.SetVolume(0, 2500); }, "SetVolume " + b + " -7500"},
        {[](CDirectSound& s) { s.SetPan(0, 30000); }, "SetPan " + b + " 10000"},
        {[](CDirectSound& s) { s.SetPan(0, -30000); }, "SetPan " + b + " -10000"},
        {[](CDirectSound& s) { s.SetFrequency(0, 50); }, "SetFrequency " + b + " 100"},
        {[](CDirectSound& s) { s.SetFrequency(0, 200000); }, "SetFrequency " + b + " 100000"},
        {[](CDirectSound& s) { s.SetFrequency(0, 44100); }, "SetFrequency " + b + " 44100"},
    };
    for (const Case& c : cases) {
        audio::ClearRecordedCalls();
        c.set(sound);
        EXPECT_EQ(audio::RecordedCalls(), std::vector<std::string>{c.call});
    }
    // Slot numbers out of range are ignored.
    audio::ClearRecordedCalls();
    sound.SetVolume(1024, 0);
    sound.SetPan(70000, 0);
    sound.Stop(4096);
    EXPECT_FALSE(sound.IsPlaying(1024));
    EXPECT_TRUE(audio::RecordedCalls().empty());
}

TEST_F(DirectSoundTest, MasterVolumeLeavesSlotZero) {
    for (uint32_t id = 0; id < 3; ++id)
        ASSERT_TRUE(sound.LoadSound(id, Write("s" + std::to_string(id) + ".wav", MonoWav(50)), 0));
    audio::ClearRecordedCalls();
    sound.SetMasterVolume(255);
    std::vector<std::string> expected = {"SetVolume " + std::to_string(sound.Buffer(2, 0)) + " 0",
                                         "SetVolume " + std::to_string(sound.Buffer(1, 0)) + " 0"};
    EXPECT_EQ(audio::RecordedCalls(), expected);
    audio::ClearRecordedCalls();
    sound.SetMasterVolume(128); // 128 x 10000 / 255 = 5019
    EXPECT_EQ(audio::RecordedCalls().front(),
              "SetVolume " + std::to_string(sound.Buffer(2, 0)) + " -4981");
}

TEST_F(DirectSoundTest, PauseAndPlayResumeTheCopiesThatPlayed) {
    ASSERT_TRUE(sound.LoadSound(0, Write("loop.wav", MonoWav(500)), 1));
    ASSERT_TRUE(sound.LoadSound(1, Write("single.wav", MonoWav(500)), 0));
    sound.PlaySound(0, 1, 10000, 0);
    sound.Play(0);
    sound.PlaySound(1, 1, 10000, 0);
    std::vector<int16_t> out;
    audio::RenderRecording(100, out);
    sound.Pause(0);
    sound.Pause(1);
    EXPECT_FALSE(sound.IsPlaying(0));
    EXPECT_FALSE(sound.IsPlaying(1));
    const uint32_t position = audio::GetPosition(sound.Buffer(1, 0));
    EXPECT_EQ(position, 100u); // 50 frames of 2 bytes

    audio::ClearRecordedCalls();
    sound.Play(SoundSlot{0});
    sound.Play(SoundSlot{1});
    std::vector<std::string> expected = {"Play " + std::to_string(sound.Buffer(0, 0)) + " loop",
                                         "Play " + std::to_string(sound.Buffer(0, 1)) + " once",
                                         "Play " + std::to_string(sound.Buffer(1, 0)) + " loop"};
    EXPECT_EQ(audio::RecordedCalls(), expected);
    EXPECT_EQ(audio::GetPosition(sound.Buffer(1, 0)), position);
    sound.Stop(0);
    EXPECT_FALSE(sound.IsPlaying(0));
    EXPECT_TRUE(sound.IsPlaying(1));
}

TEST_F(DirectSoundTest, IdsOutOfRangeAndAFullTableAreRefused) {
    std::string path = Write("if_click.wav", MonoWav(20));
    EXPECT_FALSE(sound.LoadSound(1024, path, 0));
    EXPECT_FALSE(sound.LoadSound(0xFFFFFFFFu, path, 0));
    EXPECT_EQ(sound.SlotCount(), 0u);
    for (uint32_t id = 0; id < 1024; ++id)
        ASSERT_TRUE(sound.LoadSound(id, path, 0)) << id;
    EXPECT_FALSE(sound.LoadSound(17, path, 0));
    EXPECT_EQ(sound.SlotCount(), 1024u);
    // The refused load changed no mapping: id 17 still plays slot 17.
    audio::ClearRecordedCalls();
    sound.Play(17);
    EXPECT_EQ(CallsStartingWith("Play "),
              std::vector<std::string>{"Play " + std::to_string(sound.Buffer(17, 0)) + " once"});
}

TEST_F(DirectSoundTest, LongNamesAreKeptWhole) {
    std::string name(120, 'n');
    std::string path = Write(name + ".wav", MonoWav(20));
    ASSERT_TRUE(sound.LoadSound(0, path, 0));
    EXPECT_EQ(sound.SlotName(0), path);
    ASSERT_TRUE(sound.LoadSound(1, path, 0));
    EXPECT_EQ(CallsStartingWith("DuplicateBuffer").size(), 1u);
}

TEST_F(DirectSoundTest, ReleasedSlotIsEmpty) {
    std::string path = Write("a.wav", MonoWav(20));
    ASSERT_TRUE(sound.LoadSound(0, path, 1));
    sound.ReleaseSound(0);
    EXPECT_EQ(sound.SlotName(0), "empty");
    EXPECT_EQ(CallsStartingWith("ReleaseBuffer").size(), 64u);
    audio::ClearRecordedCalls();
    sound.Play(0);
    EXPECT_TRUE(audio::RecordedCalls().empty());
    ASSERT_TRUE(sound.LoadSound(1, path, 0)); // read again, not duplicated
    EXPECT_EQ(CallsStartingWith("CreateBuffer").size(), 1u);
}

TEST(DirectSoundWithoutDevice, LoadsFailAndNothingPlays) {
    test::ScopedGameDir dir;
    dir.WriteFile("a.wav", MonoWav(20));
    ASSERT_TRUE(audio::OpenAudio(audio::Backend::Null));
    {
        CDirectSound sound;
        EXPECT_FALSE(sound.LoadSound(0, "a.wav", 1));
        sound.Play(0);
        sound.SetMasterVolume(255);
        EXPECT_FALSE(sound.IsPlaying(0));
    }
    audio::CloseAudio();
}

TEST(SoundPlayerChoice, PicksByTheGameRandomNumber) {
    RecordingOutput output;
    CountingSound sound;
    for (uint32_t seed : {1u, 2u, 77u, 1234u}) {
        GameSrand(seed);
        int r2 = GameRand(), r3 = GameRand(), r4 = GameRand(), r5 = GameRand();
        GameSrand(seed);
        sound.PlayOneOf2(10, 11);
        sound.PlayOneOf3(20, 21, 22);
        sound.PlayOneOf4(30, 31, 32, 33);
        sound.PlayOneOf5(40, 41, 42, 43, 44);
        std::vector<uint32_t> plays = sound.Plays();
        std::vector<uint32_t> expected = {10u + (r2 & 1), 20u + r3 % 3, 30u + (r4 & 3),
                                          40u + r5 % 5};
        EXPECT_EQ(std::vector<uint32_t>(plays.end() - 4, plays.end()), expected) << seed;
    }
}

TEST(DemoSounds, EveryEffectLoadsAndIsShort) {
    RecordingOutput output;
    test::InFolder inGame(test::DemoWorldDir());
    CDirectSound sound;
    uint32_t id = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(test::DemoWorldDir() / "sfx" / "wave")) {
        const std::string name = entry.path().filename().string();
        std::ifstream file(entry.path(), std::ios::binary);
        std::string image((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        audio::WaveFormat format;
        uint32_t dataSize = 0;
        ASSERT_TRUE(Parse(image, format, dataSize)) << name;
        EXPECT_EQ(format.samplesPerSec, 22050u) << name;
        EXPECT_EQ(format.channels, 1) << name;
        EXPECT_EQ(format.bitsPerSample, 16) << name;
        EXPECT_GT(dataSize, 0u) << name;
        EXPECT_LT(dataSize, 22050u * 2) << name; // under a second
        EXPECT_TRUE(sound.LoadSound(id++, "sfx\\wave\\" + name, 1)) << name;
    }
    EXPECT_GE(id, 40u);
}

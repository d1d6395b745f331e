// The sound manager's rules: the volume formula, pitch, slots and ids, the instance life cycle,
// the load order, the decoded-sound cache and bad files.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "audio/Mixer.h"
#include "audio/MixerSoundInstance.h"
#include "audio/MixerSoundManager.h"
#include "audio/SoundCache.h"
#include "audio/SoundLimits.h"
#include "audio/TestSounds.h"
#include "audio/WavReader.h"
#include "files/LooseFiles.h"

namespace Zarvo {
namespace {

TEST(SoundVolume, ToDecibels) {
    struct Case {
        double volume;
        int expected;
    } cases[] = {
        {1.0, 0},      {0.0, -10000}, {0.01, -10000},  // about -2246: below -2000 is silence
        {0.5, -605},                                   // (log10(5.5) - 1) x 2333 = -605.7
        {0.05, -1956},                                 // (log10(1.45) - 1) x 2333 = -1956.5
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MixerSoundInstance::toDecibels(c.volume), c.expected) << "volume " << c.volume;
    }
    // The quietest audible volume lies near 0.0433.
    EXPECT_EQ(MixerSoundInstance::toDecibels(0.043), -10000);
    EXPECT_GT(MixerSoundInstance::toDecibels(0.044), -10000);
}

class SoundManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        sine_ = TestData::Sine(44100, 1, 100, 12000, 441);
        TestData::WriteFile(folder_ / "a.wav", TestData::WavBytes(sine_));
        TestData::WriteFile(folder_ / "b.wav", TestData::WavBytes(sine_));
    }
    void Render(int frames) {
        std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
        mixer_->Render(out.data(), frames);
    }

    TestData::ScratchFolder folder_;
    SoundData sine_;
    std::shared_ptr<Mixer> mixer_ = std::make_shared<Mixer>(nullptr);
    int64_t now_ = 0;
    MixerSoundManager manager_{mixer_, {}, [this] { return now_; }};
};

TEST_F(SoundManagerTest, AdjustPitchAsksForTheScaledFrequencyWithinLimits) {
    ASSERT_TRUE(manager_.loadSound(3, folder_ / "a"));
    struct Case {
        double semitones;
        int hz;
    } cases[] = {// -100 semitones: 44100 x 2^(-100/12) = 136.7 Hz, still above the 100 Hz floor;
                 // -120 semitones (44100 / 1024 = 43 Hz) is where the floor takes over.
                 {12, 88200}, {-12, 22050}, {0, 44100}, {-100, 137}, {100, 100000}, {-120, 100}};
    for (const Case& c : cases) {
        auto* instance = static_cast<MixerSoundInstance*>(manager_.getSoundInstance(3));
        ASSERT_NE(instance, nullptr);
        instance->adjustPitch(c.semitones);
        EXPECT_EQ(instance->GetFrequency(), c.hz) << c.semitones << " semitones";
        instance->release();
    }
}

TEST_F(SoundManagerTest, SameNameGivesSameIdFromTheTop) {
    const int a = manager_.loadSoundByName(folder_ / "a");
    EXPECT_EQ(a, 255);
    EXPECT_EQ(manager_.loadSoundByName(folder_ / "a"), a);
    EXPECT_EQ(manager_.loadSoundByName(folder_ / "b"), 254);
    EXPECT_EQ(manager_.loadSoundByName(folder_ / "missing"), -1);
    EXPECT_EQ(manager_.getNumSounds(), 2);
    EXPECT_EQ(manager_.getFreeSoundId(), 0);
    manager_.releaseSound(a);
    EXPECT_EQ(manager_.getNumSounds(), 1);
    EXPECT_EQ(manager_.loadSoundByName(folder_ / "a"), 255);
}

TEST_F(SoundManagerTest, IdsOutsideTheSlotsAreRefused) {
    for (int id : {-1, 256, 1000}) {
        EXPECT_FALSE(manager_.loadSound(id, folder_ / "a")) << id;
        EXPECT_EQ(manager_.getSoundInstance(id), nullptr) << id;
        EXPECT_FALSE(manager_.setBaseVolume(id, 0.5)) << id;
        EXPECT_FALSE(manager_.setBasePan(id, 100)) << id;
        manager_.releaseSound(id);
    }
    EXPECT_EQ(manager_.getSoundInstance(5), nullptr);  // an empty slot gives no instance
}

TEST_F(SoundManagerTest, AThirtyThirdInstanceIsRefused) {
    ASSERT_TRUE(manager_.loadSound(0, folder_ / "a"));
    std::vector<SoundInstance*> instances;
    for (int i = 0; i < 32; ++i) {
        instances.push_back(manager_.getSoundInstance(0));
        ASSERT_NE(instances.back(), nullptr) << i;
        instances.back()->play(true, false);
    }
    EXPECT_EQ(manager_.getSoundInstance(0), nullptr);
    instances[7]->release();  // a released instance frees its slot at once
    EXPECT_NE(manager_.getSoundInstance(0), nullptr);
    EXPECT_EQ(manager_.getSoundInstance(0), nullptr);
}

TEST_F(SoundManagerTest, FinishedAutoReleasedInstancesAreReclaimed) {
    ASSERT_TRUE(manager_.loadSound(0, folder_ / "a"));
    for (int i = 0; i < 32; ++i) ASSERT_TRUE(manager_.getSoundInstance(0)->play(false, true));
    EXPECT_EQ(manager_.getSoundInstance(0), nullptr);  // all still playing
    Render(441);                                       // every one has finished now
    // The slot is needed: the first finished one is reclaimed.
    SoundInstance* fresh = manager_.getSoundInstance(0);
    ASSERT_NE(fresh, nullptr);
    fresh->play(true, false);
    EXPECT_FALSE(fresh->isReleased());
}

TEST_F(SoundManagerTest, StopCancelsAutoReleaseButStopAllKeepsIt) {
    ASSERT_TRUE(manager_.loadSound(0, folder_ / "a"));
    SoundInstance* manual = manager_.getSoundInstance(0);
    manual->play(false, true);
    manual->stop();
    SoundInstance* stoppedByAll = manager_.getSoundInstance(0);
    stoppedByAll->play(true, true);
    manager_.stopAllSounds();
    EXPECT_FALSE(manual->isPlaying());
    EXPECT_FALSE(manual->isReleased());
    EXPECT_TRUE(stoppedByAll->isReleased());
}

TEST_F(SoundManagerTest, TheSweepDeletesReleasedInstancesOncePerSecond) {
    ASSERT_TRUE(manager_.loadSound(0, folder_ / "a"));
    SoundInstance* first = manager_.getSoundInstance(0);
    SoundInstance* second = manager_.getSoundInstance(0);
    first->release();
    second->release();
    EXPECT_EQ(manager_.CountInstances(), 2);
    // Within the second, only the slot that is needed is reclaimed.
    now_ = 1000;
    SoundInstance* next = manager_.getSoundInstance(0);
    EXPECT_EQ(manager_.CountInstances(), 2);
    next->release();
    // Past it, every released instance goes.
    now_ = 1001;
    manager_.getSoundInstance(0);
    EXPECT_EQ(manager_.CountInstances(), 1);
    manager_.releaseChannels();
    EXPECT_EQ(manager_.CountInstances(), 0);
}

TEST_F(SoundManagerTest, WithoutAMixerEverythingIsASilentPlaceholder) {
    MixerSoundManager silent(nullptr);
    EXPECT_FALSE(silent.isInitialized());
    EXPECT_FALSE(silent.loadSound(0, folder_ / "a"));
    EXPECT_EQ(silent.loadSoundByName(folder_ / "a"), -1);
    SoundInstance* instance = silent.getSoundInstance(0);
    ASSERT_NE(instance, nullptr);
    EXPECT_FALSE(instance->play(false, true));
    EXPECT_FALSE(instance->isPlaying());
    EXPECT_TRUE(instance->isReleased());
    EXPECT_TRUE(manager_.isInitialized());
}

TEST_F(SoundManagerTest, LoadOrderPrefersWavThenOggThenAu) {
    const SoundData stereo = TestData::Sine(22050, 2, 60, 9000, 2205);
    TestData::WriteFile(folder_ / "x.au",
                        TestData::AuBytes16(TestData::Sine(8000, 1, 20, 9000, 800)));
    SoundData loaded;
    ASSERT_TRUE(manager_.DecodeSound(folder_ / "x", loaded));
    EXPECT_EQ(loaded.sampleRate, 8000);
    EXPECT_EQ(loaded.samples, TestData::Sine(8000, 1, 20, 9000, 800).samples);

    TestData::WriteFile(folder_ / "x.ogg", TestData::OggBytes(stereo));
    ASSERT_TRUE(manager_.DecodeSound(folder_ / "x", loaded));
    EXPECT_EQ(loaded.sampleRate, 22050);
    EXPECT_EQ(loaded.channels, 2);
    EXPECT_EQ(loaded.Frames(), 2205);

    TestData::WriteFile(folder_ / "x.wav", TestData::WavBytes(stereo));
    ASSERT_TRUE(manager_.DecodeSound(folder_ / "x", loaded));
    EXPECT_EQ(loaded.samples, stereo.samples);
}

TEST_F(SoundManagerTest, OggSoundPlaysEndToEnd) {
    TestData::WriteFile(folder_ / "kick.ogg",
                        TestData::OggBytes(TestData::Sine(44100, 1, 100, 16000, 4410)));
    const int id = manager_.loadSoundByName(folder_ / "kick");
    ASSERT_GE(id, 0);
    SoundInstance* instance = manager_.getSoundInstance(id);
    ASSERT_NE(instance, nullptr);
    ASSERT_TRUE(instance->play(false, true));
    std::vector<int16_t> out(4410 * 2);
    mixer_->Render(out.data(), 4410);
    int peak = 0;
    for (int16_t v : out) peak = std::max(peak, std::abs(static_cast<int>(v)));
    EXPECT_GT(peak, 12000);
    EXPECT_LT(peak, 20000);
    Render(10);
    EXPECT_TRUE(instance->isReleased());
}

// Bytes of bad files, each loaded as the only candidate under its extension.
struct BadFile {
    const char* label;
    const char* extension;
    std::vector<uint8_t> bytes;
};

std::vector<BadFile> BadFiles() {
    const SoundData sine = TestData::Sine(44100, 1, 100, 12000, 1000);
    const auto wav = TestData::WavBytes(sine);
    const auto au = TestData::AuBytes16(sine);
    const auto ogg = TestData::OggBytes(sine);
    auto wavNoChannels = wav;
    wavNoChannels[22] = 0;
    auto wavFloat = wav;
    wavFloat[20] = 3;
    auto auBadEncoding = au;
    auBadEncoding[15] = 5;
    auto auHugeOffset = au;
    auHugeOffset[4] = 0x7F;
    auto oggNoEnd = ogg;
    oggNoEnd.resize(ogg.size() / 2);
    auto oggScrambled = ogg;
    for (size_t i = 60; i < oggScrambled.size(); i += 7) oggScrambled[i] ^= 0x5A;
    return {
        {"empty wav", ".wav", {}},
        {"wav header only", ".wav", std::vector<uint8_t>(wav.begin(), wav.begin() + 12)},
        {"wav cut in its data", ".wav", std::vector<uint8_t>(wav.begin(), wav.end() - 100)},
        {"wav without channels", ".wav", wavNoChannels},
        {"wav in float", ".wav", wavFloat},
        {"au cut", ".au", std::vector<uint8_t>(au.begin(), au.end() - 1)},
        {"au header cut", ".au", std::vector<uint8_t>(au.begin(), au.begin() + 20)},
        {"au unknown encoding", ".au", auBadEncoding},
        {"au offset past the end", ".au", auHugeOffset},
        {"ogg cut", ".ogg", oggNoEnd},
        {"ogg scrambled", ".ogg", oggScrambled},
        {"ogg of garbage", ".ogg", std::vector<uint8_t>(500, 'O')},
    };
}

TEST_F(SoundManagerTest, CorruptOrTruncatedFilesLoadNothing) {
    for (const BadFile& bad : BadFiles()) {
        SCOPED_TRACE(bad.label);
        TestData::ScratchFolder folder;
        TestData::WriteFile(folder / (std::string("bad") + bad.extension), bad.bytes);
        EXPECT_FALSE(manager_.loadSound(9, folder / "bad"));
        EXPECT_EQ(manager_.getSoundInstance(9), nullptr);
        EXPECT_EQ(manager_.getNumSounds(), 0);
    }
}

// 8-bit mono WAV and mu-law AU files of `samples` samples of silence.
std::vector<uint8_t> LongSound(const std::string& extension, size_t samples) {
    std::vector<uint8_t> out;
    auto put = [&out](uint32_t v, int bytes, bool bigEndian) {
        for (int i = 0; i < bytes; ++i) {
            out.push_back(static_cast<uint8_t>(v >> (8 * (bigEndian ? bytes - 1 - i : i))));
        }
    };
    auto text = [&out](const char* t) { out.insert(out.end(), t, t + std::strlen(t)); };
    const auto length = static_cast<uint32_t>(samples);
    if (extension == ".wav") {
        text("RIFF");
        put(length + 36, 4, false);
        text("WAVEfmt ");
        put(16, 4, false);  // format chunk length
        put(1, 2, false);   // PCM
        put(1, 2, false);   // mono
        put(8000, 4, false);
        put(8000, 4, false);  // bytes per second
        put(1, 2, false);     // block align
        put(8, 2, false);     // bits
        text("data");
        put(length, 4, false);
        out.resize(out.size() + samples, 0x80);
    } else {
        text(".snd");
        for (uint32_t v : {24u, length, 1u, 8000u, 1u}) put(v, 4, true);
        out.resize(out.size() + samples, 0xFF);
    }
    return out;
}

TEST_F(SoundManagerTest, SoundsLongerThanTheSampleLimitLoadNothing) {
    for (const char* extension : {".wav", ".au"}) {
        for (const size_t samples : {SoundLimits::kMaxSamples, SoundLimits::kMaxSamples + 1}) {
            TestData::ScratchFolder folder;
            TestData::WriteFile(folder / (std::string("long") + extension),
                                LongSound(extension, samples));
            EXPECT_EQ(manager_.loadSound(9, folder / "long"), samples <= SoundLimits::kMaxSamples)
                << extension << " " << samples;
            manager_.releaseSound(9);
        }
    }
}

// Sounds named relative to a working folder, with a cache folder beside them.
class SoundCacheTest : public SoundManagerTest {
protected:
    SoundCacheTest() : cwd_(folder_.Path()) {}
    TestData::WorkingDirectory cwd_;
    std::filesystem::path cache_ = folder_.Path() / "cache" / "cached";
    MixerSoundManager cached_{mixer_, cache_};
    std::filesystem::path cacheFile_ = cache_ / "sounds" / "whistle.wav";
    SoundData whistle_ = TestData::Sine(22050, 2, 30, 10000, 3000);
    void WriteOgg() {
        TestData::WriteFile(folder_.Path() / "sounds" / "whistle.ogg",
                            TestData::OggBytes(whistle_));
    }
};

TEST_F(SoundCacheTest, DecodedOggIsCachedInTheRiffLayout) {
    WriteOgg();
    ASSERT_TRUE(cached_.loadSound(1, "sounds\\whistle"));
    const auto bytes = TestData::ReadFile(cacheFile_);
    ASSERT_GT(bytes.size(), 44u);
    const std::string source = "sounds\\whistle.ogg";
    const uint32_t dataBytes = 3000 * 4;
    auto u32 = [&bytes](size_t at) {
        return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
               static_cast<uint32_t>(bytes[at + 3]) << 24;
    };
    auto u16 = [&bytes](size_t at) {
        return static_cast<uint32_t>(bytes[at] | bytes[at + 1] << 8);
    };
    auto tag = [&bytes](size_t at) {
        return std::string(bytes.begin() + at, bytes.begin() + at + 4);
    };
    EXPECT_EQ(tag(0), "RIFF");
    EXPECT_EQ(u32(4), dataBytes + 36);
    EXPECT_EQ(tag(8), "WAVE");
    EXPECT_EQ(tag(12), "fmt ");
    EXPECT_EQ(u32(16), 16u);
    EXPECT_EQ(u16(20), 1u);
    EXPECT_EQ(u16(22), 2u);
    EXPECT_EQ(u32(24), 22050u);
    EXPECT_EQ(u32(28), 22050u * 4);
    EXPECT_EQ(u16(32), 4u);
    EXPECT_EQ(u16(34), 16u);
    EXPECT_EQ(tag(36), "dep ");
    EXPECT_EQ(u32(40), source.size() + 10);
    EXPECT_EQ(u16(44), source.size());
    EXPECT_EQ(std::string(bytes.begin() + 46, bytes.begin() + 46 + source.size()), source);
    const size_t xorAt = 46 + source.size() + 8;
    EXPECT_EQ(tag(xorAt), "xor ");
    EXPECT_EQ(u32(xorAt + 4), 1u);
    const uint8_t key = bytes[xorAt + 8];
    EXPECT_EQ(tag(xorAt + 9), "data");
    EXPECT_EQ(u32(xorAt + 13), dataBytes);
    ASSERT_EQ(bytes.size(), xorAt + 17 + dataBytes);
    // The data is the decoded sound XOR-ed with the key.
    SoundData decoded;
    ASSERT_TRUE(cached_.DecodeSound("sounds/whistle", decoded));
    for (size_t i = 0; i < 64; ++i) {
        const auto sample = static_cast<uint16_t>(decoded.samples[i / 2]);
        const uint8_t plain =
            i % 2 == 0 ? static_cast<uint8_t>(sample) : static_cast<uint8_t>(sample >> 8);
        EXPECT_EQ(bytes[xorAt + 17 + i] ^ key, plain) << "byte " << i;
    }
}

TEST_F(SoundCacheTest, AFreshCacheIsUsedAndAStaleOneIsReplaced) {
    WriteOgg();
    ASSERT_TRUE(cached_.loadSound(1, "sounds/whistle"));
    ASSERT_TRUE(std::filesystem::exists(cacheFile_));
    const auto time = std::filesystem::last_write_time(folder_.Path() / "sounds" / "whistle.ogg");

    // Damage the source but keep its time: the cache still serves the sound.
    TestData::WriteFile(folder_.Path() / "sounds" / "whistle.ogg", std::vector<uint8_t>(100, 1));
    std::filesystem::last_write_time(folder_.Path() / "sounds" / "whistle.ogg", time);
    EXPECT_TRUE(cached_.loadSound(1, "sounds/whistle"));

    // A source with another time makes the cache stale: it is deleted and nothing else loads.
    std::filesystem::last_write_time(folder_.Path() / "sounds" / "whistle.ogg",
                                     time + std::chrono::seconds(5));
    EXPECT_FALSE(cached_.loadSound(1, "sounds/whistle"));
    EXPECT_FALSE(std::filesystem::exists(cacheFile_));

    // A new source decodes again and refreshes the cache with its own time.
    WriteOgg();
    ASSERT_TRUE(cached_.loadSound(1, "sounds/whistle"));
    SoundData fromCache;
    const std::string source = "sounds/whistle.ogg";
    EXPECT_EQ(
        SoundCache::Read(
            cacheFile_, source,
            static_cast<int64_t>(LooseFiles::ToFileTime(std::filesystem::last_write_time(source))),
            fromCache),
        SoundCache::Result::Loaded);
}

TEST_F(SoundCacheTest, ACorruptCacheIsDeletedAndTheSourceDecodedAgain) {
    WriteOgg();
    ASSERT_TRUE(cached_.loadSound(1, "sounds/whistle"));
    const auto good = TestData::ReadFile(cacheFile_);
    const std::vector<std::vector<uint8_t>> corrupt = {
        {},
        std::vector<uint8_t>(good.begin(), good.begin() + good.size() / 2),
        std::vector<uint8_t>(good.begin(), good.begin() + 40),
        std::vector<uint8_t>(300, 0xEE),
    };
    for (const auto& bytes : corrupt) {
        SCOPED_TRACE(bytes.size());
        TestData::WriteFile(cacheFile_, bytes);
        SoundData loaded;
        ASSERT_TRUE(cached_.DecodeSound("sounds/whistle", loaded));
        EXPECT_EQ(loaded.Frames(), 3000);
        EXPECT_EQ(TestData::ReadFile(cacheFile_), good);  // rewritten from the decoded source
    }
}

TEST_F(SoundCacheTest, CacheFilesRoundTripAndCheckTheirSource) {
    const std::filesystem::path path = cache_ / "odd.wav";
    const SoundData sound = TestData::Sine(11025, 1, 20, 5000, 101);
    // "a.ogg" makes the "dep " chunk 15 bytes long: odd, and followed by no padding.
    ASSERT_TRUE(SoundCache::Write(path, sound, "a.ogg", 42));
    SoundData loaded;
    ASSERT_EQ(SoundCache::Read(path, "a.ogg", 42, loaded), SoundCache::Result::Loaded);
    EXPECT_EQ(loaded.samples, sound.samples);
    EXPECT_EQ(SoundCache::Read(path, "a.ogg", 43, loaded), SoundCache::Result::Unusable);
    EXPECT_EQ(SoundCache::Read(path, "b.ogg", 42, loaded), SoundCache::Result::Unusable);
    EXPECT_EQ(SoundCache::Read(cache_ / "none.wav", "a.ogg", 42, loaded),
              SoundCache::Result::Missing);
}

TEST_F(SoundCacheTest, NamesThatLeaveTheCacheFolderAreNotCached) {
    EXPECT_TRUE(SoundCache::PathFor(cache_, "/abs/name").empty());
    EXPECT_TRUE(SoundCache::PathFor(cache_, "\\abs\\name").empty());
    EXPECT_TRUE(SoundCache::PathFor(cache_, "c:\\name").empty());
    EXPECT_TRUE(SoundCache::PathFor(cache_, "..\\..\\name").empty());
    EXPECT_EQ(SoundCache::PathFor(cache_, "sounds\\kick"), cache_ / "sounds" / "kick.wav");
}

}  // namespace
}  // namespace Zarvo

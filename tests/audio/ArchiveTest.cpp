// Sounds and music come through the archive layer: from the pack file when it holds them.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "audio/Mixer.h"
#include "audio/MixerMusicInterface.h"
#include "audio/MixerSoundManager.h"
#include "audio/SoundCache.h"
#include "audio/TestSounds.h"
#include "files/PakBuilder.h"
#include "files/PakInterface.h"

namespace Zarvo {
namespace {

TEST(AudioFromArchive, SoundsAndMusicLoadFromThePackFile) {
    TestData::ScratchFolder folder;
    TestData::WorkingDirectory cwd(folder.Path());
    const SoundData kick = TestData::Sine(22050, 1, 40, 7000, 500);
    constexpr uint64_t kTime = 0x01D9000012345678;
    PakBuilder builder;
    ASSERT_TRUE(builder.AddFile("sounds\\kick.wav", TestData::WavBytes(kick)));
    ASSERT_TRUE(builder.AddFile("sounds\\cheer.ogg", TestData::OggBytes(kick), kTime));
    ASSERT_TRUE(builder.AddFile("music\\theme.mod", TestData::ModBytes()));
    TestData::WriteFile(folder.Path() / "main.pak", builder.Build());

    PakInterface pak;
    ASSERT_EQ(PakInterface::Instance(), &pak);
    ASSERT_TRUE(pak.AddPakFile("main.pak"));

    auto mixer = std::make_shared<Mixer>(nullptr);
    const auto cache = folder.Path() / "cache";
    MixerSoundManager sounds(mixer, cache);
    SoundData loaded;
    ASSERT_TRUE(sounds.DecodeSound("Sounds/Kick", loaded));
    EXPECT_EQ(loaded.samples, kick.samples);

    // The cache of an archived Ogg records the time the archive holds for it.
    ASSERT_TRUE(sounds.loadSound(3, "sounds\\cheer"));
    SoundData cached;
    EXPECT_EQ(SoundCache::Read(cache / "sounds" / "cheer.wav", "sounds\\cheer.ogg",
                               static_cast<int64_t>(kTime), cached),
              SoundCache::Result::Loaded);

    MixerMusicInterface music(mixer);
    ASSERT_TRUE(music.loadMusic(1, "music\\theme.mod"));
    music.playMusic(1, 0, false);
    EXPECT_TRUE(music.isPlaying(1));
}

}  // namespace
}  // namespace Zarvo

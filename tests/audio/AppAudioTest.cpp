// The application's audio: the sound manager and music interface it opens, and playing samples.
#include <gtest/gtest.h>

#include <memory>

#include "audio/MixerMusicInterface.h"
#include "audio/MixerSoundManager.h"
#include "audio/TestSounds.h"
#include "frame/ZarvoAppBase.h"
#include "platform/HeadlessPlatform.h"

namespace Zarvo {
namespace {

TEST(AppAudio, OpensTheMixerBackedManagerAndMusic) {
    TestData::ScratchFolder folder;
    TestData::WriteFile(folder / "click.wav",
                        TestData::WavBytes(TestData::Sine(44100, 1, 100, 8000, 44100)));
    ZarvoAppBase app(std::make_unique<HeadlessPlatform>());
    app.Init();
    auto* sounds = dynamic_cast<MixerSoundManager*>(app.GetSoundManager());
    ASSERT_NE(sounds, nullptr);
    EXPECT_TRUE(sounds->isInitialized());
    EXPECT_NE(dynamic_cast<MixerMusicInterface*>(app.GetMusicInterface()), nullptr);

    app.PlaySample(3);  // nothing loaded there: nothing plays
    EXPECT_EQ(sounds->CountInstances(), 0);
    ASSERT_TRUE(sounds->loadSound(3, folder / "click"));
    app.PlaySample(3);
    app.PlaySample(3, -500);
    EXPECT_EQ(sounds->CountInstances(), 2);
}

TEST(AppAudio, WithoutSoundEverythingIsSilent) {
    TestData::ScratchFolder folder;
    TestData::WriteFile(folder / "click.wav",
                        TestData::WavBytes(TestData::Sine(44100, 1, 100, 8000, 441)));
    ZarvoAppBase app(std::make_unique<HeadlessPlatform>());
    app.noSoundNeeded = true;
    app.Init();
    ASSERT_NE(app.GetSoundManager(), nullptr);
    EXPECT_FALSE(app.GetSoundManager()->isInitialized());
    EXPECT_FALSE(app.GetSoundManager()->loadSound(3, folder / "click"));
    ASSERT_NE(app.GetMusicInterface(), nullptr);
    EXPECT_EQ(dynamic_cast<MixerMusicInterface*>(app.GetMusicInterface()), nullptr);
    EXPECT_FALSE(app.GetMusicInterface()->loadMusic(1, folder / "click.wav"));
    app.PlaySample(3);
}

}  // namespace
}  // namespace Zarvo

// Fuzzes a whole resource group load from a pack file: the input is mapped as the archive, its
// manifest is read the way the game reads its own, and both groups are loaded the way the game
// loads them (the first at once, the second one resource per step), with real image, font and
// sound loaders. Nothing is played or drawn to a screen.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "FuzzFile.h"

#include "audio/Mixer.h"
#include "audio/MixerSoundManager.h"
#include "files/PakInterface.h"
#include "graphics/Graphics.h"
#include "graphics/ImageFont.h"
#include "graphics/MemoryImage.h"
#include "resources/ResourceManager.h"
#include "resources/StandaloneResourceHost.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = WriteFuzzInput(data, size, ".pak");
    if (path.empty()) return 0;
    Zarvo::PakInterface pak;
    if (Zarvo::PakInterface::Instance() != &pak || !pak.AddPakFile(path)) return 0;

    auto mixer = std::make_shared<Zarvo::Mixer>(nullptr);
    Zarvo::MixerSoundManager sounds(mixer);  // no cache folder: nothing is written
    Zarvo::StandaloneResourceHost host(&sounds);
    Zarvo::ResourceManager manager(&host);
    if (!manager.ParseResourcesFile("properties\\resources.xml")) return 0;
    manager.LoadResources("Init");
    manager.StartLoadResources("Game");
    for (int steps = 0; steps < 256 && manager.LoadNextResource(); ++steps) {
    }
    // A font that loaded is drawn once, so that its rectangles are used, not only read.
    if (Zarvo::Font* font = manager.GetFont("FONT_MAIN")) {
        Zarvo::MemoryImage target(nullptr);
        target.Create(64, 32);
        Zarvo::Graphics g(&target);
        font->DrawString(&g, 1, 20, "HI! hi", Zarvo::Color::White, g.GetClipRect());
        (void)font->StringWidth("HI!");
    }
    (void)manager.GetErrorText();
    manager.DeleteResources("");
    return 0;
}

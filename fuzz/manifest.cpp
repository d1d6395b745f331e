// Fuzz target for the resource manifest: any bytes are read as a manifest file (through the XML
// reader) and every group found is counted; nothing is loaded.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "resources/ResourceManager.h"
#include "resources/StandaloneResourceHost.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path =
        (std::filesystem::temp_directory_path() / "kelvane_fuzz_manifest.xml").string();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    Zarvo::StandaloneResourceHost host;
    Zarvo::ResourceManager manager(&host);
    manager.SetAllowAlreadyDefinedResources(size % 2 == 0);
    manager.ParseResourcesFile(path);
    for (const char* group : {"Init", "Game", "G"}) (void)manager.GetNumResources(group);
    (void)manager.GetErrorText();
    std::remove(path.c_str());
    return 0;
}

// Writes a pack file: the table of entries and the files' contents, every byte XOR-ed with the
// archive key. Used by the pak tool and by tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Zarvo {

class PakBuilder {
public:
    // Adds a file under name (stored as given: use '\' separators). False when the name is
    // longer than 255 bytes or the contents do not fit a signed 32-bit size.
    bool AddFile(const std::string& name, std::vector<uint8_t> contents, uint64_t fileTime = 0);

    // Adds every regular file under folder, in byte order of their relative paths, named by
    // that path with '\' separators and the case as found, with its modification time. False
    // when the folder cannot be read or a file cannot be added (nothing is added then); the
    // reason is in LastError.
    bool AddFolder(const std::string& folder);
    // Why the last AddFolder failed, naming the folder or file.
    const std::string& LastError() const { return mError; }

    // The whole archive, scrambled.
    std::vector<uint8_t> Build() const;

private:
    struct Entry {
        std::string name;
        std::vector<uint8_t> contents;
        uint64_t fileTime;
    };
    std::vector<Entry> mEntries;
    std::string mError;
};

}  // namespace Zarvo

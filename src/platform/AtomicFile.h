#pragma once
#include <cstddef>
#include <string>

namespace Zarvo {

// Whole-file reads and crash-safe whole-file writes.
class AtomicFile {
public:
    // Writes `size` bytes to `path`, creating its folder when needed: the bytes go to a
    // temporary file beside it, are flushed to disk and then renamed over the old file, so a
    // reader sees either the old or the new content, never a part. False on any failure, with
    // errno saying why; the old file is then untouched and the temporary file removed. The
    // temporary files of writers killed before their rename are removed by the next write.
    static bool Write(const std::string& path, const void* data, size_t size);
    // Reads a whole file of at most `maxSize` bytes; false when missing, unreadable or larger.
    static bool Read(const std::string& path, size_t maxSize, std::string& out);
};

}  // namespace Zarvo

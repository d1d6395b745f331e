#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "graphics/SharedImage.h"
#include "graphics/SharedImageRef.h"

namespace Zarvo {

// The application's table of shared images, keyed by (path, variant); the path is compared
// without regard to case or slash direction. Safe to use from the loading thread and the
// primary thread at once.
class SharedImageTable {
public:
    // Loads the image of a path; null on failure.
    using Loader = std::function<std::unique_ptr<MemoryImage>(const std::string& path)>;

    SharedImageTable() = default;
    SharedImageTable(const SharedImageTable&) = delete;
    SharedImageTable& operator=(const SharedImageTable&) = delete;
    ~SharedImageTable();

    // The shared image of (path, variant), loaded with `loader` if the table does not hold it
    // yet; `isNew` (optional) tells whether it was loaded by this call. An empty reference
    // when loading fails (nothing is kept in the table then).
    SharedImageRef GetSharedImage(const std::string& path, const std::string& variant,
                                  const Loader& loader, bool* isNew = nullptr);

    // Whether a reference count dropped to zero since the last cleaning.
    bool NeedsCleaning() const;
    // Deletes every image whose reference count is zero and clears the mark.
    void CleanSharedImages();
    // Deletes every image, referenced or not (at shutdown). References still held afterwards
    // yield null instead of a deleted image.
    void DeleteAll();
    size_t Size() const;

private:
    friend class SharedImageRef;
    void AddRef(SharedImage* shared);
    void ReleaseRef(SharedImage* shared);

    mutable std::mutex mutex;
    std::map<std::pair<std::string, std::string>, std::shared_ptr<SharedImage>> images;
    bool needsCleaning = false;
};

}  // namespace Zarvo

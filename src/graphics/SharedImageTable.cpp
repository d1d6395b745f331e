#include "graphics/SharedImageTable.h"

#include <cctype>
#include <vector>

namespace Zarvo {

namespace {

std::string NormalizePath(const std::string& path) {
    std::string key = path;
    for (char& c : key) {
        c = c == '\\' ? '/' : char(std::toupper(static_cast<unsigned char>(c)));
    }
    return key;
}

}  // namespace

SharedImageTable::~SharedImageTable() {
    DeleteAll();
}

SharedImageRef SharedImageTable::GetSharedImage(const std::string& path, const std::string& variant,
                                                const Loader& loader, bool* isNew) {
    if (isNew) *isNew = false;
    const auto key = std::make_pair(NormalizePath(path), variant);
    {
        std::lock_guard<std::mutex> lock(mutex);
        auto it = images.find(key);
        if (it != images.end() && it->second->image) {
            ++it->second->refCount;
            return SharedImageRef(it->second, SharedImageRef::Adopt{});
        }
    }
    // Load outside the lock: loading may take long and may itself ask for shared images.
    std::unique_ptr<MemoryImage> image = loader ? loader(path) : nullptr;
    if (!image) return SharedImageRef();

    std::lock_guard<std::mutex> lock(mutex);
    std::shared_ptr<SharedImage>& slot = images[key];
    if (!slot || !slot->image) {
        slot = std::make_shared<SharedImage>();
        slot->image = std::move(image);
        slot->table = this;
        if (isNew) *isNew = true;
    }  // else another thread loaded it meanwhile, and the fresh copy is dropped
    ++slot->refCount;
    return SharedImageRef(slot, SharedImageRef::Adopt{});
}

bool SharedImageTable::NeedsCleaning() const {
    std::lock_guard<std::mutex> lock(mutex);
    return needsCleaning;
}

void SharedImageTable::CleanSharedImages() {
    std::vector<std::shared_ptr<SharedImage>> dropped;
    {
        std::lock_guard<std::mutex> lock(mutex);
        for (auto it = images.begin(); it != images.end();) {
            if (it->second->refCount <= 0) {
                it->second->table = nullptr;
                dropped.push_back(std::move(it->second));
                it = images.erase(it);
            } else {
                ++it;
            }
        }
        needsCleaning = false;
    }
    // Images are deleted outside the lock: their destructors call back into the application.
    for (auto& entry : dropped) entry->image.reset();
}

void SharedImageTable::DeleteAll() {
    std::vector<std::shared_ptr<SharedImage>> dropped;
    {
        std::lock_guard<std::mutex> lock(mutex);
        for (auto& [key, entry] : images) {
            entry->table = nullptr;
            dropped.push_back(std::move(entry));
        }
        images.clear();
        needsCleaning = false;
    }
    for (auto& entry : dropped) entry->image.reset();
}

size_t SharedImageTable::Size() const {
    std::lock_guard<std::mutex> lock(mutex);
    return images.size();
}

void SharedImageTable::AddRef(SharedImage* shared) {
    std::lock_guard<std::mutex> lock(mutex);
    ++shared->refCount;
}

void SharedImageTable::ReleaseRef(SharedImage* shared) {
    std::lock_guard<std::mutex> lock(mutex);
    if (--shared->refCount <= 0) needsCleaning = true;
}

}  // namespace Zarvo

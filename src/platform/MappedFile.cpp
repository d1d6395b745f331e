#include "platform/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Zarvo {

std::unique_ptr<MappedFile> MappedFile::Open(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
        ::close(fd);
        return nullptr;
    }
    size_t size = static_cast<size_t>(st.st_size);
    const uint8_t* data = nullptr;
    if (size > 0) {
        void* p = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (p == MAP_FAILED) {
            ::close(fd);
            return nullptr;
        }
        data = static_cast<const uint8_t*>(p);
    }
    // The mapping keeps the file's contents reachable; the descriptor is not needed any more.
    ::close(fd);
    return std::unique_ptr<MappedFile>(new MappedFile(data, size));
}

MappedFile::~MappedFile() {
    if (mData) ::munmap(const_cast<uint8_t*>(mData), mSize);
}

}  // namespace Zarvo

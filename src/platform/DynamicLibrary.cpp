#include "platform/DynamicLibrary.h"

#include <dlfcn.h>

namespace Zarvo {

std::unique_ptr<DynamicLibrary> DynamicLibrary::Open(const std::string& name) {
    void* handle = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) return nullptr;
    return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(handle));
}

DynamicLibrary::~DynamicLibrary() {
    ::dlclose(mHandle);
}

void* DynamicLibrary::Symbol(const char* name) const {
    return ::dlsym(mHandle, name);
}

}  // namespace Zarvo

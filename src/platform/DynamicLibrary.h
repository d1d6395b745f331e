// A shared library opened at run time (dlopen) with symbols looked up by name (dlsym).
// Implemented: lazy binding, local symbols. Left out: version queries, unloading while in use.
#pragma once

#include <memory>
#include <string>

namespace Zarvo {

class DynamicLibrary {
public:
    // Opens the library by file name (searched as the system loader does); null when absent.
    static std::unique_ptr<DynamicLibrary> Open(const std::string& name);

    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // The address of a symbol, or null when the library does not export it.
    void* Symbol(const char* name) const;

private:
    explicit DynamicLibrary(void* handle) : mHandle(handle) {}

    void* mHandle;
};

}  // namespace Zarvo

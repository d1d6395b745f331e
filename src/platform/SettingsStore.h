#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/SettingsValues.h"

namespace Zarvo {

// The per-user store of typed setting values under the application's key. A value is named by a
// sub-key path ("" for the key itself) and a value name. Implementations: IniSettingsStore (a
// file, replaced atomically on every write) and MemorySettingsStore (tests).
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Stores a value of the given type (a SettingsValues::Type); false on failure.
    virtual bool Write(const std::string& subKey, const std::string& name, uint32_t type,
                       const std::vector<uint8_t>& data) = 0;
    // Reads a value; false (outputs untouched) when it does not exist or cannot be read.
    virtual bool Read(const std::string& subKey, const std::string& name, uint32_t& type,
                      std::vector<uint8_t>& data) = 0;
    // Removes a value; a missing value is not an error.
    virtual bool Delete(const std::string& subKey, const std::string& name) = 0;
};

}  // namespace Zarvo

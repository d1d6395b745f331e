#pragma once
#include "platform/SettingsStore.h"
#include "platform/SettingsValues.h"

namespace Zarvo {

// Settings kept in memory only; `failWrites` makes every write fail like an unwritable store.
class MemorySettingsStore : public SettingsStore {
public:
    bool Write(const std::string& subKey, const std::string& name, uint32_t type,
               const std::vector<uint8_t>& data) override;
    bool Read(const std::string& subKey, const std::string& name, uint32_t& type,
              std::vector<uint8_t>& data) override;
    bool Delete(const std::string& subKey, const std::string& name) override;

    SettingsValues values;
    bool failWrites = false;
    int writeCount = 0;
    int readCount = 0;
};

}  // namespace Zarvo

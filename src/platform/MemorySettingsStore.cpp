#include "platform/MemorySettingsStore.h"

namespace Zarvo {

bool MemorySettingsStore::Write(const std::string& subKey, const std::string& name, uint32_t type,
                                const std::vector<uint8_t>& data) {
    ++writeCount;
    if (failWrites) return false;
    values.Set(subKey, name, SettingsValues::Value{type, data});
    return true;
}

bool MemorySettingsStore::Read(const std::string& subKey, const std::string& name, uint32_t& type,
                               std::vector<uint8_t>& data) {
    ++readCount;
    SettingsValues::Value v;
    if (!values.Get(subKey, name, v)) return false;
    type = v.type;
    data = std::move(v.data);
    return true;
}

bool MemorySettingsStore::Delete(const std::string& subKey, const std::string& name) {
    if (failWrites) return false;
    values.Remove(subKey, name);
    return true;
}

}  // namespace Zarvo

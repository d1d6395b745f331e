#include "platform/IniSettingsStore.h"

#include "platform/AtomicFile.h"
#include "platform/SettingsValues.h"

namespace Zarvo {

namespace {
SettingsValues Load(const std::string& path) {
    SettingsValues values;
    std::string text;
    if (AtomicFile::Read(path, SettingsValues::kMaxTextSize, text)) values.Parse(text);
    return values;
}

bool Save(const std::string& path, const SettingsValues& values) {
    const std::string text = values.Serialize();
    return AtomicFile::Write(path, text.data(), text.size());
}
}  // namespace

bool IniSettingsStore::Write(const std::string& subKey, const std::string& name, uint32_t type,
                             const std::vector<uint8_t>& data) {
    SettingsValues values = Load(path_);
    values.Set(subKey, name, SettingsValues::Value{type, data});
    return Save(path_, values);
}

bool IniSettingsStore::Read(const std::string& subKey, const std::string& name, uint32_t& type,
                            std::vector<uint8_t>& data) {
    SettingsValues::Value v;
    if (!Load(path_).Get(subKey, name, v)) return false;
    type = v.type;
    data = std::move(v.data);
    return true;
}

bool IniSettingsStore::Delete(const std::string& subKey, const std::string& name) {
    SettingsValues values = Load(path_);
    if (!values.Remove(subKey, name)) return true;
    return Save(path_, values);
}

}  // namespace Zarvo

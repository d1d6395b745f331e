#include "frame/TypedSettings.h"

#include <algorithm>
#include <vector>

#include "platform/SettingsStore.h"

namespace Zarvo {

namespace {

// Splits "Sub\Key\Name" into the sub-key "Sub\Key" and the value name "Name".
void SplitValueName(const std::string& name, std::string& subKey, std::string& valueName) {
    const size_t slash = name.rfind('\\');
    if (slash == std::string::npos) {
        subKey.clear();
        valueName = name;
    } else {
        subKey = name.substr(0, slash);
        valueName = name.substr(slash + 1);
    }
}

}  // namespace

bool TypedSettings::WriteData(const std::string& name, const void* bytes, size_t length,
                              uint32_t type) {
    if (!store_ || (length > 0 && !bytes)) return false;
    std::string subKey, valueName;
    SplitValueName(name, subKey, valueName);
    const auto* p = static_cast<const uint8_t*>(bytes);
    return store_->Write(subKey, valueName, type, std::vector<uint8_t>(p, p + length));
}

bool TypedSettings::WriteString(const std::string& name, const std::string& text) {
    return WriteData(name, text.c_str(), text.size() + 1, kString);
}

bool TypedSettings::WriteInteger(const std::string& name, int value) {
    const uint32_t v = static_cast<uint32_t>(value);
    const uint8_t bytes[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                              static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
    return WriteData(name, bytes, 4, kDword);
}

bool TypedSettings::WriteBoolean(const std::string& name, bool value) {
    return WriteInteger(name, value ? 1 : 0);
}

bool TypedSettings::ReadData(const std::string& name, void* buffer, size_t& length,
                             uint32_t& type) {
    if (!store_) return false;
    std::string subKey, valueName;
    SplitValueName(name, subKey, valueName);
    uint32_t t = 0;
    std::vector<uint8_t> data;
    if (!store_->Read(subKey, valueName, t, data)) return false;
    if (data.size() > length || (!data.empty() && !buffer)) return false;
    if (!data.empty()) std::copy(data.begin(), data.end(), static_cast<uint8_t*>(buffer));
    length = data.size();
    type = t;
    return true;
}

bool TypedSettings::ReadInteger(const std::string& name, int& value) {
    uint8_t bytes[4];
    size_t length = sizeof bytes;
    uint32_t type = 0;
    if (!ReadData(name, bytes, length, type) || type != kDword || length != 4) return false;
    value = static_cast<int>(
        static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
        static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24);
    return true;
}

bool TypedSettings::ReadBoolean(const std::string& name, bool& value) {
    int v = 0;
    if (!ReadInteger(name, v)) return false;
    value = v != 0;
    return true;
}

bool TypedSettings::ReadString(const std::string& name, std::string& text) {
    if (!store_) return false;
    std::string subKey, valueName;
    SplitValueName(name, subKey, valueName);
    uint32_t type = 0;
    std::vector<uint8_t> data;
    if (!store_->Read(subKey, valueName, type, data) || type != kString) return false;
    std::string s(data.begin(), data.end());
    const size_t nul = s.find('\0');
    if (nul != std::string::npos) s.resize(nul);
    text = s;
    return true;
}

bool TypedSettings::DeleteValue(const std::string& name) {
    if (!store_) return false;
    std::string subKey, valueName;
    SplitValueName(name, subKey, valueName);
    return store_->Delete(subKey, valueName);
}

}  // namespace Zarvo

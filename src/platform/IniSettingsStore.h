#pragma once
#include "platform/SettingsStore.h"

namespace Zarvo {

// Settings in a text file (see SettingsValues for its form). Every read looks at the file as it
// is now; every write reads it, changes the one value and replaces the file atomically. A
// missing, unreadable or garbled file reads as holding nothing (or only its intact lines).
class IniSettingsStore : public SettingsStore {
public:
    explicit IniSettingsStore(std::string path) : path_(std::move(path)) {}
    bool Write(const std::string& subKey, const std::string& name, uint32_t type,
               const std::vector<uint8_t>& data) override;
    bool Read(const std::string& subKey, const std::string& name, uint32_t& type,
              std::vector<uint8_t>& data) override;
    bool Delete(const std::string& subKey, const std::string& name) override;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

}  // namespace Zarvo

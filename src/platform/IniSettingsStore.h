#pragma once
#include <functional>
#include <set>
#include <string>

#include "platform/SettingsStore.h"
#include "platform/SettingsValues.h"

namespace Zarvo {

// Settings in a text file (see SettingsValues for its form). Every read looks at the file as it
// is now; every write reads it, changes the one value and replaces the file atomically.
//
// Problems are told once each, as one line on standard error (or to the reporter given):
// - a missing file reads as empty; an existing one that cannot be read (no permission, a folder,
//   too large) reads as empty too, and is never overwritten, since that would lose its values;
// - a damaged file keeps its intact values; the first write that replaces it first keeps a copy
//   of it beside it as settings.ini.damaged;
// - a write that fails (unwritable folder) leaves the old file as it was.
class IniSettingsStore : public SettingsStore {
public:
    using Reporter = std::function<void(const std::string& line)>;

    explicit IniSettingsStore(std::string path, Reporter reporter = nullptr);
    bool Write(const std::string& subKey, const std::string& name, uint32_t type,
               const std::vector<uint8_t>& data) override;
    bool Read(const std::string& subKey, const std::string& name, uint32_t& type,
              std::vector<uint8_t>& data) override;
    bool Delete(const std::string& subKey, const std::string& name) override;
    const std::string& Path() const { return path_; }

private:
    struct Loaded {
        bool readable = false;  // missing counts as readable (and empty)
        std::string problem;    // why an existing file cannot be read
        std::string text;
        SettingsValues values;
    };
    Loaded Load() const;
    // Replaces the file with `values`; false (told) when the file cannot be read or written.
    bool Save(const Loaded& loaded, const SettingsValues& values);
    void Report(const std::string& line);
    void ReportUnreadable(const Loaded& loaded);

    std::string path_;
    Reporter reporter_;
    std::set<std::string> reported_;
    bool damagedCopyKept_ = false;
};

}  // namespace Zarvo

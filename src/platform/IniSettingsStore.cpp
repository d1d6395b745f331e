#include "platform/IniSettingsStore.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/AtomicFile.h"

namespace Zarvo {

IniSettingsStore::IniSettingsStore(std::string path, Reporter reporter)
    : path_(std::move(path)), reporter_(std::move(reporter)) {}

IniSettingsStore::Loaded IniSettingsStore::Load() const {
    namespace fs = std::filesystem;
    Loaded loaded;
    std::error_code ec;
    const fs::file_status status = fs::status(path_, ec);
    if (!fs::exists(status)) {
        loaded.readable = true;
        return loaded;
    }
    if (fs::is_directory(status)) {
        loaded.problem = "it is a folder";
        return loaded;
    }
    errno = 0;
    if (!AtomicFile::Read(path_, SettingsValues::kMaxTextSize, loaded.text)) {
        const uintmax_t size = fs::file_size(path_, ec);
        if (!ec && size > SettingsValues::kMaxTextSize)
            loaded.problem = "it is too large";
        else
            loaded.problem = errno != 0 ? std::strerror(errno) : "it is not a regular file";
        return loaded;
    }
    loaded.readable = true;
    loaded.values.Parse(loaded.text);
    return loaded;
}

void IniSettingsStore::Report(const std::string& line) {
    if (!reported_.insert(line).second) return;
    if (reporter_) {
        reporter_(line);
    } else {
        std::fprintf(stderr, "%s\n", line.c_str());
    }
}

void IniSettingsStore::ReportUnreadable(const Loaded& loaded) {
    Report("The settings file " + path_ + " cannot be read (" + loaded.problem +
           "): the defaults are used and the settings are not saved");
}

bool IniSettingsStore::Save(const Loaded& loaded, const SettingsValues& values) {
    if (!loaded.readable) {
        ReportUnreadable(loaded);
        return false;
    }
    const size_t damaged = loaded.values.SkippedLines();
    if (damaged > 0 && !damagedCopyKept_) {
        const std::string copy = path_ + ".damaged";
        damagedCopyKept_ = AtomicFile::Write(copy, loaded.text.data(), loaded.text.size());
        Report("The settings file " + path_ + " was damaged: its readable values are kept, " +
               std::to_string(damaged) + " unreadable line(s) are dropped" +
               (damagedCopyKept_ ? " (the damaged file is kept as " + copy + ")" : ""));
    }
    const std::string text = values.Serialize();
    errno = 0;
    if (!AtomicFile::Write(path_, text.data(), text.size())) {
        Report("Cannot save the settings to " + path_ + ": " +
               (errno != 0 ? std::strerror(errno) : "the write failed"));
        return false;
    }
    return true;
}

bool IniSettingsStore::Write(const std::string& subKey, const std::string& name, uint32_t type,
                             const std::vector<uint8_t>& data) {
    const Loaded loaded = Load();
    SettingsValues values = loaded.values;
    values.Set(subKey, name, SettingsValues::Value{type, data});
    return Save(loaded, values);
}

bool IniSettingsStore::Read(const std::string& subKey, const std::string& name, uint32_t& type,
                            std::vector<uint8_t>& data) {
    const Loaded loaded = Load();
    if (!loaded.readable) {
        ReportUnreadable(loaded);
        return false;
    }
    SettingsValues::Value v;
    if (!loaded.values.Get(subKey, name, v)) return false;
    type = v.type;
    data = std::move(v.data);
    return true;
}

bool IniSettingsStore::Delete(const std::string& subKey, const std::string& name) {
    const Loaded loaded = Load();
    SettingsValues values = loaded.values;
    if (loaded.readable && !values.Remove(subKey, name)) return true;
    return Save(loaded, values);
}

}  // namespace Zarvo

#pragma once
#include <string>

namespace Zarvo {

// Per-user folders of the XDG base directory convention and the program's own location.
class Paths {
public:
    static std::string ConfigHome();  // $XDG_CONFIG_HOME, else ~/.config
    static std::string DataHome();    // $XDG_DATA_HOME, else ~/.local/share
    static std::string CacheHome();   // $XDG_CACHE_HOME, else ~/.cache
    // $XDG_RUNTIME_DIR when usable, else a per-user folder under /tmp.
    static std::string RuntimeDir();
    static std::string ExecutablePath();
    // The settings file of a settings key: ConfigHome / the key with '\' as folder separator /
    // settings.ini. Empty, "." and ".." parts of the key are dropped. Empty for an empty key.
    static std::string SettingsFileFor(const std::string& key);
    // Joins `parts` below `base` as folders, dropping empty, "." and ".." parts.
    static std::string SafeJoin(const std::string& base, const std::string& relative,
                                char separator);
    // Creates `path` and the folders above it; answers whether it is a folder now, and when
    // not, the reason in `why` (when given).
    static bool MakeFolders(const std::string& path, std::string* why = nullptr);
    // Whether the program at `executablePath` runs from an installed tree: its own folder
    // holds no game data ("main.pak" or a "properties" folder) and "../share/<dataName>"
    // beside it is a folder. Such a tree may be read-only and shared by every user.
    static bool IsInstalledLayout(const std::string& executablePath, const std::string& dataName);
};

}  // namespace Zarvo

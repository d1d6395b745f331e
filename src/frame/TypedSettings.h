#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace Zarvo {

class SettingsStore;

// Typed access to the settings store of the application's key. A value name may hold
// backslashes: everything before the last one names the sub-key ("Test3D\Version"). Integers
// and booleans are 32-bit values of type kDword (booleans 0 or 1), strings of type kString with
// their terminating zero. Without a store (the application has no key) every read and write
// fails. A failed read leaves the caller's variable unchanged.
class TypedSettings {
public:
    enum Type : uint32_t { kString = 1, kBinary = 3, kDword = 4 };

    explicit TypedSettings(SettingsStore* store) : store_(store) {}

    bool WriteString(const std::string& name, const std::string& text);
    bool WriteInteger(const std::string& name, int value);
    bool WriteBoolean(const std::string& name, bool value);
    bool WriteData(const std::string& name, const void* bytes, size_t length, uint32_t type);
    // Succeeds only for a value of type kDword.
    bool ReadInteger(const std::string& name, int& value);
    bool ReadBoolean(const std::string& name, bool& value);
    // Succeeds only for a value of type kString; the text ends at its first zero byte.
    bool ReadString(const std::string& name, std::string& text);
    // Reads up to `length` bytes; on success `length` becomes the value's size and `type` its
    // type. A value longer than the buffer fails.
    bool ReadData(const std::string& name, void* buffer, size_t& length, uint32_t& type);
    // Removes a value; a missing value is not an error.
    bool DeleteValue(const std::string& name);

private:
    SettingsStore* store_;
};

}  // namespace Zarvo

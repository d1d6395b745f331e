// Fuzzes the settings file reader: any text must parse without harm, and what it keeps must
// survive being written out and read back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/SettingsValues.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Zarvo::SettingsValues values;
    if (!values.Parse(std::string_view(reinterpret_cast<const char*>(data), size))) return 0;
    Zarvo::SettingsValues again;
    if (!again.Parse(values.Serialize()) || !(again.All() == values.All())) std::abort();
    return 0;
}

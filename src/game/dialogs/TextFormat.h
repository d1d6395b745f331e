// Number texts of the dialogs, made with a printf pattern that holds one %d.
#pragma once

#include <cstdio>
#include <string>

namespace Kelvane {

inline std::string formatNumber(const char* pattern, int value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

}  // namespace Kelvane

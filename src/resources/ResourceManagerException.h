#pragma once

#include <stdexcept>
#include <string>

namespace Zarvo {

// Thrown by the resource lookups that must succeed; carries the error text.
class ResourceManagerException : public std::runtime_error {
public:
    explicit ResourceManagerException(const std::string& text) : std::runtime_error(text) {}
    const std::string& GetText() const { return text; }

private:
    std::string text = what();
};

}  // namespace Zarvo

#include "resources/ResourceManager.h"

namespace Zarvo {

ResourceManager::~ResourceManager() = default;

}  // namespace Zarvo

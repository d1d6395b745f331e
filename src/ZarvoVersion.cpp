// Keeps each library non-empty while its folders are still filling up.
namespace Zarvo {
extern const char* const kFrameworkName;
const char* const kFrameworkName = "Zarvo";
}  // namespace Zarvo

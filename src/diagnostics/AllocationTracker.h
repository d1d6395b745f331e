// Tracking of the game's heap objects: every object the game code creates is allocated with
// KNEW, which records the source file and line; whatever is still allocated when the process ends
// is written to "mem_leaks.txt" in the working directory (or where SetLeakReportPath says) and
// to standard error. The framework's own objects use the plain `new` and are not tracked.
#pragma once

#include <cstddef>
#include <string>

namespace Zarvo {

// Records one allocation. Does nothing while the table does not exist (before static
// initialisation reached it or after its tear-down).
void AddTrack(void* address, int size, const char* file, int line);
// Forgets one allocation; an address that was never tracked is ignored.
void RemoveTrack(const void* address);
// Writes the report of what is still tracked: into "mem_leaks.txt" (replacing an earlier file)
// and to standard error. Called by the table's tear-down when anything was ever tracked; nothing
// is written when the file cannot be opened.
void WriteLeakReport();
// Sends the report to `path` instead of "mem_leaks.txt" in the working directory (an installed
// program's working directory is its read-only data folder). An empty or overlong path is
// refused and changes nothing.
bool SetLeakReportPath(const std::string& path);
std::string LeakReportPath();
// The report's text for the current table, with the given 24-character date and time.
std::string LeakReportText(const char* dateTime);
// Whether anything was tracked since the process started.
bool TrackedAnything();
// Bytes currently tracked, for tests.
long long TrackedBytes();

}  // namespace Zarvo

// The tracking allocation form. `file` is the source file name as compiled in.
void* operator new(std::size_t size, const char* file, int line);
void* operator new[](std::size_t size, const char* file, int line);
// Matching placement releases, used only when a constructor throws during a tracking allocation.
void operator delete(void* p, const char* file, int line) noexcept;
void operator delete[](void* p, const char* file, int line) noexcept;

// The game's source names are reported with the prefix ".\" and their base name.
#define KNEW new (".\\" __FILE_NAME__, __LINE__)

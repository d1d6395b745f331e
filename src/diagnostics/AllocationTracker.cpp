#include "diagnostics/AllocationTracker.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <mutex>
#include <new>

namespace Zarvo {
namespace {

constexpr std::size_t kFileNameChars = 260;

struct AllocationRecord {
    int size = 0;
    char file[kFileNameChars + 1] = {};
    int line = 0;
};

// The table's own nodes come straight from malloc: going through operator new would track (or,
// in the release, look up) the table's own memory while its lock is held.
template <class T>
struct RawAllocator {
    using value_type = T;
    RawAllocator() = default;
    template <class U>
    RawAllocator(const RawAllocator<U>&) {}
    T* allocate(std::size_t n) {
        void* p = std::malloc(n * sizeof(T));
        if (!p) throw std::bad_alloc();
        return static_cast<T*>(p);
    }
    void deallocate(T* p, std::size_t) { std::free(p); }
    template <class U>
    bool operator==(const RawAllocator<U>&) const {
        return true;
    }
};

using Table = std::map<std::uintptr_t, AllocationRecord, std::less<std::uintptr_t>,
                       RawAllocator<std::pair<const std::uintptr_t, AllocationRecord>>>;

std::atomic<bool> gEnabled{false};
std::atomic<bool> gTrackedAnything{false};
// Where the report goes. A plain array: the report is written during static destruction, when
// a std::string of this file may already be gone.
char gReportPath[4096] = "mem_leaks.txt";

// Set while this thread works inside the table's lock. Memory the tracker itself allocates
// there (the report's text) goes through the plain forms and is never tracked, so its releases
// must not look for a track: that would take the lock a second time and hang the thread.
thread_local bool tInsideTracker = false;

struct InsideTracker {
    InsideTracker() { tInsideTracker = true; }
    ~InsideTracker() { tInsideTracker = false; }
};

// Built during static initialisation, torn down (with the report) during static destruction.
struct TrackerState {
    Table table;
    std::mutex lock;
    TrackerState() { gEnabled = true; }
};

// Made on first use and never destroyed: releases may still arrive after the tear-down, and
// they must find a valid (disabled) table.
TrackerState& State() {
    static TrackerState* state = new (std::malloc(sizeof(TrackerState))) TrackerState();
    return *state;
}

// Creates the table during static initialisation and writes the report during static destruction.
struct TearDown {
    TearDown() { State(); }
    ~TearDown() {
        if (gTrackedAnything) WriteLeakReport();
        gEnabled = false;
    }
} gTearDown;

std::string FormatReport(const Table& table, const char* dateTime) {
    std::string out = "Memory Leak Report for ";
    out += dateTime;
    out += "\n";
    long long total = 0;
    char line[kFileNameChars + 96];
    for (const auto& [address, record] : table) {
        std::snprintf(line, sizeof line, "%s(%d) : Leak %d byte%s\n", record.file, record.line,
                      record.size, record.size > 1 ? "s" : "");
        out += line;
        total += record.size;
    }
    out += "-----------------------------------------------------------\n";
    std::snprintf(line, sizeof line, "Total Unfreed: %d bytes (%dKB)\n\n", static_cast<int>(total),
                  static_cast<int>(total / 1024));
    out += line;
    return out;
}

}  // namespace

void AddTrack(void* address, int size, const char* file, int line) {
    if (!gEnabled || tInsideTracker) return;
    InsideTracker inside;
    TrackerState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    gTrackedAnything = true;
    AllocationRecord& record = state.table[reinterpret_cast<std::uintptr_t>(address)];
    std::strncpy(record.file, file ? file : "", kFileNameChars);
    record.file[kFileNameChars] = '\0';
    record.line = line;
    record.size = size;
}

void RemoveTrack(const void* address) {
    if (!gEnabled || !address || tInsideTracker) return;
    InsideTracker inside;
    TrackerState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    state.table.erase(reinterpret_cast<std::uintptr_t>(address));
}

std::string LeakReportText(const char* dateTime) {
    InsideTracker inside;
    TrackerState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    return FormatReport(state.table, dateTime);
}

void WriteLeakReport() {
    if (!gEnabled) return;
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char dateTime[64];
    // The fixed 24-character form: "Thu Dec 10 10:41:50 2026".
    std::strftime(dateTime, sizeof dateTime, "%a %b %d %H:%M:%S %Y", &local);
    InsideTracker inside;  // outlives the report's text, released under the lock
    TrackerState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    std::FILE* file = std::fopen(gReportPath, "w");
    if (!file) return;
    std::string text = FormatReport(state.table, dateTime);
    std::fputs("\n", stderr);
    std::fputs(text.c_str(), stderr);
    std::fputs(text.c_str(), file);
    std::fclose(file);
}

bool SetLeakReportPath(const std::string& path) {
    if (path.empty() || path.size() >= sizeof gReportPath) return false;
    InsideTracker inside;
    TrackerState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    std::memcpy(gReportPath, path.c_str(), path.size() + 1);
    return true;
}

std::string LeakReportPath() {
    InsideTracker inside;
    TrackerState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    return gReportPath;
}

bool TrackedAnything() {
    return gTrackedAnything;
}

long long TrackedBytes() {
    if (!gEnabled) return 0;
    TrackerState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    long long total = 0;
    for (const auto& entry : state.table) total += entry.second.size;
    return total;
}

}  // namespace Zarvo

namespace {
void* TrackedAllocate(std::size_t size, const char* file, int line) {
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    Zarvo::AddTrack(p, static_cast<int>(size), file, line);
    return p;
}
}  // namespace

void* operator new(std::size_t size, const char* file, int line) {
    return TrackedAllocate(size, file, line);
}
void* operator new[](std::size_t size, const char* file, int line) {
    return TrackedAllocate(size, file, line);
}
void operator delete(void* p, const char*, int) noexcept {
    std::free(p);
}
void operator delete[](void* p, const char*, int) noexcept {
    std::free(p);
}

// The plain forms allocate from the same heap and record nothing; every release forgets its
// address first, so a tracked object deleted with the ordinary `delete` leaves the table.
void* operator new(std::size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    return p;
}
void* operator new[](std::size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    return p;
}
void operator delete(void* p) noexcept {
    Zarvo::RemoveTrack(p);
    std::free(p);
}
void operator delete[](void* p) noexcept {
    Zarvo::RemoveTrack(p);
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    Zarvo::RemoveTrack(p);
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    Zarvo::RemoveTrack(p);
    std::free(p);
}

// The nothrow forms come from the same heap too: left to a run-time library (a sanitizer's, for
// one) they would hand out memory that the releases above do not own.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size ? size : 1);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    Zarvo::RemoveTrack(p);
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    Zarvo::RemoveTrack(p);
    std::free(p);
}

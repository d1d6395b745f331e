#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Zarvo {

// One input event as the widget manager received it, stamped with the number of logic updates
// that had run when it was delivered. Points are in the logical screen's coordinates.
struct DemoEvent {
    enum class Kind : uint8_t {
        kPointerMove = 1,     // x, y
        kPointerPress = 2,    // x, y, value = click count (1, 2, -1, -2, 3)
        kPointerRelease = 3,  // x, y, value = click count (1, -1, 3)
        kWheel = 4,           // value = notches (positive away from the player)
        kKeyDown = 5,         // value = virtual key
        kKeyUp = 6,           // value = virtual key
        kChar = 7,            // value = character (0..255)
        kFocus = 8,           // value = bit 0 active, bit 1 minimised
        kPointerLeave = 9,    // x, y: the pointer left the window there
        kClose = 10,          // the player closed the window
    };
    static constexpr uint8_t kFirstKind = 1;
    static constexpr uint8_t kLastKind = 10;
    static constexpr int kFocusActive = 1;
    static constexpr int kFocusMinimised = 2;

    int update = 0;
    Kind kind = Kind::kPointerMove;
    int x = 0;
    int y = 0;
    int value = 0;

    bool operator==(const DemoEvent&) const = default;
};

// What a replay must restore before its first update.
struct DemoHeader {
    // Loading never completed within the recording.
    static constexpr int kNever = -1;

    uint32_t randomSeed = 0;
    bool windowed = true;
    int refreshHz = 100;
    int updateIntervalMs = 10;
    // The update count at which the loading-completed hook ran, or kNever.
    int loadingCompletedUpdate = kNever;
    // The update count at which the recording ends; no event lies beyond it.
    int endUpdate = 0;

    bool operator==(const DemoHeader&) const = default;
};

struct DemoRecording {
    DemoHeader header;
    std::vector<DemoEvent> events;  // in delivery order, updates never decreasing

    bool operator==(const DemoRecording&) const = default;
};

// The demo file format, little-endian:
//   "KDMO", version (u16), random seed (u32), windowed (u8), refresh rate in Hz (u16),
//   update interval in ms (u16), loading-completed update (i32, -1 for never), end update (i32),
//   event count (u32), then the events, then "DEND".
// Each event is its update as the difference to the previous event's (unsigned LEB128), its
// kind (u8) and the kind's fields as signed LEB128 (zigzag): x and y for the pointer kinds,
// then the value for the kinds that have one. Nothing may follow the end mark.
class DemoFile {
public:
    static constexpr uint16_t kVersion = 1;
    // Larger files are refused rather than read into memory.
    static constexpr size_t kMaxFileSize = 256u << 20;

    static std::string Encode(const DemoRecording& recording);
    // Decodes a whole file. On failure `recording` is left unchanged and `error` says what is
    // wrong in words for the player ("it is cut short", "it was made by another version ...").
    static bool Decode(std::string_view bytes, DemoRecording& recording, std::string& error);

    // Reads and decodes `path`; the error also covers a file that cannot be read.
    static bool Read(const std::string& path, DemoRecording& recording, std::string& error);
    // Writes `recording` to `path` atomically: a crash leaves the old file or the new one.
    static bool Write(const std::string& path, const DemoRecording& recording);
};

}  // namespace Zarvo

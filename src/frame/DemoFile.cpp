#include "frame/DemoFile.h"

#include <filesystem>

#include "platform/AtomicFile.h"

namespace Zarvo {

namespace {

constexpr char kMagic[4] = {'K', 'D', 'M', 'O'};
constexpr char kEndMark[4] = {'D', 'E', 'N', 'D'};
// Magic, version, seed, windowed, refresh rate, interval, loading update, end update, count.
constexpr size_t kHeaderSize = 4 + 2 + 4 + 1 + 2 + 2 + 4 + 4 + 4;
// The smallest event: a one-byte update difference and a kind without fields.
constexpr size_t kSmallestEvent = 2;

bool HasPoint(DemoEvent::Kind kind) {
    return kind == DemoEvent::Kind::kPointerMove || kind == DemoEvent::Kind::kPointerPress ||
           kind == DemoEvent::Kind::kPointerRelease || kind == DemoEvent::Kind::kPointerLeave;
}

bool HasValue(DemoEvent::Kind kind) {
    return kind != DemoEvent::Kind::kPointerMove && kind != DemoEvent::Kind::kPointerLeave &&
           kind != DemoEvent::Kind::kClose;
}

// Whether the value is one the application can have delivered.
bool ValueAllowed(DemoEvent::Kind kind, int value) {
    switch (kind) {
        case DemoEvent::Kind::kPointerPress:
            return value == 1 || value == 2 || value == -1 || value == -2 || value == 3;
        case DemoEvent::Kind::kPointerRelease:
            return value == 1 || value == -1 || value == 3;
        case DemoEvent::Kind::kChar:
            return value >= 0 && value <= 0xFF;
        case DemoEvent::Kind::kFocus:
            return value >= 0 && value <= 3;
        default:
            return true;
    }
}

class Writer {
public:
    void U8(uint8_t v) { out.push_back(static_cast<char>(v)); }
    void U16(uint16_t v) {
        U8(static_cast<uint8_t>(v));
        U8(static_cast<uint8_t>(v >> 8));
    }
    void U32(uint32_t v) {
        U16(static_cast<uint16_t>(v));
        U16(static_cast<uint16_t>(v >> 16));
    }
    void Bytes(const char (&b)[4]) { out.append(b, 4); }
    void Unsigned(uint32_t v) {
        while (v >= 0x80) {
            U8(static_cast<uint8_t>(v | 0x80));
            v >>= 7;
        }
        U8(static_cast<uint8_t>(v));
    }
    void Signed(int32_t v) {
        Unsigned((static_cast<uint32_t>(v) << 1) ^ static_cast<uint32_t>(v >> 31));
    }
    std::string out;
};

// Reads from a byte range; every read fails rather than passing the end.
class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    size_t Remaining() const { return bytes_.size() - pos_; }
    bool U8(uint8_t& v) {
        if (Remaining() < 1) return false;
        v = static_cast<uint8_t>(bytes_[pos_++]);
        return true;
    }
    bool U16(uint16_t& v) {
        uint8_t lo = 0, hi = 0;
        if (!U8(lo) || !U8(hi)) return false;
        v = static_cast<uint16_t>(lo | (hi << 8));
        return true;
    }
    bool U32(uint32_t& v) {
        uint16_t lo = 0, hi = 0;
        if (!U16(lo) || !U16(hi)) return false;
        v = lo | (static_cast<uint32_t>(hi) << 16);
        return true;
    }
    bool Matches(const char (&b)[4]) {
        if (Remaining() < 4 || bytes_.substr(pos_, 4) != std::string_view(b, 4)) return false;
        pos_ += 4;
        return true;
    }
    // Unsigned LEB128 of at most 32 bits; `overlong` tells a number too large from a cut one.
    bool Unsigned(uint32_t& v, bool& overlong) {
        v = 0;
        overlong = false;
        for (int shift = 0; shift < 35; shift += 7) {
            uint8_t b = 0;
            if (!U8(b)) return false;
            if (shift == 28 && (b & 0x70) != 0) {
                overlong = true;
                return false;
            }
            v |= static_cast<uint32_t>(b & 0x7F) << shift;
            if ((b & 0x80) == 0) return true;
        }
        overlong = true;
        return false;
    }
    bool Signed(int32_t& v, bool& overlong) {
        uint32_t u = 0;
        if (!Unsigned(u, overlong)) return false;
        v = static_cast<int32_t>((u >> 1) ^ (0u - (u & 1)));
        return true;
    }

private:
    std::string_view bytes_;
    size_t pos_ = 0;
};

}  // namespace

std::string DemoFile::Encode(const DemoRecording& recording) {
    const DemoHeader& h = recording.header;
    Writer w;
    w.Bytes(kMagic);
    w.U16(kVersion);
    w.U32(h.randomSeed);
    w.U8(h.windowed ? 1 : 0);
    w.U16(static_cast<uint16_t>(h.refreshHz));
    w.U16(static_cast<uint16_t>(h.updateIntervalMs));
    w.U32(static_cast<uint32_t>(h.loadingCompletedUpdate));
    w.U32(static_cast<uint32_t>(h.endUpdate));
    w.U32(static_cast<uint32_t>(recording.events.size()));
    int previous = 0;
    for (const DemoEvent& e : recording.events) {
        w.Unsigned(static_cast<uint32_t>(e.update - previous));
        previous = e.update;
        w.U8(static_cast<uint8_t>(e.kind));
        if (HasPoint(e.kind)) {
            w.Signed(e.x);
            w.Signed(e.y);
        }
        if (HasValue(e.kind)) w.Signed(e.value);
    }
    w.Bytes(kEndMark);
    return std::move(w.out);
}

bool DemoFile::Decode(std::string_view bytes, DemoRecording& recording, std::string& error) {
    Reader r(bytes);
    if (!r.Matches(kMagic)) {
        error = bytes.size() < 4 ? "it is cut short" : "it is not a demo file";
        return false;
    }
    uint16_t version = 0, refreshHz = 0, interval = 0;
    uint8_t windowed = 0;
    uint32_t seed = 0, loading = 0, end = 0, count = 0;
    if (r.U16(version) && version != kVersion) {
        error = "it was made by format version " + std::to_string(version) +
                ", and this program replays version " + std::to_string(kVersion) + " only";
        return false;
    }
    if (bytes.size() < kHeaderSize) {
        error = "it is cut short";
        return false;
    }
    r.U32(seed);
    r.U8(windowed);
    r.U16(refreshHz);
    r.U16(interval);
    r.U32(loading);
    r.U32(end);
    r.U32(count);

    DemoRecording read;
    DemoHeader& h = read.header;
    h.randomSeed = seed;
    h.windowed = windowed != 0;
    h.refreshHz = refreshHz;
    h.updateIntervalMs = interval;
    h.loadingCompletedUpdate = static_cast<int32_t>(loading);
    h.endUpdate = static_cast<int32_t>(end);
    if (windowed > 1 || refreshHz < 1 || refreshHz > 1000 || interval < 1 || interval > 1000 ||
        h.endUpdate < 0 ||
        (h.loadingCompletedUpdate != DemoHeader::kNever &&
         (h.loadingCompletedUpdate < 0 || h.loadingCompletedUpdate > h.endUpdate))) {
        error = "its header is damaged";
        return false;
    }
    // The count cannot promise more events than the bytes can hold.
    if (count > r.Remaining() / kSmallestEvent) {
        error = "it is cut short";
        return false;
    }

    read.events.reserve(count);
    const auto damaged = [&error](uint32_t index, const char* what) {
        error = "it is damaged at event " + std::to_string(index + 1) + " (" + what + ")";
        return false;
    };
    int64_t update = 0;
    for (uint32_t i = 0; i < count; ++i) {
        DemoEvent e;
        uint32_t step = 0;
        uint8_t kind = 0;
        bool overlong = false;
        if (!r.Unsigned(step, overlong) || !r.U8(kind)) {
            if (overlong) return damaged(i, "bad update");
            error = "it is cut short";
            return false;
        }
        update += step;
        if (update > h.endUpdate) return damaged(i, "after the end of the recording");
        if (kind < DemoEvent::kFirstKind || kind > DemoEvent::kLastKind)
            return damaged(i, "unknown kind");
        e.update = static_cast<int>(update);
        e.kind = static_cast<DemoEvent::Kind>(kind);
        int32_t v = 0;
        if (HasPoint(e.kind)) {
            if (!r.Signed(v, overlong)) {
                if (overlong) return damaged(i, "bad number");
                error = "it is cut short";
                return false;
            }
            e.x = v;
            if (!r.Signed(v, overlong)) {
                if (overlong) return damaged(i, "bad number");
                error = "it is cut short";
                return false;
            }
            e.y = v;
        }
        if (HasValue(e.kind)) {
            if (!r.Signed(v, overlong)) {
                if (overlong) return damaged(i, "bad number");
                error = "it is cut short";
                return false;
            }
            if (!ValueAllowed(e.kind, v)) return damaged(i, "impossible value");
            e.value = v;
        }
        read.events.push_back(e);
    }
    if (!r.Matches(kEndMark)) {
        error = r.Remaining() < 4 ? "it is cut short" : "its end mark is missing";
        return false;
    }
    if (r.Remaining() != 0) {
        error = "it has extra bytes after its end";
        return false;
    }
    recording = std::move(read);
    return true;
}

bool DemoFile::Read(const std::string& path, DemoRecording& recording, std::string& error) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        error = "it does not exist";
        return false;
    }
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > kMaxFileSize) {
        error = "it is too large";
        return false;
    }
    std::string bytes;
    if (!AtomicFile::Read(path, kMaxFileSize, bytes)) {
        error = "it cannot be read";
        return false;
    }
    return Decode(bytes, recording, error);
}

bool DemoFile::Write(const std::string& path, const DemoRecording& recording) {
    const std::string bytes = Encode(recording);
    return AtomicFile::Write(path, bytes.data(), bytes.size());
}

}  // namespace Zarvo

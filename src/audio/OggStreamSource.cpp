#include "audio/OggStreamSource.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>

#include "audio/SoundLimits.h"

namespace Zarvo {

struct OggStreamSource::State {
    std::vector<uint8_t> bytes;
    size_t position = 0;
    OggVorbis_File file{};
    bool open = false;
};

namespace {
size_t ReadMemory(void* out, size_t size, size_t count, void* source) {
    auto* state = static_cast<OggStreamSource::State*>(source);
    if (size == 0) return 0;
    const size_t left = state->bytes.size() - state->position;
    const size_t items = std::min(count, left / size);
    // Nothing left (or nothing at all: an empty input has no data pointer to copy from).
    if (items == 0) return 0;
    std::memcpy(out, state->bytes.data() + state->position, items * size);
    state->position += items * size;
    return items;
}

int SeekMemory(void* source, ogg_int64_t offset, int whence) {
    auto* state = static_cast<OggStreamSource::State*>(source);
    ogg_int64_t base = 0;
    if (whence == SEEK_CUR) base = static_cast<ogg_int64_t>(state->position);
    if (whence == SEEK_END) base = static_cast<ogg_int64_t>(state->bytes.size());
    const ogg_int64_t target = base + offset;
    if (target < 0 || target > static_cast<ogg_int64_t>(state->bytes.size())) return -1;
    state->position = static_cast<size_t>(target);
    return 0;
}

long TellMemory(void* source) {
    return static_cast<long>(static_cast<OggStreamSource::State*>(source)->position);
}
}  // namespace

OggStreamSource::OggStreamSource() : state_(std::make_unique<State>()) {}

OggStreamSource::~OggStreamSource() {
    if (state_->open) ov_clear(&state_->file);
}

std::unique_ptr<OggStreamSource> OggStreamSource::Open(std::vector<uint8_t> bytes) {
    std::unique_ptr<OggStreamSource> source(new OggStreamSource());
    State& state = *source->state_;
    state.bytes = std::move(bytes);
    const ov_callbacks callbacks{&ReadMemory, &SeekMemory, nullptr, &TellMemory};
    if (ov_open_callbacks(&state, &state.file, nullptr, 0, callbacks) != 0) return nullptr;
    state.open = true;
    const vorbis_info* info = ov_info(&state.file, -1);
    if (info == nullptr || info->channels < 1 || info->channels > 2 ||
        info->rate < static_cast<long>(SoundLimits::kMinRate) ||
        info->rate > static_cast<long>(SoundLimits::kMaxRate)) {
        return nullptr;
    }
    source->channels_ = info->channels;
    source->rate_ = static_cast<int>(info->rate);
    return source;
}

int OggStreamSource::Read(int16_t* out, int frames) {
    const int frameBytes = channels_ * 2;
    int done = 0;
    while (done < frames) {
        int section = 0;
        const long got = ov_read(&state_->file, reinterpret_cast<char*>(out + done * channels_),
                                 (frames - done) * frameBytes, 0, 2, 1, &section);
        if (got == OV_HOLE) {
            damaged_ = true;
            continue;
        }
        if (got < 0) {
            damaged_ = true;
            break;
        }
        if (got == 0) break;
        const vorbis_info* info = ov_info(&state_->file, section);
        if (info == nullptr || info->channels != channels_ || info->rate != rate_) {
            // A chained section in another format cannot continue this stream.
            damaged_ = true;
            break;
        }
        done += static_cast<int>(got / frameBytes);
    }
    return done;
}

bool OggStreamSource::Seek(int64_t frame) {
    if (!ov_seekable(&state_->file)) return false;
    const ogg_int64_t total = ov_pcm_total(&state_->file, -1);
    const ogg_int64_t target = std::clamp<ogg_int64_t>(frame, 0, std::max<ogg_int64_t>(total, 0));
    return ov_pcm_seek(&state_->file, target) == 0;
}

}  // namespace Zarvo

#include "audio/ModuleSource.h"

#include <libopenmpt/libopenmpt.hpp>

#include "audio/Mixer.h"

namespace Zarvo {

ModuleSource::~ModuleSource() = default;

std::unique_ptr<ModuleSource> ModuleSource::Open(const std::vector<uint8_t>& bytes) {
    if (bytes.empty() || bytes.size() > kMaxBytes) return nullptr;
    std::unique_ptr<ModuleSource> source(new ModuleSource());
    try {
        source->module_ = std::make_unique<openmpt::module>(bytes, source->log_);
    } catch (const std::exception&) {
        return nullptr;
    }
    return source;
}

int ModuleSource::SampleRate() const {
    return Mixer::kSampleRate;
}

int ModuleSource::Read(int16_t* out, int frames) {
    try {
        return static_cast<int>(
            module_->read_interleaved_stereo(Mixer::kSampleRate, static_cast<size_t>(frames), out));
    } catch (const std::exception&) {
        return 0;
    }
}

bool ModuleSource::Seek(int64_t frame) {
    try {
        module_->set_position_seconds(static_cast<double>(frame) / Mixer::kSampleRate);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool ModuleSource::SetLooping(bool looping) {
    try {
        module_->set_repeat_count(looping ? -1 : 0);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool ModuleSource::SeekOrder(int order) {
    try {
        if (order < 0 || order >= module_->get_num_orders()) order = 0;
        module_->set_position_order_row(order, 0);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace Zarvo

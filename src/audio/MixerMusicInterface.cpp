#include "audio/MixerMusicInterface.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <vector>

#include "audio/AudioFile.h"
#include "audio/MemoryPcmSource.h"
#include "audio/Mixer.h"
#include "audio/ModuleSource.h"
#include "audio/OggStreamSource.h"
#include "audio/WavReader.h"

namespace Zarvo {

namespace {
std::string Extension(const std::string& name) {
    const size_t dot = name.rfind('.');
    std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}
}  // namespace

MixerMusicInterface::MixerMusicInterface(std::shared_ptr<Mixer> mixer) : mixer_(std::move(mixer)) {}

MixerMusicInterface::~MixerMusicInterface() {
    unloadAllMusic();
}

MixerMusicInterface::Song* MixerMusicInterface::Find(int id) {
    auto it = songs_.find(id);
    return it == songs_.end() ? nullptr : &it->second;
}

bool MixerMusicInterface::loadMusic(int id, const std::string& fileName) {
    if (!mixer_) return false;
    std::vector<uint8_t> bytes;
    if (!AudioFile::ReadAll(fileName, bytes)) return false;

    Song song;
    std::unique_ptr<PcmSource> source;
    const std::string extension = Extension(fileName);
    if (extension == "wav") {
        auto sound = std::make_shared<SoundData>();
        if (!WavReader::Read(bytes.data(), bytes.size(), *sound)) return false;
        source = std::make_unique<MemoryPcmSource>(std::move(sound));
    } else if (extension == "ogg") {
        source = OggStreamSource::Open(std::move(bytes));
    } else if (extension == "mp3") {
        return false;  // no MP3 decoder on this platform
    } else {
        source = ModuleSource::Open(bytes);
        song.module = true;
    }
    if (!source) return false;
    song.channels = source->Channels();
    song.stream = mixer_->AddStream(std::move(source));
    if (song.stream == 0) return false;
    // A song loaded again under the same id replaces the old one instead of leaking it.
    unloadMusic(id);
    songs_[id] = song;
    return true;
}

void MixerMusicInterface::Apply(Song& song) {
    song.volumeAttribute = static_cast<int>(std::clamp(song.volume * 100.0, 0.0, 100.0));
    const double gain =
        song.volumeAttribute / 100.0 * globalVolume_ * (song.module ? song.amplify : 1.0);
    mixer_->SetStreamGain(song.stream, static_cast<float>(gain));
}

void MixerMusicInterface::Start(Song& song, int offset, bool noLoop) {
    song.looping = !noLoop;
    if (song.module) {
        mixer_->WithStreamSource(
            song.stream, [offset](PcmSource& source) { return source.SeekOrder(offset & 0xFFFF); });
        mixer_->PlayStream(song.stream, song.looping, false);
        return;
    }
    mixer_->PlayStream(song.stream, song.looping, offset != -1);
    if (offset >= 1) {
        const int64_t frame = offset / (2 * song.channels);
        mixer_->WithStreamSource(song.stream,
                                 [frame](PcmSource& source) { return source.Seek(frame); });
    }
}

void MixerMusicInterface::playMusic(int id, int offset, bool noLoop) {
    Song* song = Find(id);
    if (!song) return;
    song->volume = song->volumeCap;
    song->volumeAdd = 0.0;
    song->stopOnFade = noLoop;
    Apply(*song);
    mixer_->StopStream(song->stream);
    Start(*song, offset, noLoop);
}

void MixerMusicInterface::fadeIn(int id, int offset, double speed, bool noLoop) {
    Song* song = Find(id);
    if (!song) return;
    song->volumeAdd = speed;
    song->stopOnFade = noLoop;
    mixer_->StopStream(song->stream);
    Apply(*song);
    if (song->module && offset == -1) {
        mixer_->PlayStream(song->stream, song->looping, true);
    } else {
        Start(*song, offset, noLoop);
    }
}

void MixerMusicInterface::fadeOut(int id, bool stopSong, double speed) {
    Song* song = Find(id);
    if (!song || song->volume == 0.0) return;
    song->volumeAdd = -speed;
    song->stopOnFade = stopSong;
}

void MixerMusicInterface::fadeOutAll(bool stopSong, double speed) {
    for (auto& [id, song] : songs_) fadeOut(id, stopSong, speed);
}

void MixerMusicInterface::update() {
    for (auto& [id, song] : songs_) {
        if (song.volumeAdd == 0.0) continue;
        song.volume += song.volumeAdd;
        if (song.volume > song.volumeCap) {
            song.volume = song.volumeCap;
            song.volumeAdd = 0.0;
        }
        if (song.volume < 0.0) {
            song.volume = 0.0;
            song.volumeAdd = 0.0;
            if (song.stopOnFade) mixer_->StopStream(song.stream);
        }
        Apply(song);
    }
}

void MixerMusicInterface::setSongVolume(int id, double volume) {
    Song* song = Find(id);
    if (!song) return;
    song->volume = volume;
    Apply(*song);
}

void MixerMusicInterface::setSongMaxVolume(int id, double volume) {
    Song* song = Find(id);
    if (!song) return;
    song->volumeCap = volume;
    song->volume = std::min(song->volume, volume);
    Apply(*song);
}

void MixerMusicInterface::stopMusic(int id) {
    Song* song = Find(id);
    if (!song) return;
    song->volume = 0.0;
    mixer_->StopStream(song->stream);
}

void MixerMusicInterface::pauseMusic(int id) {
    if (Song* song = Find(id)) mixer_->PauseStream(song->stream);
}

void MixerMusicInterface::resumeMusic(int id) {
    if (Song* song = Find(id)) mixer_->ResumeStream(song->stream);
}

void MixerMusicInterface::stopAllMusic() {
    for (auto& [id, song] : songs_) stopMusic(id);
}

void MixerMusicInterface::pauseAllMusic() {
    for (auto& [id, song] : songs_) mixer_->PauseStream(song.stream);
}

void MixerMusicInterface::resumeAllMusic() {
    for (auto& [id, song] : songs_) mixer_->ResumeStream(song.stream);
}

void MixerMusicInterface::unloadMusic(int id) {
    Song* song = Find(id);
    if (!song) return;
    stopMusic(id);
    mixer_->RemoveStream(song->stream);
    songs_.erase(id);
}

void MixerMusicInterface::unloadAllMusic() {
    for (auto& [id, song] : songs_) {
        mixer_->StopStream(song.stream);
        mixer_->RemoveStream(song.stream);
    }
    songs_.clear();
}

bool MixerMusicInterface::isPlaying(int id) {
    Song* song = Find(id);
    return song && mixer_->IsStreamPlaying(song->stream);
}

void MixerMusicInterface::setVolume(double volume) {
    globalVolume_ = std::clamp(std::isfinite(volume) ? volume : 0.0, 0.0, 1.0);
    for (auto& [id, song] : songs_) Apply(song);
}

void MixerMusicInterface::setMusicAmplify(int id, double amplify) {
    Song* song = Find(id);
    if (!song || !song->module || !std::isfinite(amplify)) return;
    // Amplification runs 0 .. 100 with 50 as the module's natural level.
    const int level = std::clamp(static_cast<int>(amplify * 100.0), 0, 100);
    song->amplify = level / 50.0;
    Apply(*song);
}

double MixerMusicInterface::GetSongVolume(int id) const {
    auto it = songs_.find(id);
    return it == songs_.end() ? -1.0 : it->second.volume;
}

bool MixerMusicInterface::IsFading(int id) const {
    auto it = songs_.find(id);
    return it != songs_.end() && it->second.volumeAdd != 0.0;
}

int MixerMusicInterface::GetVolumeAttribute(int id) const {
    auto it = songs_.find(id);
    return it == songs_.end() ? 0 : it->second.volumeAttribute;
}

}  // namespace Zarvo

#include "audio/MusicInterface.h"

namespace Zarvo {

MusicInterface::~MusicInterface() = default;

bool MusicInterface::loadMusic(int, const std::string&) {
    return false;
}
void MusicInterface::playMusic(int, int, bool) {}
void MusicInterface::stopMusic(int) {}
void MusicInterface::pauseMusic(int) {}
void MusicInterface::resumeMusic(int) {}
void MusicInterface::stopAllMusic() {}
void MusicInterface::unloadMusic(int) {}
void MusicInterface::unloadAllMusic() {}
void MusicInterface::pauseAllMusic() {}
void MusicInterface::resumeAllMusic() {}
void MusicInterface::fadeIn(int, int, double, bool) {}
void MusicInterface::fadeOut(int, bool, double) {}
void MusicInterface::fadeOutAll(bool, double) {}
void MusicInterface::setSongVolume(int, double) {}
void MusicInterface::setSongMaxVolume(int, double) {}
bool MusicInterface::isPlaying(int) {
    return false;
}
void MusicInterface::setVolume(double) {}
void MusicInterface::setMusicAmplify(int, double) {}
void MusicInterface::update() {}

}  // namespace Zarvo

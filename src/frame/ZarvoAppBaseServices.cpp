// The application object's services: images and loading progress, screen modes, messages to the
// player, audio and the mute model, the settings and the command line, and the operations of
// its dialog table.
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "audio/MusicInterface.h"
#include "audio/SoundManager.h"
#include "frame/CommandLineParser.h"
#include "frame/ZarvoAppBase.h"
#include "graphics/MemoryImage.h"
#include "platform/AtomicFile.h"
#include "resources/ImageLib.h"
#include "widgets/AppDialogTable.h"
#include "widgets/Dialog.h"

namespace Zarvo {

namespace {

// A volume as a whole percentage. The tiny bias keeps a volume such as 0.29, whose product
// with 100 lands just below 29, from losing a percent on every save.
int VolumeToPercent(double volume) {
    return static_cast<int>(volume * 100.0 + 1e-7);
}

double PercentToVolume(int percent) {
    return std::clamp(percent, 0, 100) / 100.0;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Images and loading progress

double ZarvoAppBase::GetLoadingThreadProgress() const {
    if (loadingThreadCompleted_) return 1.0;
    const int total = numLoadingThreadTasks;
    if (total <= 0) return 0.0;
    return std::clamp(static_cast<double>(completedLoadingThreadTasks) / total, 0.0, 1.0);
}

std::unique_ptr<MemoryImage> ZarvoAppBase::GetImage(const std::string& fileName, bool commitBits) {
    std::unique_ptr<MemoryImage> image = ImageLib::LoadMemoryImage(fileName);
    if (image && commitBits) image->CommitBits();
    return image;
}

SharedImageRef ZarvoAppBase::GetSharedImage(const std::string& path, const std::string& variant,
                                            bool* isNew) {
    const bool lookForAlpha = autoFindAlpha;
    return sharedImages_.GetSharedImage(
        path, variant,
        [lookForAlpha](const std::string& name) {
            return ImageLib::LoadMemoryImage(name, lookForAlpha);
        },
        isNew);
}

// ---------------------------------------------------------------------------------------------
// Screen mode

void ZarvoAppBase::ChangeScreenMode(bool newWindowed, bool new3D, bool force) {
    if (!force && newWindowed == windowed && new3D == is3D) return;
    windowed = newWindowed;
    is3D = false;  // no 3-D mode on this platform
    (void)new3D;
    if (window_) CreateMainWindow();
}

void ZarvoAppBase::ChangeScreenMode(bool newWindowed) {
    ChangeScreenMode(newWindowed, is3D, false);
}

void ZarvoAppBase::ChangeScreenMode() {
    ChangeScreenMode(windowed, is3D, true);
}

// ---------------------------------------------------------------------------------------------
// Messages to the player

void ZarvoAppBase::ShowMessageBox(const std::string& title, const std::string& text) {
    platform_->ShowMessageBox(title, text);
}

void ZarvoAppBase::Popup(const std::string& text) {
    // A refused archive is the likely cause of whatever went wrong afterwards.
    ShowMessageBox(LookUpText("FATAL_ERROR", "FATAL ERROR"),
                   refusedPakNote_.empty() ? text : text + "\n" + refusedPakNote_);
}

void ZarvoAppBase::RecordScreenSaverError(const std::string& text) {
    std::FILE* f = std::fopen("ScrError.txt", "a");
    if (!f) return;
    std::fputs(text.c_str(), f);
    std::fclose(f);
}

bool ZarvoAppBase::OpenWebPage(const std::string& url) {
    if (!platform_->OpenUrl(url)) {
        UrlOpenFailed(url);
        return false;
    }
    openingWebPage = true;
    webPageOpenTick = platform_->GetClock().Now();
    webPageAddress = url;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Audio and the mute model

void ZarvoAppBase::PlaySample(int id) {
    if (!soundManager_) return;
    if (SoundInstance* instance = soundManager_->getSoundInstance(id)) instance->play(false, true);
}

void ZarvoAppBase::PlaySample(int id, int pan) {
    if (!soundManager_) return;
    if (SoundInstance* instance = soundManager_->getSoundInstance(id)) {
        instance->setPan(pan);
        instance->play(false, true);
    }
}

double ZarvoAppBase::GetMasterVolume() {
    return soundManager_ ? soundManager_->getMasterVolume() : 1.0;
}

void ZarvoAppBase::SetMasterVolume(double volume) {
    if (soundManager_) soundManager_->setMasterVolume(volume);
}

void ZarvoAppBase::SetMusicVolume(double volume) {
    musicVolume = volume;
    ApplyVolumes();
}

void ZarvoAppBase::SetSfxVolume(double volume) {
    sfxVolume = volume;
    ApplyVolumes();
}

void ZarvoAppBase::Mute(bool automatic) {
    ++muteCount;
    if (automatic) ++autoMuteCount;
    ApplyVolumes();
}

void ZarvoAppBase::Unmute(bool automatic) {
    if (muteCount > 0) {
        --muteCount;
        if (automatic && autoMuteCount > 0) --autoMuteCount;
    }
    ApplyVolumes();
}

void ZarvoAppBase::ApplyVolumes() {
    const bool muted = muteCount > 0;
    if (musicInterface_) musicInterface_->setVolume(muted ? 0.0 : musicVolume);
    if (soundManager_) soundManager_->setVolume(muted ? 0.0 : sfxVolume);
}

// ---------------------------------------------------------------------------------------------
// Settings

void ZarvoAppBase::LoadSettings() {
    registryKey = LookUpText("RegistryKey", registryKey);
    settingsLoaded = true;
    if (registryKey.empty()) return;

    int value = 0;
    bool flag = false;
    if (ReadInteger("MusicVolume", value)) musicVolume = PercentToVolume(value);
    if (ReadInteger("SfxVolume", value)) sfxVolume = PercentToVolume(value);
    if (ReadInteger("Muted", value)) {
        // Only a mute the player chose is stored; a negative count would make muting impossible.
        muteCount = std::max(value, 0);
        autoMuteCount = 0;
    }
    if (ReadInteger("ScreenMode", value)) windowed = value == 0;
    if (ReadInteger("PreferredX", value)) preferredX = value;
    if (ReadInteger("PreferredY", value)) preferredY = value;
    if (ReadInteger("WindowWidth", value)) windowWidth = value;
    if (ReadInteger("WindowHeight", value)) windowHeight = value;
    if (ReadInteger("CustomCursors", value)) EnableCustomCursors(value != 0);
    if (ReadBoolean("WaitForVSync", flag)) waitForVSync = flag;
    if (ReadInteger("InProgress", value)) previousRunEndedNormally = value == 0;
    if (!screenSaverMode) WriteInteger("InProgress", 1);
    ApplyVolumes();
}

void ZarvoAppBase::SaveSettings() {
    WriteInteger("MusicVolume", VolumeToPercent(musicVolume));
    WriteInteger("SfxVolume", VolumeToPercent(sfxVolume));
    WriteInteger("Muted", muteCount > autoMuteCount ? 1 : 0);
    WriteInteger("ScreenMode", windowed ? 0 : 1);
    WriteInteger("PreferredX", preferredX);
    WriteInteger("PreferredY", preferredY);
    WriteInteger("WindowWidth", windowWidth);
    WriteInteger("WindowHeight", windowHeight);
    WriteInteger("CustomCursors", customCursorsEnabled ? 1 : 0);
    WriteInteger("InProgress", 0);
    WriteBoolean("WaitForVSync", waitForVSync);
}

TypedSettings ZarvoAppBase::Settings() {
    return TypedSettings(registryKey.empty() ? nullptr : &platform_->Settings(registryKey));
}

bool ZarvoAppBase::WriteData(const std::string& name, const void* bytes, size_t length,
                             uint32_t type) {
    return Settings().WriteData(name, bytes, length, type);
}

bool ZarvoAppBase::WriteString(const std::string& name, const std::string& text) {
    return Settings().WriteString(name, text);
}

bool ZarvoAppBase::WriteInteger(const std::string& name, int value) {
    return Settings().WriteInteger(name, value);
}

bool ZarvoAppBase::WriteBoolean(const std::string& name, bool value) {
    return Settings().WriteBoolean(name, value);
}

bool ZarvoAppBase::ReadData(const std::string& name, void* buffer, size_t& length, uint32_t& type) {
    return Settings().ReadData(name, buffer, length, type);
}

bool ZarvoAppBase::ReadInteger(const std::string& name, int& value) {
    return Settings().ReadInteger(name, value);
}

bool ZarvoAppBase::ReadBoolean(const std::string& name, bool& value) {
    return Settings().ReadBoolean(name, value);
}

bool ZarvoAppBase::ReadString(const std::string& name, std::string& text) {
    return Settings().ReadString(name, text);
}

bool ZarvoAppBase::DeleteValue(const std::string& name) {
    return Settings().DeleteValue(name);
}

bool ZarvoAppBase::WriteWholeFile(const std::string& path, const void* bytes, size_t length) {
    return AtomicFile::Write(path, bytes, length);
}

// ---------------------------------------------------------------------------------------------
// Command line

void ZarvoAppBase::SetCommandLine(int argc, const char* const* argv) {
    commandArguments_.clear();
    for (int i = 1; i < argc; ++i) commandArguments_.emplace_back(argv[i] ? argv[i] : "");
    commandLine_.clear();
    commandLineIsText_ = false;
}

void ZarvoAppBase::SetCommandLineText(const std::string& text) {
    commandLine_ = text;
    commandArguments_.clear();
    commandLineIsText_ = true;
}

void ZarvoAppBase::ParseOwnCommandLine() {
    commandLineParsed_ = true;
    const std::vector<CommandLineParser::Option> options =
        commandLineIsText_ ? CommandLineParser::ParseCommandLine(commandLine_)
                           : CommandLineParser::ParseArguments(commandArguments_);
    for (const CommandLineParser::Option& option : options) {
        ApplyCommandLineOption(option.name, option.value);
    }
}

void ZarvoAppBase::ParseCommandLineText(const std::string& text) {
    for (const CommandLineParser::Option& option : CommandLineParser::ParseText(text)) {
        ApplyCommandLineOption(option.name, option.value);
    }
}

void ZarvoAppBase::ApplyCommandLineOption(const std::string& name, const std::string& value) {
    // A number out of range is clamped, never undefined.
    const auto number = [&value] {
        const long n = std::strtol(value.c_str(), nullptr, 10);
        return static_cast<int>(std::clamp<long>(n, INT_MIN, INT_MAX));
    };
    const std::string base = demoFileName.size() > 4 && demoFileName.ends_with(".dmo")
                                 ? demoFileName.substr(0, demoFileName.size() - 4)
                                 : demoFileName;
    // The demo options only choose what Init and Start do: replay (read at start-up) or record.
    if (name == "-play") {
        demoReplayRequested = true;
    } else if (name == "-recnum") {
        recordingDemo = true;
        demoNumber = number() > 0 ? number() : 5;
        demoFileName = base + std::to_string(demoNumber) + ".dmo";
    } else if (name == "-playnum") {
        demoReplayRequested = true;
        demoNumber = number();
        demoFileName = base + std::to_string(demoNumber) + ".dmo";
    } else if (name == "-record") {
        recordingDemo = true;
    } else if (name == "-demofile") {
        demoFileName = (!value.empty() && value.front() != '/') ? appDataFolder + value : value;
    } else if (name == "-crash") {
        // Reserved for the crash reporter.
    } else if (name == "-screensaver") {
        screenSaverMode = true;
    } else if (name == "-fast") {
        fastMode = true;
    } else if (name == "-showfps") {
        statisticsOverlay_.SetMode(value == "mouse" ? StatisticsOverlay::Mode::kMousePosition
                                                    : StatisticsOverlay::Mode::kFramesPerSecond);
    } else if (name == "-changedir") {
        changeDirTarget = value;
        changeDirGiven_ = true;
    } else {
        Popup(LookUpText("INVALID_COMMANDLINE_PARAM", "Invalid command line parameter: ") +
              CommandLineParser::EchoText(name));
        ExitProcessWith(kExitUsageError);
    }
}

// ---- Dialogs

Dialog* ZarvoAppBase::MakeDialog(int dialogId, bool isModal, const std::string& header,
                                 const std::string& lines, const std::string& footer,
                                 int buttonMode) {
    return dialogs_->DialogTable::MakeDialog(dialogId, isModal, header, lines, footer, buttonMode);
}

Dialog* ZarvoAppBase::ShowDialog(int dialogId, bool isModal, const std::string& header,
                                 const std::string& lines, const std::string& footer,
                                 int buttonMode) {
    RemoveDialog(dialogId);
    Dialog* dialog = MakeDialog(dialogId, isModal, header, lines, footer, buttonMode);
    AddDialog(dialogId, dialog);
    return dialog;
}

Dialog* ZarvoAppBase::FindDialog(int dialogId) {
    return dialogs_->FindDialog(dialogId);
}

void ZarvoAppBase::AddDialog(int dialogId, Dialog* dialog) {
    // A game may change the logical size after construction.
    dialogs_->width = width;
    dialogs_->height = height;
    dialogs_->AddDialog(dialogId, dialog);
}

void ZarvoAppBase::AddDialog(Dialog* dialog) {
    AddDialog(dialog->id, dialog);
}

bool ZarvoAppBase::RemoveDialog(int dialogId, bool removeWidget, bool deleteWidget) {
    return dialogs_->RemoveDialog(dialogId, removeWidget, deleteWidget);
}

bool ZarvoAppBase::RemoveDialog(int dialogId) {
    return RemoveDialog(dialogId, true, true);
}

bool ZarvoAppBase::RemoveDialog(Dialog* dialog) {
    return RemoveDialog(dialog->id);
}

void ZarvoAppBase::DeleteDialogLater(Dialog* dialog) {
    DeleteWidgetLater(dialog);
}

int ZarvoAppBase::GetDialogCount() {
    return dialogs_->GetDialogCount();
}

void ZarvoAppBase::DialogButtonPress(int dialogId, int buttonId) {
    dialogs_->DialogButtonPress(dialogId, buttonId);
}

void ZarvoAppBase::DialogButtonDepress(int dialogId, int buttonId) {
    dialogs_->DialogButtonDepress(dialogId, buttonId);
}

}  // namespace Zarvo

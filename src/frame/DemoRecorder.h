#pragma once
#include <functional>
#include <string>

#include "frame/DemoFile.h"

namespace Zarvo {

// Collects the input of a run in memory and keeps its demo file up to date: every
// kCheckpointUpdates updates the file is rewritten (atomically) as a complete recording that
// ends at that update, so a run cut short by a crash still leaves a demo of all but its last
// seconds, and never a half-written file. Finish writes the whole recording.
class DemoRecorder {
public:
    // Writes a recording to a path; false on failure.
    using WriteFunction = std::function<bool(const std::string&, const DemoRecording&)>;
    static constexpr int kCheckpointUpdates = 1000;

    DemoRecorder(std::string path, const DemoHeader& header,
                 WriteFunction write = &DemoFile::Write);

    // Appends an event; its update must not be below the last one's. Ignored once finished.
    void Record(const DemoEvent& event);
    void LoadingCompleted(int update);
    // Called after every update with the total count; writes a checkpoint when one is due.
    // False when that write failed.
    bool UpdateDone(int totalUpdates);
    // Ends the recording at `endUpdate` and writes it; false when it could not be written.
    // Only the first call does anything.
    bool Finish(int endUpdate);

    bool Finished() const { return finished_; }
    const std::string& Path() const { return path_; }
    const DemoRecording& Recording() const { return recording_; }

private:
    bool WriteUpTo(int endUpdate);

    std::string path_;
    DemoRecording recording_;
    WriteFunction write_;
    bool finished_ = false;
};

}  // namespace Zarvo

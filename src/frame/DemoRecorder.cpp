#include "frame/DemoRecorder.h"

#include <cassert>
#include <utility>

namespace Zarvo {

DemoRecorder::DemoRecorder(std::string path, const DemoHeader& header, WriteFunction write)
    : path_(std::move(path)), write_(std::move(write)) {
    recording_.header = header;
    recording_.header.loadingCompletedUpdate = DemoHeader::kNever;
    recording_.header.endUpdate = 0;
}

void DemoRecorder::Record(const DemoEvent& event) {
    if (finished_) return;
    assert((recording_.events.empty() || recording_.events.back().update <= event.update) &&
           "DemoRecorder: events must come in update order");
    recording_.events.push_back(event);
}

void DemoRecorder::LoadingCompleted(int update) {
    if (!finished_ && recording_.header.loadingCompletedUpdate == DemoHeader::kNever)
        recording_.header.loadingCompletedUpdate = update;
}

bool DemoRecorder::UpdateDone(int totalUpdates) {
    if (finished_ || totalUpdates % kCheckpointUpdates != 0) return true;
    return WriteUpTo(totalUpdates);
}

bool DemoRecorder::Finish(int endUpdate) {
    if (finished_) return true;
    finished_ = true;
    return WriteUpTo(endUpdate);
}

bool DemoRecorder::WriteUpTo(int endUpdate) {
    // Whatever has been recorded by now belongs to the recording, whatever the caller says.
    if (!recording_.events.empty() && recording_.events.back().update > endUpdate)
        endUpdate = recording_.events.back().update;
    if (recording_.header.loadingCompletedUpdate > endUpdate)
        endUpdate = recording_.header.loadingCompletedUpdate;
    recording_.header.endUpdate = endUpdate;
    return write_(path_, recording_);
}

}  // namespace Zarvo

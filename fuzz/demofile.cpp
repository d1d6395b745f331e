// Fuzzes the demo file reader: any file must be replayable or refused with a reason, never
// harm. A file that is accepted holds events in update order up to its end, with a loading
// update inside the recording, and what it holds survives being written and read again.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "FuzzFile.h"
#include "frame/DemoFile.h"
#include "frame/DemoPlayer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Zarvo::DemoRecording recording;
    std::string error;
    const bool decoded = Zarvo::DemoFile::Decode(bytes, recording, error);
    if (decoded != error.empty()) std::abort();

    // The file path gives the same verdict as the bytes.
    const std::string path = WriteFuzzInput(data, size, ".dmo");
    if (!path.empty()) {
        Zarvo::DemoRecording fromFile;
        std::string fileError;
        if (Zarvo::DemoFile::Read(path, fromFile, fileError) != decoded) std::abort();
        if (decoded && !(fromFile == recording)) std::abort();
    }
    if (!decoded) return 0;

    const Zarvo::DemoHeader& header = recording.header;
    if (header.loadingCompletedUpdate != Zarvo::DemoHeader::kNever &&
        (header.loadingCompletedUpdate < 0 || header.loadingCompletedUpdate > header.endUpdate))
        std::abort();
    // Played update by update, every event comes out once, in order, by the end.
    Zarvo::DemoPlayer player(recording);
    int last = 0;
    for (const Zarvo::DemoEvent& e : recording.events) {
        if (e.update < last || e.update > header.endUpdate) std::abort();
        last = e.update;
        Zarvo::DemoEvent taken;
        if (!player.TakeDue(e.update, taken) || !(taken == e)) std::abort();
    }
    if (player.HasDue(header.endUpdate) || !player.AtEnd(header.endUpdate)) std::abort();

    Zarvo::DemoRecording again;
    if (!Zarvo::DemoFile::Decode(Zarvo::DemoFile::Encode(recording), again, error) ||
        !(again == recording))
        std::abort();
    return 0;
}

// Opening music streams from bytes that are not a whole Ogg Vorbis file.
#include <gtest/gtest.h>

#include <vector>

#include "audio/OggStreamSource.h"
#include "audio/TestSounds.h"

namespace Zarvo {
namespace {

TEST(OggStreamSource, EmptyOrCutShortInputOpensNoStream) {
    const std::vector<uint8_t> whole = TestData::OggBytes(TestData::Sine(22050, 1, 50, 8000, 2000));
    const std::vector<std::vector<uint8_t>> inputs = {
        {},                                                       // nothing at all
        {'O', 'g', 'g', 'S'},                                     // a page mark and no page
        std::vector<uint8_t>(whole.begin(), whole.begin() + 40),  // cut inside the headers
    };
    for (const std::vector<uint8_t>& bytes : inputs) {
        EXPECT_EQ(OggStreamSource::Open(bytes), nullptr) << bytes.size() << " bytes";
    }
    EXPECT_NE(OggStreamSource::Open(whole), nullptr);
}

}  // namespace
}  // namespace Zarvo

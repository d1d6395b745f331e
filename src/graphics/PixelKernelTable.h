// The table of row kernels one instruction set provides, for the dispatch in PixelKernels.cpp.
// Each table starts as a copy of the level below it and replaces the kernels it has its own
// version of.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/PixelKernels.h"

namespace Zarvo::PixelKernels {

struct KernelTable {
    void (*fillRowOpaque)(uint32_t* p, int count, uint32_t packed);
    void (*fillRowBlend)(uint32_t* p, int count, uint32_t packed, const uint16_t* blend);
    void (*blendRowOntoOpaque)(uint32_t* d, const uint32_t* s, int count);
    void (*compositeRowOntoOpaque)(uint32_t* d, const uint32_t* s, int count);
    void (*compositeRow)(uint32_t* d, const uint32_t* s, int count, const uint16_t* blend);
    void (*tintRow)(uint32_t* d, const uint32_t* s, int count, const Color& c,
                    const uint8_t* effAlpha, const uint32_t* tintR, const uint32_t* tintG,
                    const uint32_t* tintB, const uint16_t* blend);
    void (*addRow)(uint32_t* d, const uint32_t* s, int count, int kR, int kG, int kB, bool srcAlpha,
                   const uint32_t* addR, const uint32_t* addG, const uint32_t* addB,
                   const uint8_t* sat);
    void (*accumulateRowTaps)(uint16_t* out, const uint32_t* s, int firstCol,
                              const std::vector<Tap>& taps,
                              const std::vector<uint64_t>& weightLanes);
    void (*accumulateColumnTap)(uint32_t* acc, const uint16_t* in, int count, uint32_t weight);
    void (*finishFilteredRow)(uint32_t* d, const uint32_t* acc, int count);
    // Null where a level has no version of its own (the rows go to compositeRowOntoOpaque).
    void (*compositeRectOntoOpaque)(uint32_t* d, int dPitch, const uint32_t* s, int sPitch,
                                    int width, int height);
    void (*gatherRow)(uint32_t* out, const uint32_t* s, int srcCount, const int32_t* columns,
                      int count);
    void (*expandIndices)(uint32_t* out, const uint8_t* indices, const uint32_t* table, int count);
    // Null where a level has no version of its own (rows expanded, then the row kernels).
    void (*compositeRectOntoOpaqueIndexed)(uint32_t* d, int dPitch, const SourceRect& s, int width,
                                           int height);
    void (*tintRect)(uint32_t* d, int dPitch, const SourceRect& s, int width, int height,
                     const Color& c, const uint8_t* effAlpha, const uint32_t* tintR,
                     const uint32_t* tintG, const uint32_t* tintB, const uint16_t* blend);
    // Null where a level has no version of its own (the row is filled, then composited).
    void (*compositeRowOverColor)(uint32_t* d, const uint32_t* s, int count, uint32_t under,
                                  const uint16_t* blend);
    // The pair kernels: null where a level has no vector version (the reference stands in).
    void (*accumulateRowPairs)(uint16_t* out, const uint32_t* s, int srcCount,
                               const TapPairs& pairs);
    void (*finishFilteredRowPair)(uint32_t* d, const uint16_t* in0, uint32_t w0,
                                  const uint16_t* in1, uint32_t w1, int count);
    // Null where a level has no version of its own (images are drawn from their pixels).
    void (*compositeBlendFormOntoOpaque)(uint32_t* d, int dPitch, const BlendFormRect& s, int width,
                                         int height);
    // Null where a level has no version of its own (black text is tinted from the pixels).
    void (*darkenThroughBlendForm)(uint32_t* d, int dPitch, const BlendFormRect& s, int width,
                                   int height, const uint16_t* blend);
};

KernelTable ScalarKernels();
#if defined(__x86_64__)
KernelTable Sse2Kernels();
KernelTable Avx2Kernels();
KernelTable Avx512Kernels();
#endif

}  // namespace Zarvo::PixelKernels

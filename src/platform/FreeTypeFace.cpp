#include "platform/FreeTypeFace.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace Zarvo {

namespace {

// FreeType's library object is not safe to use from two threads at once; fonts are made on the
// loading thread and drawn on the primary thread, so every FreeType call holds this lock.
std::mutex gFreeTypeLock;
FT_Library gLibrary = nullptr;

// Frees the rasteriser and fontconfig's caches when the process ends, so that leak checkers
// see only real leaks.
void ReleaseLibraries() {
    std::lock_guard<std::mutex> lock(gFreeTypeLock);
    if (gLibrary != nullptr) FT_Done_FreeType(gLibrary);
    gLibrary = nullptr;
    FcFini();
}

bool EnsureLibrary() {
    if (gLibrary != nullptr) return true;
    if (FT_Init_FreeType(&gLibrary) != 0) return false;
    std::atexit(ReleaseLibraries);
    return true;
}

// Says once per process that system-font text cannot be drawn, and why: the game runs on
// with its image fonts, but a player should learn what is missing.
void ReportMissingFonts(const std::string& why) {
    static bool reported = false;
    if (reported) return;
    reported = true;
    std::fprintf(stderr, "fonts: %s: text in system fonts is not drawn\n", why.c_str());
}

// Faces that the game's data names but that Linux desktops do not ship.
std::string SubstituteFamily(const std::string& family) {
    if (family == "Arial Unicode MS" || family == "Tahoma") return "DejaVu Sans";
    return family;
}

// The file and face index fontconfig considers nearest to the request.
bool MatchFace(const std::string& family, bool bold, bool italic, std::string* file, int* index,
               bool* gotBold, bool* gotItalic, std::string* matchedFamily) {
    if (!FcInit()) return false;
    FcConfig* config = nullptr;  // the current configuration
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    bool ok = false;
    if (match != nullptr) {
        FcChar8* path = nullptr;
        int faceIndex = 0;
        int weight = FC_WEIGHT_REGULAR;
        int slant = FC_SLANT_ROMAN;
        FcChar8* name = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
            *file = reinterpret_cast<const char*>(path);
            FcPatternGetInteger(match, FC_INDEX, 0, &faceIndex);
            FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
            FcPatternGetInteger(match, FC_SLANT, 0, &slant);
            if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch) {
                *matchedFamily = reinterpret_cast<const char*>(name);
            }
            *index = faceIndex;
            *gotBold = weight >= FC_WEIGHT_BOLD;
            *gotItalic = slant != FC_SLANT_ROMAN;
            ok = true;
        }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return ok;
}

int CeilPixels(FT_Pos v) {
    return static_cast<int>((v + 63) >> 6);
}

}  // namespace

struct FreeTypeFace::Impl {
    FT_Face face = nullptr;
    bool emboldenSynthetic = false;
    bool slantSynthetic = false;
    bool underline = false;
    int underlineTop = 0;  // relative to the baseline, downward positive
    int underlineThickness = 1;

    ~Impl() {
        if (face != nullptr) FT_Done_Face(face);
    }

    // Loads and renders one Latin-1 character; false when the face has no usable glyph.
    bool LoadGlyph(unsigned char c) {
        FT_UInt index = FT_Get_Char_Index(face, c);
        if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_NORMAL) != 0) return false;
        FT_GlyphSlot slot = face->glyph;
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
            if (emboldenSynthetic) FT_Outline_Embolden(&slot->outline, face->size->metrics.x_ppem);
            if (slantSynthetic) {
                FT_Matrix shear = {0x10000, 0x0366A, 0, 0x10000};  // about 12 degrees
                FT_Outline_Transform(&slot->outline, &shear);
            }
        }
        return true;
    }

    int Advance() const {
        FT_Pos advance = face->glyph->advance.x;
        if (emboldenSynthetic) advance += face->size->metrics.x_ppem;
        return static_cast<int>((advance + 32) >> 6);
    }
};

FreeTypeFace::FreeTypeFace(std::unique_ptr<Impl> implementation)
    : impl(std::move(implementation)) {}

FreeTypeFace::~FreeTypeFace() {
    std::lock_guard<std::mutex> lock(gFreeTypeLock);
    impl.reset();
}

std::unique_ptr<FreeTypeFace> FreeTypeFace::Open(const std::string& requestedFamily,
                                                 int pixelHeight, bool bold, bool italic,
                                                 bool underline) {
    std::lock_guard<std::mutex> lock(gFreeTypeLock);
    if (!EnsureLibrary()) {
        ReportMissingFonts("FreeType cannot be started");
        return nullptr;
    }
    std::string file;
    int index = 0;
    bool gotBold = false;
    bool gotItalic = false;
    std::string matched;
    if (!MatchFace(SubstituteFamily(requestedFamily), bold, italic, &file, &index, &gotBold,
                   &gotItalic, &matched)) {
        ReportMissingFonts("no installed font matches \"" + requestedFamily +
                           "\" (fontconfig found none)");
        return nullptr;
    }
    auto impl = std::make_unique<Impl>();
    if (FT_New_Face(gLibrary, file.c_str(), index, &impl->face) != 0) {
        impl->face = nullptr;
        ReportMissingFonts("the font file " + file + " cannot be read");
        return nullptr;
    }
    pixelHeight = std::clamp(pixelHeight, 1, 1000);
    if (FT_Set_Pixel_Sizes(impl->face, 0, static_cast<FT_UInt>(pixelHeight)) != 0) return nullptr;
    impl->emboldenSynthetic = bold && !gotBold;
    impl->slantSynthetic = italic && !gotItalic;
    impl->underline = underline;

    const FT_Size_Metrics& m = impl->face->size->metrics;
    std::unique_ptr<FreeTypeFace> result(new FreeTypeFace(std::move(impl)));
    result->ascent = CeilPixels(m.ascender);
    result->height = result->ascent + CeilPixels(-m.descender);
    result->family = matched;
    if (underline) {
        FT_Face face = result->impl->face;
        const FT_Fixed yScale = m.y_scale;
        const int position =
            static_cast<int>(std::lround(-FT_MulFix(face->underline_position, yScale) / 64.0));
        const int thickness =
            static_cast<int>(std::lround(FT_MulFix(face->underline_thickness, yScale) / 64.0));
        result->impl->underlineThickness = std::max(1, thickness);
        result->impl->underlineTop = std::max(1, position - result->impl->underlineThickness / 2);
    }
    return result;
}

int FreeTypeFace::StringWidth(std::string_view text) {
    std::lock_guard<std::mutex> lock(gFreeTypeLock);
    long long width = 0;
    for (char ch : text) {
        if (!impl->LoadGlyph(static_cast<unsigned char>(ch))) continue;
        width += impl->Advance();
    }
    return static_cast<int>(std::min<long long>(width, 1 << 24));
}

void FreeTypeFace::Render(std::string_view text, int x, int baseline, uint8_t* coverage,
                          int bufferWidth, int bufferHeight) {
    std::lock_guard<std::mutex> lock(gFreeTypeLock);
    long long penX = x;
    for (char ch : text) {
        if (!impl->LoadGlyph(static_cast<unsigned char>(ch))) continue;
        FT_GlyphSlot slot = impl->face->glyph;
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0 &&
            slot->bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
            const FT_Bitmap& bm = slot->bitmap;
            const long long left = penX + slot->bitmap_left;
            const long long top = static_cast<long long>(baseline) - slot->bitmap_top;
            for (unsigned row = 0; row < bm.rows; ++row) {
                const long long y = top + row;
                if (y < 0 || y >= bufferHeight) continue;
                const unsigned char* src = bm.buffer + static_cast<long long>(row) * bm.pitch;
                for (unsigned col = 0; col < bm.width; ++col) {
                    const long long px = left + col;
                    if (px < 0 || px >= bufferWidth) continue;
                    uint8_t& dst = coverage[y * bufferWidth + px];
                    dst = std::max(dst, src[col]);
                }
            }
        }
        penX += impl->Advance();
    }
    if (impl->underline) {
        for (int t = 0; t < impl->underlineThickness; ++t) {
            const long long y = static_cast<long long>(baseline) + impl->underlineTop + t;
            if (y < 0 || y >= bufferHeight) continue;
            for (long long px = std::max<long long>(x, 0);
                 px < std::min<long long>(penX, bufferWidth); ++px) {
                coverage[y * bufferWidth + px] = 255;
            }
        }
    }
}

}  // namespace Zarvo

#include "IconArt.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "ImageFiles.h"
#include "Style.h"

namespace datagen {

using namespace palette;

void IconArt::draw(Canvas& c) {
    const double s = c.width();
    const double cx = s / 2, cy = s / 2;
    const bool tiny = s < 32;
    const double outer = s / 2 - std::max(0.5, s / 64);
    cairo_t* cr = c.cr();

    // The badge: navy disc with a gold rim.
    if (!tiny) {
        c.dropShadow([&](Canvas& k) { k.circle(cx, cy + s * 0.01, outer * 0.97); }, 0, s * 0.015,
                     s * 0.02, Rgba{0, 0, 0, 0.45});
    }
    c.circle(cx, cy, outer);
    c.fillRadial(navyLight, navyDeep, cx - s * 0.12, cy - s * 0.15, outer * 1.3);
    const double rim = std::max(1.0, s * 0.055);
    c.circle(cx, cy, outer - rim / 2);
    c.stroke(gold, rim);

    // The pitch inside the rim, with stripes and the centre circle.
    const double inner = outer - rim * (tiny ? 1.0 : 1.6);
    cairo_save(cr);
    c.circle(cx, cy, inner);
    cairo_clip(cr);
    c.circle(cx, cy, inner);
    c.fill(pitch);
    if (!tiny) {
        const double stripe = inner * 2 / 6;
        for (int k = 0; k < 6; k += 2) {
            cairo_rectangle(cr, cx - inner + k * stripe, cy - inner, stripe, inner * 2);
            c.fill(pitchDark);
        }
        const double line = std::max(1.0, s * 0.02);
        cairo_move_to(cr, cx, cy - inner);
        cairo_line_to(cr, cx, cy + inner);
        c.stroke(Rgba{chalk.r, chalk.g, chalk.b, 0.85}, line);
        c.circle(cx, cy, inner * 0.62);
        c.stroke(Rgba{chalk.r, chalk.g, chalk.b, 0.85}, line);
    }
    // A soft light from the top left over the badge.
    c.circle(cx, cy, inner);
    c.fillRadial(Rgba{1, 1, 1, 0.18}, Rgba{0, 0, 0, 0.22}, cx - inner * 0.4, cy - inner * 0.5,
                 inner * 1.6);
    cairo_restore(cr);

    // The ball on the centre spot.
    const double r = tiny ? inner * 0.72 : inner * 0.5;
    if (!tiny) {
        c.dropShadow([&](Canvas& k) { k.circle(cx, cy, r); }, s * 0.015, s * 0.025, s * 0.03,
                     Rgba{0, 0, 0, 0.5});
    }
    Style::ball(c, cx, cy, r, 0.15);
}

bool IconArt::writeAll(const std::string& folder, const std::string& name) {
    namespace fs = std::filesystem;
    for (int size : kSizes) {
        const std::string label = std::to_string(size) + "x" + std::to_string(size);
        const fs::path dir = fs::path(folder) / label / "apps";
        std::error_code ec;
        fs::create_directories(dir, ec);
        Canvas c(size, size);
        c.clear();
        draw(c);
        const std::string path = (dir / (name + ".png")).string();
        if (!ImageFiles::writePng(path, size, size, c.pixels())) {
            std::fprintf(stderr, "datagen: cannot write %s\n", path.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace datagen

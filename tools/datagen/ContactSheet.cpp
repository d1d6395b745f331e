#include "ContactSheet.h"

#include <algorithm>
#include <cmath>

#include "ImageFiles.h"
#include "Style.h"

namespace datagen {

bool ContactSheet::write(const ResourceCatalog& cat, const std::string& path) {
    const int cellW = 214, cellH = 160, perRow = 8, thumbW = 198, thumbH = 118;
    const int n = static_cast<int>(cat.images().size());
    const int rows = (n + perRow - 1) / perRow;
    Canvas sheet(perRow * cellW + 16, rows * cellH + 60);
    cairo_rectangle(sheet.cr(), 0, 0, sheet.width(), sheet.height());
    sheet.fill(Rgba::hex(0x20252e));
    TextStyle title = Style::label(22, palette::goldLight);
    sheet.text(12, 34, "Kelvane: every image of the game (" + std::to_string(n) + ")", title);
    for (int i = 0; i < n; ++i) {
        const ImageEntry& e = *cat.images()[i];
        const int x = 8 + (i % perRow) * cellW, y = 50 + (i / perRow) * cellH;
        // Checkerboard behind the thumbnail shows transparency.
        for (int cy = 0; cy < thumbH; cy += 8)
            for (int cx = 0; cx < thumbW; cx += 8) {
                cairo_rectangle(sheet.cr(), x + cx, y + cy, std::min(8, thumbW - cx),
                                std::min(8, thumbH - cy));
                sheet.fill(((cx + cy) / 8) % 2 ? Rgba::hex(0x5a606b) : Rgba::hex(0x474c56));
            }
        const Canvas& c = *e.canvas;
        const double s = std::min({1.0, double(thumbW) / c.width(), double(thumbH) / c.height()});
        const double w = c.width() * s, h = c.height() * s;
        sheet.drawScaled(c, x + (thumbW - w) / 2, y + (thumbH - h) / 2, w, h);
        TextStyle t;
        t.family = "DejaVu Sans";
        t.bold = true;
        t.px = e.id.size() > 34 ? 7.5 : 9;
        t.color = palette::cream;
        std::string id = e.id.substr(6);
        sheet.text(x, y + thumbH + 14, id, t);
        t.bold = false;
        t.color = Rgba::hex(0xa9b3c2);
        const char* fmt[] = {
            "png", "jpg", "gif", "tga", "jpg + _alpha", "jpg + alphaimage", "jpg + alphagrid"};
        std::string info = std::to_string(c.width()) + " x " + std::to_string(c.height()) + "  " +
                           fmt[static_cast<int>(e.store)];
        if (e.rows * e.cols > 1)
            info += "  " + std::to_string(e.cols) + "x" + std::to_string(e.rows) + " cels";
        sheet.text(x, y + thumbH + 27, info, t);
    }
    return ImageFiles::writePng(path, sheet.width(), sheet.height(), sheet.pixels());
}

}  // namespace datagen

#pragma once
#include <cairo.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Rgba.h"

namespace datagen {

enum class Align { Left, Center, Right };

// Text appearance for Canvas::text.
struct TextStyle {
    std::string family = "Roboto Slab";
    bool bold = true;
    double px = 16;  // em size in pixels
    Rgba color = palette::white;
    Align align = Align::Left;
    double outline = 0;  // width of a dark outline stroked under the text
    Rgba outlineColor = palette::navyDeep;
    bool shadow = false;  // a soft drop shadow under the text
    double letterSpacing = 0;
};

// An ARGB drawing surface with the shape, shading and text helpers the art is built from.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    Canvas(Canvas&& other) noexcept;
    Canvas& operator=(Canvas&& other) noexcept;

    int width() const { return width_; }
    int height() const { return height_; }
    cairo_t* cr() const { return cr_; }
    cairo_surface_t* surface() const { return surface_; }

    // Paths.
    void roundRect(double x, double y, double w, double h, double r);
    void circle(double cx, double cy, double r);
    void polygon(const std::vector<std::pair<double, double>>& points);

    // Paint operations (they consume the current path unless noted).
    void setColor(const Rgba& c);
    void fill(const Rgba& c);
    void fillPreserve(const Rgba& c);
    void stroke(const Rgba& c, double width);
    void strokePreserve(const Rgba& c, double width);
    // Vertical gradient between y0 and y1 over the current path.
    void fillVertical(const Rgba& top, const Rgba& bottom, double y0, double y1,
                      bool preserve = false);
    void fillRadial(const Rgba& inner, const Rgba& outer, double cx, double cy, double r,
                    bool preserve = false);
    void clear();

    // A blurred copy of what `shape` paints (in black), offset and coloured, drawn under later
    // work.
    void dropShadow(const std::function<void(Canvas&)>& shape, double dx, double dy, double blur,
                    const Rgba& color);
    // A soft glow around what `shape` paints.
    void glow(const std::function<void(Canvas&)>& shape, double blur, const Rgba& color);

    // Text with its baseline at y; answers the advance width in pixels.
    double text(double x, double y, const std::string& s, const TextStyle& style);
    // Text centred in a box, vertically by its ink.
    void textInBox(double x, double y, double w, double h, const std::string& s, TextStyle style);
    // Wrapped paragraph with its top at y; answers the height used.
    double paragraph(double x, double y, double width, const std::string& s, const TextStyle& style,
                     double lineSpacing = 1.0);
    // Measures text: advance width and ink extents.
    static void measure(const std::string& s, const TextStyle& style, double* advance,
                        double* inkTop, double* inkBottom);

    // Draws another canvas (or part of it) at (x, y) with optional scaling.
    void draw(const Canvas& src, double x, double y, double alpha = 1.0);
    void drawScaled(const Canvas& src, double x, double y, double w, double h, double alpha = 1.0);
    void drawPart(const Canvas& src, int sx, int sy, int sw, int sh, double x, double y);

    // Pixels as 0xAARRGGBB, not premultiplied, rows from the top.
    std::vector<uint32_t> pixels() const;
    void setPixels(const std::vector<uint32_t>& argb);

    // Deterministic value noise in [0, 1) for textures.
    static double noise(int x, int y, uint32_t seed);

private:
    int width_ = 0, height_ = 0;
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
};

}  // namespace datagen

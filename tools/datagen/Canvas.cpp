#include "Canvas.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace datagen {

namespace {

// Three passes of a box blur over an 8-bit alpha plane approximate a Gaussian.
void blurAlpha(std::vector<uint8_t>& a, int w, int h, int stride, double radius) {
    const int r = std::max(1, static_cast<int>(std::lround(radius / 1.7)));
    std::vector<int> line(std::max(w, h));
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) line[x] = a[y * stride + x];
            int sum = 0;
            for (int i = -r; i <= r; ++i) sum += line[std::clamp(i, 0, w - 1)];
            for (int x = 0; x < w; ++x) {
                a[y * stride + x] = static_cast<uint8_t>(sum / (2 * r + 1));
                sum += line[std::min(x + r + 1, w - 1)] - line[std::max(x - r, 0)];
            }
        }
        for (int x = 0; x < w; ++x) {
            for (int y = 0; y < h; ++y) line[y] = a[y * stride + x];
            int sum = 0;
            for (int i = -r; i <= r; ++i) sum += line[std::clamp(i, 0, h - 1)];
            for (int y = 0; y < h; ++y) {
                a[y * stride + x] = static_cast<uint8_t>(sum / (2 * r + 1));
                sum += line[std::min(y + r + 1, h - 1)] - line[std::max(y - r, 0)];
            }
        }
    }
}

PangoLayout* makeLayout(cairo_t* cr, const std::string& s, const TextStyle& style) {
    PangoLayout* layout = pango_cairo_create_layout(cr);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(pango_layout_get_context(layout), options);
    cairo_font_options_destroy(options);
    pango_layout_context_changed(layout);
    PangoFontDescription* desc = pango_font_description_new();
    pango_font_description_set_family(desc, style.family.c_str());
    pango_font_description_set_weight(desc, style.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_absolute_size(desc, style.px * PANGO_SCALE);
    pango_layout_set_font_description(layout, desc);
    pango_font_description_free(desc);
    if (style.letterSpacing != 0) {
        PangoAttrList* attrs = pango_attr_list_new();
        pango_attr_list_insert(attrs, pango_attr_letter_spacing_new(
                                          static_cast<int>(style.letterSpacing * PANGO_SCALE)));
        pango_layout_set_attributes(layout, attrs);
        pango_attr_list_unref(attrs);
    }
    pango_layout_set_text(layout, s.c_str(), -1);
    return layout;
}

}  // namespace

Canvas::Canvas(int width, int height) : width_(width), height_(height) {
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cr_ = cairo_create(surface_);
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_GOOD);
}

Canvas::~Canvas() {
    if (cr_) cairo_destroy(cr_);
    if (surface_) cairo_surface_destroy(surface_);
}

Canvas::Canvas(Canvas&& other) noexcept
    : width_(other.width_), height_(other.height_), surface_(other.surface_), cr_(other.cr_) {
    other.surface_ = nullptr;
    other.cr_ = nullptr;
}

Canvas& Canvas::operator=(Canvas&& other) noexcept {
    if (this != &other) {
        if (cr_) cairo_destroy(cr_);
        if (surface_) cairo_surface_destroy(surface_);
        width_ = other.width_;
        height_ = other.height_;
        surface_ = std::exchange(other.surface_, nullptr);
        cr_ = std::exchange(other.cr_, nullptr);
    }
    return *this;
}

void Canvas::roundRect(double x, double y, double w, double h, double r) {
    r = std::min({r, w / 2, h / 2});
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr_, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr_, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr_, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr_);
}

void Canvas::circle(double cx, double cy, double r) {
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, cx, cy, r, 0, 2 * M_PI);
    cairo_close_path(cr_);
}

void Canvas::polygon(const std::vector<std::pair<double, double>>& points) {
    if (points.empty()) return;
    cairo_move_to(cr_, points[0].first, points[0].second);
    for (size_t i = 1; i < points.size(); ++i)
        cairo_line_to(cr_, points[i].first, points[i].second);
    cairo_close_path(cr_);
}

void Canvas::setColor(const Rgba& c) {
    cairo_set_source_rgba(cr_, c.r, c.g, c.b, c.a);
}

void Canvas::fill(const Rgba& c) {
    setColor(c);
    cairo_fill(cr_);
}

void Canvas::fillPreserve(const Rgba& c) {
    setColor(c);
    cairo_fill_preserve(cr_);
}

void Canvas::stroke(const Rgba& c, double width) {
    setColor(c);
    cairo_set_line_width(cr_, width);
    cairo_stroke(cr_);
}

void Canvas::strokePreserve(const Rgba& c, double width) {
    setColor(c);
    cairo_set_line_width(cr_, width);
    cairo_stroke_preserve(cr_);
}

void Canvas::fillVertical(const Rgba& top, const Rgba& bottom, double y0, double y1,
                          bool preserve) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, top.a);
    cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, bottom.a);
    cairo_set_source(cr_, p);
    if (preserve)
        cairo_fill_preserve(cr_);
    else
        cairo_fill(cr_);
    cairo_pattern_destroy(p);
}

void Canvas::fillRadial(const Rgba& inner, const Rgba& outer, double cx, double cy, double r,
                        bool preserve) {
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
    cairo_pattern_add_color_stop_rgba(p, 0, inner.r, inner.g, inner.b, inner.a);
    cairo_pattern_add_color_stop_rgba(p, 1, outer.r, outer.g, outer.b, outer.a);
    cairo_set_source(cr_, p);
    if (preserve)
        cairo_fill_preserve(cr_);
    else
        cairo_fill(cr_);
    cairo_pattern_destroy(p);
}

void Canvas::clear() {
    cairo_save(cr_);
    cairo_set_operator(cr_, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr_);
    cairo_restore(cr_);
}

void Canvas::dropShadow(const std::function<void(Canvas&)>& shape, double dx, double dy,
                        double blur, const Rgba& color) {
    Canvas mask(width_, height_);
    // The shape is drawn with the current transformation; the offset is in device pixels.
    cairo_matrix_t m;
    cairo_get_matrix(cr_, &m);
    m.x0 += dx;
    m.y0 += dy;
    cairo_set_matrix(mask.cr_, &m);
    shape(mask);
    cairo_surface_flush(mask.surface_);
    const int stride = cairo_image_surface_get_stride(mask.surface_);
    const uint8_t* data = cairo_image_surface_get_data(mask.surface_);
    std::vector<uint8_t> alpha(static_cast<size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) alpha[y * width_ + x] = data[y * stride + x * 4 + 3];
    if (blur > 0) blurAlpha(alpha, width_, height_, width_, blur);
    cairo_surface_t* a8 = cairo_image_surface_create(CAIRO_FORMAT_A8, width_, height_);
    cairo_surface_flush(a8);
    uint8_t* out = cairo_image_surface_get_data(a8);
    const int astride = cairo_image_surface_get_stride(a8);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) out[y * astride + x] = alpha[y * width_ + x];
    cairo_surface_mark_dirty(a8);
    cairo_save(cr_);
    cairo_identity_matrix(cr_);
    setColor(color);
    cairo_mask_surface(cr_, a8, 0, 0);
    cairo_restore(cr_);
    cairo_surface_destroy(a8);
}

void Canvas::glow(const std::function<void(Canvas&)>& shape, double blur, const Rgba& color) {
    dropShadow(shape, 0, 0, blur, color);
}

double Canvas::text(double x, double y, const std::string& s, const TextStyle& style) {
    PangoLayout* layout = makeLayout(cr_, s, style);
    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(layout, &ink, &logical);
    const double baseline = pango_layout_get_baseline(layout) / double(PANGO_SCALE);
    double left = x;
    if (style.align == Align::Center) left = x - logical.width / 2.0;
    if (style.align == Align::Right) left = x - logical.width;
    auto path = [&](Canvas& c, double ox, double oy) {
        cairo_move_to(c.cr_, left + ox, y - baseline + oy);
        pango_cairo_layout_path(c.cr_, layout);
    };
    if (style.shadow) {
        dropShadow([&](Canvas& c) { path(c, 0, 0), c.fill(palette::black); }, 1.5, 2, 3,
                   Rgba{0, 0, 0, 0.55});
    }
    if (style.outline > 0) {
        path(*this, 0, 0);
        cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
        stroke(style.outlineColor, style.outline * 2);
    }
    path(*this, 0, 0);
    fill(style.color);
    g_object_unref(layout);
    return logical.width;
}

void Canvas::measure(const std::string& s, const TextStyle& style, double* advance, double* inkTop,
                     double* inkBottom) {
    cairo_surface_t* tmp = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 4, 4);
    cairo_t* cr = cairo_create(tmp);
    PangoLayout* layout = makeLayout(cr, s, style);
    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(layout, &ink, &logical);
    const double baseline = pango_layout_get_baseline(layout) / double(PANGO_SCALE);
    if (advance) *advance = logical.width;
    if (inkTop) *inkTop = ink.y - baseline;
    if (inkBottom) *inkBottom = ink.y + ink.height - baseline;
    g_object_unref(layout);
    cairo_destroy(cr);
    cairo_surface_destroy(tmp);
}

void Canvas::textInBox(double x, double y, double w, double h, const std::string& s,
                       TextStyle style) {
    double advance = 0, top = 0, bottom = 0;
    // Capital height decides the vertical centre so labels with and without descenders line up.
    measure("H", style, nullptr, &top, &bottom);
    measure(s, style, &advance, nullptr, nullptr);
    style.align = Align::Center;
    text(x + w / 2, y + h / 2 - (top + bottom) / 2, s, style);
}

double Canvas::paragraph(double x, double y, double width, const std::string& s,
                         const TextStyle& style, double lineSpacing) {
    PangoLayout* layout = makeLayout(cr_, s, style);
    pango_layout_set_width(layout, static_cast<int>(width * PANGO_SCALE));
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
    pango_layout_set_line_spacing(layout, static_cast<float>(lineSpacing));
    if (style.align == Align::Center) pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
    if (style.align == Align::Right) pango_layout_set_alignment(layout, PANGO_ALIGN_RIGHT);
    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(layout, &ink, &logical);
    if (style.shadow) {
        dropShadow(
            [&](Canvas& c) {
                cairo_move_to(c.cr_, x, y);
                pango_cairo_layout_path(c.cr_, layout);
                c.fill(palette::black);
            },
            1, 1.5, 2, Rgba{0, 0, 0, 0.5});
    }
    cairo_move_to(cr_, x, y);
    setColor(style.color);
    pango_cairo_show_layout(cr_, layout);
    g_object_unref(layout);
    return logical.height;
}

void Canvas::draw(const Canvas& src, double x, double y, double alpha) {
    cairo_save(cr_);
    cairo_set_source_surface(cr_, src.surface_, x, y);
    cairo_paint_with_alpha(cr_, alpha);
    cairo_restore(cr_);
}

void Canvas::drawScaled(const Canvas& src, double x, double y, double w, double h, double alpha) {
    if (w <= 0 || h <= 0) return;
    cairo_save(cr_);
    cairo_translate(cr_, x, y);
    cairo_scale(cr_, w / src.width_, h / src.height_);
    cairo_set_source_surface(cr_, src.surface_, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_GOOD);
    cairo_paint_with_alpha(cr_, alpha);
    cairo_restore(cr_);
}

void Canvas::drawPart(const Canvas& src, int sx, int sy, int sw, int sh, double x, double y) {
    cairo_save(cr_);
    cairo_rectangle(cr_, x, y, sw, sh);
    cairo_clip(cr_);
    cairo_set_source_surface(cr_, src.surface_, x - sx, y - sy);
    cairo_paint(cr_);
    cairo_restore(cr_);
}

std::vector<uint32_t> Canvas::pixels() const {
    cairo_surface_flush(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    const uint8_t* data = cairo_image_surface_get_data(surface_);
    std::vector<uint32_t> out(static_cast<size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + y * stride);
        for (int x = 0; x < width_; ++x) {
            const uint32_t p = row[x];
            const uint32_t a = p >> 24;
            if (a == 0) {
                out[y * width_ + x] = 0;
                continue;
            }
            auto un = [a](uint32_t c) { return std::min<uint32_t>(255, (c * 255 + a / 2) / a); };
            out[y * width_ + x] = (a << 24) | (un((p >> 16) & 0xFF) << 16) |
                                  (un((p >> 8) & 0xFF) << 8) | un(p & 0xFF);
        }
    }
    return out;
}

void Canvas::setPixels(const std::vector<uint32_t>& argb) {
    cairo_surface_flush(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    uint8_t* data = cairo_image_surface_get_data(surface_);
    for (int y = 0; y < height_; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < width_; ++x) {
            const uint32_t p = argb[y * width_ + x];
            const uint32_t a = p >> 24;
            auto pre = [a](uint32_t c) { return (c * a + 127) / 255; };
            row[x] = (a << 24) | (pre((p >> 16) & 0xFF) << 16) | (pre((p >> 8) & 0xFF) << 8) |
                     pre(p & 0xFF);
        }
    }
    cairo_surface_mark_dirty(surface_);
}

double Canvas::noise(int x, int y, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
                 seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / double(0x1000000);
}

}  // namespace datagen

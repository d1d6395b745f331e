#include "WorldMap.h"

#include <cmath>
#include <fstream>
#include <sstream>

#include "Style.h"

namespace datagen {

using namespace palette;

const int WorldMap::kMapPoints[46][2] = {
    {153, 367}, {151, 336}, {160, 308}, {171, 279}, {152, 264}, {134, 248}, {103, 221}, {70, 199},
    {69, 177},  {66, 154},  {84, 136},  {115, 131}, {146, 139}, {166, 124}, {224, 91},  {302, 109},
    {335, 114}, {387, 107}, {439, 102}, {498, 114}, {554, 129}, {548, 164}, {519, 158}, {510, 194},
    {566, 261}, {606, 344}, {562, 321}, {534, 300}, {498, 256}, {483, 216}, {443, 199}, {395, 182},
    {364, 189}, {356, 216}, {353, 249}, {372, 291}, {340, 300}, {323, 316}, {312, 283}, {312, 254},
    {296, 228}, {264, 225}, {273, 182}, {269, 158}, {292, 144}, {270, 130}};

namespace {

double miller(double lat) {
    const double phi = lat * M_PI / 180;
    return 1.25 * std::log(std::tan(M_PI / 4 + 0.4 * phi));
}

double tpsKernel(double r2) {
    return r2 <= 0 ? 0 : 0.5 * r2 * std::log(r2);
}

// Solves A x = b in place by Gaussian elimination with partial pivoting.
bool solve(std::vector<std::vector<double>> a, std::vector<double>& b) {
    const size_t n = b.size();
    for (size_t col = 0; col < n; ++col) {
        size_t pivot = col;
        for (size_t r = col + 1; r < n; ++r)
            if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
        if (std::fabs(a[pivot][col]) < 1e-12) return false;
        std::swap(a[col], a[pivot]);
        std::swap(b[col], b[pivot]);
        for (size_t r = col + 1; r < n; ++r) {
            const double f = a[r][col] / a[col][col];
            for (size_t k = col; k < n; ++k) a[r][k] -= f * a[col][k];
            b[r] -= f * b[col];
        }
    }
    for (size_t i = n; i-- > 0;) {
        for (size_t k = i + 1; k < n; ++k) b[i] -= a[i][k] * b[k];
        b[i] /= a[i][i];
    }
    return true;
}

}  // namespace

bool WorldMap::load(const std::string& assetsDir) {
    std::ifstream coast(assetsDir + "/coastlines.txt");
    if (!coast) {
        error_ = "cannot read coastlines.txt";
        return false;
    }
    std::string line;
    while (std::getline(coast, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (line.rfind("land", 0) == 0 || line.rfind("lake", 0) == 0) {
            polygons_.push_back({line.rfind("lake", 0) == 0, {}});
            continue;
        }
        if (polygons_.empty()) continue;
        std::istringstream in(line);
        double lon, lat;
        while (in >> lon >> lat) polygons_.back().points.push_back({lon, lat});
    }
    std::ifstream st(assetsDir + "/tour_stages.txt");
    while (std::getline(st, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream in(line);
        int index;
        double lon, lat;
        if (in >> index >> lon >> lat) stages_.push_back({lon, lat});
    }
    if (stages_.size() != 46) {
        error_ = "tour_stages.txt must list 46 stages";
        return false;
    }
    return fit();
}

std::pair<double, double> WorldMap::base(double lon, double lat) const {
    return {lon / 100.0, miller(std::clamp(lat, -85.0, 85.0))};
}

bool WorldMap::fit() {
    // A smoothing thin-plate spline: the affine part carries the projection, the bending part
    // pulls each stage's place onto its marker without folding the coastlines.
    const size_t n = stages_.size();
    centres_.clear();
    for (const auto& [lon, lat] : stages_) centres_.push_back(base(lon, lat));
    const double lambda = 0.004;
    const size_t m = n + 3;
    std::vector<std::vector<double>> a(m, std::vector<double>(m, 0.0));
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = 0; j < n; ++j) {
            const double dx = centres_[i].first - centres_[j].first;
            const double dy = centres_[i].second - centres_[j].second;
            a[i][j] = tpsKernel(dx * dx + dy * dy);
        }
        a[i][i] += lambda;
        a[i][n] = a[n][i] = 1;
        a[i][n + 1] = a[n + 1][i] = centres_[i].first;
        a[i][n + 2] = a[n + 2][i] = centres_[i].second;
    }
    std::vector<double> bx(m, 0.0), by(m, 0.0);
    for (size_t i = 0; i < n; ++i) {
        bx[i] = kMapPoints[i][0] + kNodeSize / 2.0;
        by[i] = kMapPoints[i][1] + kNodeSize / 2.0;
    }
    if (!solve(a, bx) || !solve(a, by)) {
        error_ = "the tour map projection has no solution";
        return false;
    }
    wx_.assign(bx.begin(), bx.begin() + static_cast<long>(n));
    wy_.assign(by.begin(), by.begin() + static_cast<long>(n));
    for (int k = 0; k < 3; ++k) {
        ax_[k] = bx[n + k];
        ay_[k] = by[n + k];
    }
    return true;
}

std::pair<double, double> WorldMap::project(double lon, double lat) const {
    const auto [u, v] = base(lon, lat);
    double x = ax_[0] + ax_[1] * u + ax_[2] * v, y = ay_[0] + ay_[1] * u + ay_[2] * v;
    for (size_t i = 0; i < centres_.size(); ++i) {
        const double dx = u - centres_[i].first, dy = v - centres_[i].second;
        const double k = tpsKernel(dx * dx + dy * dy);
        x += wx_[i] * k;
        y += wy_[i] * k;
    }
    return {x, y};
}

double WorldMap::worstStageError() const {
    double worst = 0;
    for (size_t i = 0; i < stages_.size(); ++i) {
        const auto [x, y] = project(stages_[i].first, stages_[i].second);
        worst = std::max(worst, std::hypot(x - kMapPoints[i][0] - kNodeSize / 2.0,
                                           y - kMapPoints[i][1] - kNodeSize / 2.0));
    }
    return worst;
}

void WorldMap::draw(Canvas& c, bool route) const {
    cairo_t* cr = c.cr();
    const double w = c.width(), h = c.height();
    // Ocean: deep teal with a soft vignette.
    cairo_rectangle(cr, 0, 0, w, h);
    c.fillRadial(Rgba::hex(0x1d5f78), Rgba::hex(0x0b2440), w / 2, h / 2, w * 0.7);
    // Graticule every 30 degrees, bent with the projection.
    for (int lon = -180; lon <= 210; lon += 30) {
        for (int lat = -80; lat <= 84; lat += 2) {
            const auto [x, y] = project(lon, lat);
            if (lat == -80)
                cairo_move_to(cr, x, y);
            else
                cairo_line_to(cr, x, y);
        }
    }
    for (int lat = -60; lat <= 80; lat += 30) {
        for (int lon = -180; lon <= 210; lon += 2) {
            const auto [x, y] = project(lon, lat);
            if (lon == -180)
                cairo_move_to(cr, x, y);
            else
                cairo_line_to(cr, x, y);
        }
    }
    c.stroke(Rgba{1, 1, 1, 0.07}, 1);
    // Land: shadow, shallow-water glow, then the land itself.
    auto landPath = [&](Canvas& s, bool lakes) {
        for (const Polygon& p : polygons_) {
            if (p.lake != lakes) continue;
            for (size_t i = 0; i < p.points.size(); ++i) {
                const auto [x, y] = project(p.points[i].first, p.points[i].second);
                if (i == 0)
                    cairo_move_to(s.cr(), x, y);
                else
                    cairo_line_to(s.cr(), x, y);
            }
            cairo_close_path(s.cr());
        }
    };
    c.glow([&](Canvas& s) { landPath(s, false), s.fill(white); }, 7, Rgba::hex(0x7fd6d0, 0.45));
    c.dropShadow([&](Canvas& s) { landPath(s, false), s.fill(black); }, 1.5, 2.5, 3,
                 Rgba{0, 0, 0, 0.45});
    landPath(c, false);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    // Sand in the deserts and the far north and south, green in between: a gradient along the
    // projected latitudes of the middle meridian.
    {
        cairo_pattern_t* p =
            cairo_pattern_create_linear(0, project(20, 75).second, 0, project(20, -50).second);
        const double y0 = project(20, 75).second, y1 = project(20, -50).second;
        const struct {
            double lat;
            uint32_t rgb;
        } stops[] = {{75, 0xe8e4d4},  {62, 0xa9bd86},  {48, 0x9dbb74}, {35, 0xd9c690},
                     {24, 0xe6d09a},  {12, 0xa5bb6e},  {0, 0x8fb260},  {-12, 0xa3b86c},
                     {-24, 0xe0cb92}, {-36, 0xb8c07e}, {-50, 0xc8c3a0}};
        for (const auto& st : stops) {
            const Rgba col = Rgba::hex(st.rgb);
            cairo_pattern_add_color_stop_rgb(p, (project(20, st.lat).second - y0) / (y1 - y0),
                                             col.r, col.g, col.b);
        }
        cairo_set_source(cr, p);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(p);
    }
    c.stroke(Rgba::hex(0x6b5a30), 1);
    landPath(c, true);
    c.fill(Rgba::hex(0x1d5f78));
    if (!route) return;
    // The tour route: a dotted gold line through the stage markers, in tour order and back home.
    std::vector<double> dash = {1.0, 5.0};
    cairo_set_dash(cr, dash.data(), 2, 0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 46; ++i) {
        const double x = kMapPoints[i][0] + kNodeSize / 2.0, y = kMapPoints[i][1] + kNodeSize / 2.0;
        if (i == 0)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
    }
    c.strokePreserve(Rgba{0, 0, 0, 0.45}, 4);
    c.stroke(goldLight, 2.2);
    cairo_set_dash(cr, nullptr, 0, 0);
}

}  // namespace datagen

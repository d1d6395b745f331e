#pragma once
#include <string>
#include <utility>
#include <vector>

#include "Canvas.h"

namespace datagen {

// The world tour map: coastlines from the assets, projected so that each tour stage's place
// lands on the point where the tour screen draws its marker.
class WorldMap {
public:
    // Where the tour screen places the top-left corner of each stage marker.
    static const int kMapPoints[46][2];
    static const int kNodeSize = 18;

    bool load(const std::string& assetsDir);
    std::pair<double, double> project(double lon, double lat) const;
    // Draws ocean, graticule, land and the route between the stages over the whole canvas.
    void draw(Canvas& c, bool route) const;
    const std::string& error() const { return error_; }
    // Largest distance between a projected stage place and its marker centre.
    double worstStageError() const;

private:
    struct Polygon {
        bool lake = false;
        std::vector<std::pair<double, double>> points;  // lon, lat
    };
    bool fit();
    std::pair<double, double> base(double lon, double lat) const;

    std::vector<Polygon> polygons_;
    std::vector<std::pair<double, double>> stages_;  // lon, lat
    // Thin-plate spline from (lon / 100, Miller y) to screen pixels.
    std::vector<std::pair<double, double>> centres_;
    std::vector<double> wx_, wy_;
    double ax_[3] = {0, 0, 0}, ay_[3] = {0, 0, 0};
    std::string error_;
};

}  // namespace datagen

#pragma once
#include <string>

#include "Canvas.h"

namespace datagen {

// The shared look: panels, frames, buttons and plates that every piece of art is built from.
class Style {
public:
    // A navy panel with a gold rim and a soft shadow, filling (x, y, w, h).
    static void panel(Canvas& c, double x, double y, double w, double h, double radius,
                      bool shadow = true);
    // A cream card with a navy rim for dark text.
    static void card(Canvas& c, double x, double y, double w, double h, double radius);
    // A gold rim stroked around a rounded rectangle.
    static void goldRim(Canvas& c, double x, double y, double w, double h, double radius,
                        double width);
    // A glossy highlight over the top part of a rounded rectangle.
    static void gloss(Canvas& c, double x, double y, double w, double h, double radius,
                      double strength);

    enum class ButtonLook { Normal, Pressed, Disabled, Green, Red };
    // A rounded, shaded button filling the canvas with a slab-serif label.
    static void button(Canvas& c, const std::string& label, ButtonLook look = ButtonLook::Normal);
    // A ribbon plate (used for nation names and labels).
    static void plate(Canvas& c, const std::string& label, double px, bool dark = true);
    // The night sky, stands and floodlights of the stadium across the full canvas, pitch from y.
    static void stadium(Canvas& c, double pitchTop, uint32_t seed);
    // A mown pitch with stripes in the rectangle.
    static void pitch(Canvas& c, double x, double y, double w, double h, double stripe);
    // Title lettering "Kelvane" centred at (cx, baseline).
    static void titleLettering(Canvas& c, double cx, double baseline, double px);
    // A classic black-and-white ball.
    static void ball(Canvas& c, double cx, double cy, double r, double rotation = 0.0);
    // A gold trophy with its base at (cx, bottom).
    static void trophy(Canvas& c, double cx, double bottom, double height);

    static TextStyle label(double px, const Rgba& color = palette::cream);
};

}  // namespace datagen

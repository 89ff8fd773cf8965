// Shaded shapes for objects, sprites and monsters: pixel-art style, lit from the upper left.
#pragma once

#include "assetgen/raster.h"

#include <cstdint>
#include <vector>

namespace vorn::assetgen {

// A four-step colour ramp from dark to light.
struct Ramp {
    Pixel c[4];
    Pixel at(float v) const;
};

// A ramp made from a middle colour: darker, base, lighter, highlight.
Ramp rampOf(Pixel base);

// A filled ellipse shaded as a ball lit from the upper left.
void ball(Picture& p, int cx, int cy, int rx, int ry, const Ramp& r);
// A filled rectangle shaded with a lit left and top edge and a dark right and bottom edge.
void block(Picture& p, int x, int y, int w, int h, const Ramp& r);
// Multiplies the colours inside the ellipse by `factor` (shadows on the ground).
void shadow(Picture& p, int cx, int cy, int rx, int ry, float factor);
// Copies the non-black pixels of the w x h rectangle of `layer` at (0, 0) onto `target` at (x, y).
void overlay(Picture& target, int x, int y, const Picture& layer);
// A filled triangle.
void triangle(Picture& p, int x0, int y0, int x1, int y1, int x2, int y2, Pixel c);

// One part of a soft body: an ellipse centred at (x, y).
struct Blob {
    float x, y, rx, ry;
};

// Blobs along a path from (x0, y0) to (x1, y1), their radius going from r0 to r1: a limb,
// a tail or a horn.
void limb(std::vector<Blob>& out, float x0, float y0, float x1, float y1, float r0, float r1);

// Draws the smooth union of the blobs as one rounded body lit from the upper left (shaded by
// the slope of its outline, darker towards the bottom) with a grain of `fur` (0: smooth) that
// also roughens the outline.
void softBody(Picture& p, const std::vector<Blob>& blobs, const Ramp& r, float fur, std::uint32_t seed);

} // namespace vorn::assetgen

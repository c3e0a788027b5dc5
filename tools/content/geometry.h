#pragma once

// Polygon helpers of the content tool: exact integer polygons for cutting
// (Clipper), and the floating-point measures and triangulation built on them.

#include "svg_picture.h"

#include <polyclipping/clipper.hpp>

#include <vector>

// Clipper works on integers: this many integer steps to one picture unit.
constexpr double kClipperScale = 1000;

ClipperLib::Paths toClipper(const std::vector<Ring>& rings);
std::vector<Ring> fromClipper(const ClipperLib::Paths& paths);

// Area in square picture units (holes subtract).
double areaOf(const ClipperLib::Paths& paths);

// Splits polygons with holes into pieces, each an outer ring followed by
// its holes.
std::vector<ClipperLib::Paths> piecesOf(const ClipperLib::Paths& paths);

// Grows (positive) or shrinks (negative) by `distance` picture units.
ClipperLib::Paths offsetBy(const ClipperLib::Paths& paths, double distance);

// Distance from `p` to the nearest edge of any ring; negative outside
// (even-odd inside test over all rings).
double signedDistance(const std::vector<Ring>& rings, Point p);
double distanceToEdges(const std::vector<Ring>& rings, Point p);

// The point inside the rings that lies farthest from their edges, found to
// within `precision` units, and that distance.
struct Pole {
    Point centre;
    double distance = 0;
};
Pole poleOfInaccessibility(const std::vector<Ring>& rings, double precision);

// Triangles covering the rings (odd winding: holes stay empty), three points
// each, in no particular winding. Returns false when the tessellator fails.
bool triangulate(const std::vector<Ring>& rings, std::vector<Point>& triangles);

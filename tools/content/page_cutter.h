#pragma once

// Cuts a picture into the regions of one page: each shape's region is the
// part of it that later shapes leave visible inside the picture box, so that
// neighbouring regions share their borders exactly.

#include "game/page_catalogue.h"
#include "geometry.h"
#include "svg_picture.h"

#include <string>
#include <vector>

// Screen scale for the size rules: the picture group lies at depth 48.879,
// where the visible half-height is 20.25 game units; a game unit is 20
// picture units. At 1280x720 one picture unit is 720 / (2 * 20.25 * 20)
// pixels.
constexpr double kPixelsPerUnitAt720 = 720.0 / (2 * 20.25 * 20);
constexpr double kPixelsPerUnitAt1080 = 1080.0 / (2 * 20.25 * 20);

// Diameter of the circle every region must hold, in picture units.
double requiredCircle(bool hard);

// Parts of a region thinner than this many picture units (and larger than
// kSliverArea square units) make it a sliver.
constexpr double kSliverWidth = 5.0;
constexpr double kSliverArea = 100.0;

// Visible pieces of a shape smaller than this (square picture units, about
// 4 x 4 pixels at 1920x1080) are crumbs of shapes that overlap a little or
// nearly meet: they go to the shape beneath, or to the neighbour they touch
// most. Larger extra pieces make a region that falls apart.
constexpr double kCrumbArea = 10.0;

struct CutRegion {
    PageRegion id;            // key, element id, paint number, M
    std::string shapeLabel;   // the shape it came from, for messages
    ClipperLib::Paths area;   // one piece: an outer ring and its holes
    std::vector<Ring> rings;  // the same in picture units
    Pole pole;                // the point farthest from the border
};

struct CutPage {
    std::string name;  // "page03" or "hpage03"
    const PictureRecord* record = nullptr;
    bool hard = false;
    double width = 0;
    double height = 0;
    std::vector<CutRegion> regions;  // in document order of their shapes
};

// Cuts `picture` into page `record.pageId` of the standard or hard set.
// Returns false when the picture does not make a valid page, with every
// problem found, one a line, each naming the page, paint and region (or
// shape).
bool cutPage(const SvgPicture& picture, const PictureRecord& record, bool hard, CutPage& page,
             std::string& error);

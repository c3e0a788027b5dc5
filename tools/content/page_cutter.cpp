#include "page_cutter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace ClipperLib;

namespace {

// Pieces smaller than this (square picture units) are rounding dust of the
// integer cut, far below a pixel, and are dropped.
constexpr double kDustArea = 0.05;

std::string hexColour(uint32_t fill) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", unsigned(fill));
    return text;
}

std::string at(Point p) {
    char text[48];
    std::snprintf(text, sizeof text, "(%.0f, %.0f)", p.x, p.y);
    return text;
}

// The paint number of a fill, or -1. White is the uncounted extra paint of
// pages that have one.
int32_t paintOfFill(const PictureRecord& record, uint32_t fill) {
    for (int32_t paint = 0; paint < record.paintCount; ++paint) {
        const uint8_t* c = record.paints[paint];
        if (fill == (uint32_t(c[0]) << 16 | uint32_t(c[1]) << 8 | c[2]))
            return paint;
    }
    if (fill == 0xffffff && record.uncountedRegions > 0)
        return record.paintCount;
    return -1;
}

Paths boxOf(double width, double height) {
    return {{IntPoint(0, 0), IntPoint(cInt(width * kClipperScale), 0),
             IntPoint(cInt(width * kClipperScale), cInt(height * kClipperScale)),
             IntPoint(0, cInt(height * kClipperScale))}};
}

Paths combine(const Paths& a, const Paths& b, ClipType operation, PolyFillType aFill) {
    Clipper clipper;
    clipper.AddPaths(a, ptSubject, true);
    clipper.AddPaths(b, ptClip, true);
    Paths out;
    clipper.Execute(operation, out, aFill, pftNonZero);
    return out;
}

std::vector<Paths> largestFirst(std::vector<Paths> pieces) {
    std::sort(pieces.begin(), pieces.end(),
              [](const Paths& a, const Paths& b) { return areaOf(a) > areaOf(b); });
    return pieces;
}

std::vector<Paths> withoutDust(const std::vector<Paths>& pieces) {
    std::vector<Paths> kept;
    for (const Paths& piece : pieces)
        if (areaOf(piece) >= kDustArea)
            kept.push_back(piece);
    return kept;
}

Point centreOf(const Paths& piece) {
    std::vector<Ring> rings = fromClipper(piece);
    return poleOfInaccessibility(rings, 1.0).centre;
}

// Adds a crumb to the region that shares the most border with it; false when
// the result would not be one piece.
bool joinNeighbour(CutPage& page, const Paths& crumb) {
    Paths around = offsetBy(crumb, 0.5);
    CutRegion* best = nullptr;
    double bestContact = 0;
    for (CutRegion& region : page.regions) {
        if (region.area.empty())
            continue;
        double contact = areaOf(combine(around, region.area, ctIntersection, pftNonZero));
        if (contact > bestContact) {
            bestContact = contact;
            best = &region;
        }
    }
    if (best == nullptr)
        return false;
    // Grown a little so as to bridge hairline rounding gaps, but never into
    // any other region.
    Paths grown =
        combine(offsetBy(crumb, 0.05), boxOf(page.width, page.height), ctIntersection, pftNonZero);
    for (const CutRegion& region : page.regions) {
        if (&region != best && !region.area.empty())
            grown = combine(grown, region.area, ctDifference, pftNonZero);
    }
    std::vector<Paths> joined =
        withoutDust(piecesOf(combine(best->area, grown, ctUnion, pftNonZero)));
    if (joined.size() != 1)
        return false;
    best->area = joined[0];
    best->rings = fromClipper(best->area);
    return true;
}

}  // namespace

double requiredCircle(bool hard) {
    return (hard ? 24.0 : 44.0) / kPixelsPerUnitAt720;
}

bool cutPage(const SvgPicture& picture, const PictureRecord& record, bool hard, CutPage& page,
             std::string& error) {
    char name[16];
    std::snprintf(name, sizeof name, "%spage%02d", hard ? "h" : "", int(record.pageId));
    page = CutPage{};
    page.name = name;
    page.record = &record;
    page.hard = hard;
    page.width = picture.width;
    page.height = picture.height;

    // Every problem is collected, so that one run shows all that is wrong.
    std::vector<std::string> problems;

    // Keys first: M counts the shapes of each paint in document order.
    std::vector<const SvgShape*> shapes;
    std::vector<int32_t> seen(size_t(record.paintCount) + 1, 0);
    for (const SvgShape& shape : picture.shapes) {
        if (shape.hardLayer && !hard)
            continue;
        int32_t paint = paintOfFill(record, shape.fill);
        if (paint < 0) {
            problems.push_back(page.name + ": " + shape.label + ": fill " + hexColour(shape.fill) +
                               " is not a paint of this page");
            continue;
        }
        int32_t m = ++seen[size_t(paint)];
        CutRegion region;
        region.id = {regionKey(paint, m), regionElementId(paint, m), paint, m};
        region.shapeLabel = shape.label;
        page.regions.push_back(region);
        shapes.push_back(&shape);
    }
    for (int32_t paint = 0; paint <= record.paintCount; ++paint) {
        int32_t want = regionsOfPaint(record, hard, paint);
        if (seen[size_t(paint)] != want) {
            problems.push_back(page.name + ": paint " + std::to_string(paint + 1) + ": " +
                               std::to_string(seen[size_t(paint)]) + " shapes, the catalogue has " +
                               std::to_string(want) + " regions (keys color" +
                               std::to_string(paint + 1) + "el1..el" + std::to_string(want) + ")");
        }
    }

    // Painter's order, back to front from the top: each shape keeps what the
    // shapes after it leave visible.
    Paths box = boxOf(picture.width, picture.height);
    Paths covered;
    for (size_t i = shapes.size(); i-- > 0;) {
        CutRegion& region = page.regions[i];
        std::string where = page.name + ": paint " + std::to_string(region.id.paintNumber + 1) +
                            ", region " + region.id.key + " (" + region.shapeLabel + ")";
        Paths shape = toClipper(shapes[i]->rings);
        Paths clipped;
        {
            Clipper clipper;
            clipper.AddPaths(shape, ptSubject, true);
            clipper.AddPaths(box, ptClip, true);
            clipper.Execute(ctIntersection, clipped, shapes[i]->evenOdd ? pftEvenOdd : pftNonZero,
                            pftNonZero);
        }
        Paths visible = combine(clipped, covered, ctDifference, pftNonZero);
        // Crumbs (where shapes overlap a little, or nearly meet) are left to
        // the shapes beneath, as if this shape did not reach there.
        std::vector<Paths> pieces = largestFirst(piecesOf(visible));
        if (pieces.empty() || areaOf(pieces[0]) < kCrumbArea) {
            problems.push_back(where + ": nothing of it is visible");
            continue;
        }
        size_t large = size_t(std::count_if(
            pieces.begin(), pieces.end(), [](const Paths& p) { return areaOf(p) >= kCrumbArea; }));
        if (large > 1) {
            problems.push_back(where + ": its visible part falls into " + std::to_string(large) +
                               " pieces, near " + at(centreOf(pieces[0])) + " and " +
                               at(centreOf(pieces[1])));
            covered = combine(covered, clipped, ctUnion, pftNonZero);
            continue;
        }
        covered = combine(covered, pieces[0], ctUnion, pftNonZero);
        region.area = pieces[0];
        region.rings = fromClipper(region.area);
        region.pole = poleOfInaccessibility(region.rings, 0.25);
        double room = 2 * region.pole.distance;
        if (room < requiredCircle(hard)) {
            char text[160];
            std::snprintf(text, sizeof text,
                          ": too small, its widest circle is %.2f units across near %s, it needs "
                          "%.2f",
                          room, at(region.pole.centre).c_str(), requiredCircle(hard));
            problems.push_back(where + text);
            continue;
        }
        // Slivers: whatever an opening by the sliver width takes away.
        Paths opened = offsetBy(offsetBy(region.area, -kSliverWidth / 2), kSliverWidth / 2);
        for (const Paths& thin : piecesOf(combine(region.area, opened, ctDifference, pftNonZero))) {
            if (areaOf(thin) > kSliverArea) {
                char text[160];
                std::snprintf(text, sizeof text,
                              ": a sliver thinner than %.0f units (%.0f square units) near %s",
                              kSliverWidth, areaOf(thin), at(centreOf(thin)).c_str());
                problems.push_back(where + text);
                break;
            }
        }
    }
    // Crumbs that no shape beneath took: gaps between shapes, or pockets
    // enclosed by shapes above. Each joins the region it touches most; even
    // dust does, as a thin gap can still show as a speck. Dust that cannot
    // join is left out.
    for (const Paths& gap : piecesOf(combine(box, covered, ctDifference, pftNonZero))) {
        bool dust = areaOf(gap) < kDustArea;
        if (areaOf(gap) >= kCrumbArea || (!joinNeighbour(page, gap) && !dust)) {
            char text[64];
            std::snprintf(text, sizeof text, " (%.1f square units)", areaOf(gap));
            problems.push_back(page.name + ": the shapes leave the picture uncovered near " +
                               at(centreOf(gap)) + text);
        }
    }
    if (problems.empty())
        return true;
    error.clear();
    for (const std::string& problem : problems)
        error += (error.empty() ? "" : "\n") + problem;
    return false;
}

#include "geometry.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>
#include <queue>

using namespace ClipperLib;

ClipperLib::Paths toClipper(const std::vector<Ring>& rings) {
    Paths paths;
    for (const Ring& ring : rings) {
        Path path;
        for (Point p : ring) {
            IntPoint q(cInt(std::llround(p.x * kClipperScale)),
                       cInt(std::llround(p.y * kClipperScale)));
            if (path.empty() || path.back().X != q.X || path.back().Y != q.Y)
                path.push_back(q);
        }
        if (path.size() >= 3)
            paths.push_back(path);
    }
    return paths;
}

std::vector<Ring> fromClipper(const ClipperLib::Paths& paths) {
    std::vector<Ring> rings;
    for (const Path& path : paths) {
        Ring ring;
        for (const IntPoint& q : path)
            ring.push_back({q.X / kClipperScale, q.Y / kClipperScale});
        rings.push_back(ring);
    }
    return rings;
}

double areaOf(const ClipperLib::Paths& paths) {
    double total = 0;
    for (const Path& path : paths)
        total += Area(path);
    return std::abs(total) / (kClipperScale * kClipperScale);
}

std::vector<ClipperLib::Paths> piecesOf(const ClipperLib::Paths& paths) {
    Clipper clipper;
    clipper.AddPaths(paths, ptSubject, true);
    PolyTree tree;
    clipper.Execute(ctUnion, tree, pftNonZero, pftNonZero);
    std::vector<Paths> pieces;
    // Outer rings sit at even depths of the tree, their holes just below.
    std::vector<PolyNode*> pending(tree.Childs.begin(), tree.Childs.end());
    while (!pending.empty()) {
        PolyNode* outer = pending.back();
        pending.pop_back();
        Paths piece{outer->Contour};
        for (PolyNode* hole : outer->Childs) {
            piece.push_back(hole->Contour);
            pending.insert(pending.end(), hole->Childs.begin(), hole->Childs.end());
        }
        pieces.push_back(piece);
    }
    return pieces;
}

ClipperLib::Paths offsetBy(const ClipperLib::Paths& paths, double distance) {
    ClipperOffset offset(2.0, 0.05 * kClipperScale);
    offset.AddPaths(paths, jtMiter, etClosedPolygon);
    Paths out;
    offset.Execute(out, distance * kClipperScale);
    return out;
}

namespace {

double segmentDistanceSquared(Point p, Point a, Point b) {
    double dx = b.x - a.x, dy = b.y - a.y;
    double lengthSquared = dx * dx + dy * dy;
    double t = lengthSquared > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared : 0;
    t = std::clamp(t, 0.0, 1.0);
    double ex = a.x + t * dx - p.x, ey = a.y + t * dy - p.y;
    return ex * ex + ey * ey;
}

bool inside(const std::vector<Ring>& rings, Point p) {
    bool in = false;
    for (const Ring& ring : rings) {
        for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
            const Point& a = ring[i];
            const Point& b = ring[j];
            if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
                in = !in;
        }
    }
    return in;
}

}  // namespace

double distanceToEdges(const std::vector<Ring>& rings, Point p) {
    double best = std::numeric_limits<double>::infinity();
    for (const Ring& ring : rings) {
        for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++)
            best = std::min(best, segmentDistanceSquared(p, ring[i], ring[j]));
    }
    return std::sqrt(best);
}

double signedDistance(const std::vector<Ring>& rings, Point p) {
    double distance = distanceToEdges(rings, p);
    return inside(rings, p) ? distance : -distance;
}

Pole poleOfInaccessibility(const std::vector<Ring>& rings, double precision) {
    // Best-first search over square cells (the "polylabel" method): a cell
    // can hold no point farther from the edges than its centre's distance
    // plus its half-diagonal.
    struct Cell {
        Point centre;
        double half;
        double distance;
        double bound() const { return distance + half * std::sqrt(2.0); }
    };
    auto cellAt = [&](Point centre, double half) {
        return Cell{centre, half, signedDistance(rings, centre)};
    };
    auto byBound = [](const Cell& a, const Cell& b) { return a.bound() < b.bound(); };
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    for (const Ring& ring : rings) {
        for (Point p : ring) {
            minX = std::min(minX, p.x), minY = std::min(minY, p.y);
            maxX = std::max(maxX, p.x), maxY = std::max(maxY, p.y);
        }
    }
    Pole pole;
    if (rings.empty() || !(maxX > minX) || !(maxY > minY))
        return pole;
    double size = std::min(maxX - minX, maxY - minY);
    double half = size / 2;
    std::priority_queue<Cell, std::vector<Cell>, decltype(byBound)> queue(byBound);
    for (double x = minX; x < maxX; x += size)
        for (double y = minY; y < maxY; y += size)
            queue.push(cellAt({x + half, y + half}, half));
    Cell best = cellAt({(minX + maxX) / 2, (minY + maxY) / 2}, 0);
    while (!queue.empty()) {
        Cell cell = queue.top();
        queue.pop();
        if (cell.distance > best.distance)
            best = cell;
        if (cell.bound() - best.distance <= precision)
            continue;
        double h = cell.half / 2;
        queue.push(cellAt({cell.centre.x - h, cell.centre.y - h}, h));
        queue.push(cellAt({cell.centre.x + h, cell.centre.y - h}, h));
        queue.push(cellAt({cell.centre.x - h, cell.centre.y + h}, h));
        queue.push(cellAt({cell.centre.x + h, cell.centre.y + h}, h));
    }
    pole.centre = best.centre;
    pole.distance = best.distance;
    return pole;
}

namespace {

struct Tessellation {
    std::deque<std::array<double, 3>> vertices;  // stable addresses for GLU
    std::vector<Point> triangles;
    bool failed = false;
};

#ifndef CALLBACK
#define CALLBACK
#endif

void CALLBACK onBegin(GLenum, void*) {}
void CALLBACK onEdgeFlag(GLboolean, void*) {}  // asking for flags forces plain triangles
void CALLBACK onVertex(void* vertex, void* data) {
    auto* coordinates = static_cast<double*>(vertex);
    static_cast<Tessellation*>(data)->triangles.push_back({coordinates[0], coordinates[1]});
}
void CALLBACK onCombine(GLdouble coords[3], void* [4], GLfloat[4], void** out, void* data) {
    auto* tessellation = static_cast<Tessellation*>(data);
    tessellation->vertices.push_back({coords[0], coords[1], 0});
    *out = tessellation->vertices.back().data();
}
void CALLBACK onError(GLenum, void* data) {
    static_cast<Tessellation*>(data)->failed = true;
}

}  // namespace

bool triangulate(const std::vector<Ring>& rings, std::vector<Point>& triangles) {
    Tessellation tessellation;
    GLUtesselator* tess = gluNewTess();
    if (tess == nullptr)
        return false;
    using Callback = void(CALLBACK*)();
    gluTessCallback(tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<Callback>(onBegin));
    gluTessCallback(tess, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<Callback>(onEdgeFlag));
    gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<Callback>(onVertex));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<Callback>(onCombine));
    gluTessCallback(tess, GLU_TESS_ERROR_DATA, reinterpret_cast<Callback>(onError));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_ODD);
    gluTessNormal(tess, 0, 0, 1);
    gluTessBeginPolygon(tess, &tessellation);
    for (const Ring& ring : rings) {
        gluTessBeginContour(tess);
        for (Point p : ring) {
            tessellation.vertices.push_back({p.x, p.y, 0});
            double* stored = tessellation.vertices.back().data();
            gluTessVertex(tess, stored, stored);
        }
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);
    if (tessellation.failed || tessellation.triangles.size() % 3 != 0)
        return false;
    triangles = std::move(tessellation.triangles);
    return true;
}

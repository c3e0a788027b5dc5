#pragma once

// The game's content as data: fifteen pictures, each cut into a standard and
// a finer hard page with the same paints. The page builders and the content
// tool that makes the page archives both read these tables.

#include "scene/rgb.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr int32_t kPageCount = 15;
constexpr int32_t kMaxPaints = 9;

// The page builders put the picture group into the page container (which is
// turned -90 degrees about x) turned +90 about x and placed here, so that the
// two turns cancel: the group's frame has x right, y up and z towards the
// viewer, with the origin at the picture's lower-left corner. The overlay of
// outlines and numbers hangs in the page container itself, without a
// transform of its own, so its models are stored in the container's frame.
constexpr double kPictureGroupRotation[3] = {90, 0, 0};
constexpr double kPictureGroupPosition[3] = {-11.716, -51.121, -14.607};

// A point of the picture group's frame in the page container's frame, and
// back. Turning +90 about x takes (x, y, z) to (x, -z, y).
inline void pictureToContainer(const double in[3], double out[3]) {
    out[0] = in[0] + kPictureGroupPosition[0];
    out[1] = -in[2] + kPictureGroupPosition[1];
    out[2] = in[1] + kPictureGroupPosition[2];
}
inline void containerToPicture(const double in[3], double out[3]) {
    out[0] = in[0] - kPictureGroupPosition[0];
    out[1] = in[2] - kPictureGroupPosition[2];
    out[2] = -(in[1] - kPictureGroupPosition[1]);
}

// One picture: its paints and how many regions each paint has on each page.
struct PictureRecord {
    int32_t pageId;                       // 1..15, shared by both sets
    int32_t paintCount;                   // 7 to 9
    uint8_t paints[kMaxPaints][3];        // red, green, blue 0..255 of paint number 0, 1, ...
    int32_t standardRegions[kMaxPaints];  // regions per paint number, standard page
    int32_t hardRegions[kMaxPaints];      // regions per paint number, hard page
    int32_t uncountedRegions;  // regions of the extra paint number paintCount (page 7 only)
};

// One region of a page, as the page builder creates it.
struct PageRegion {
    std::string key;       // "colorNelM", N = paint number + 1, M = 1.. within the paint
    int32_t elementId;     // the digits of N followed by those of M
    int32_t paintNumber;   // N - 1
    int32_t indexInPaint;  // M
};

// The record of page id 1..15, or nullptr for any other id.
const PictureRecord* pictureRecord(int32_t pageId);

// "page07.pak" or "hpage07.pak".
std::string pageArchiveName(int32_t pageId, bool hard);

// Paint number `paint` of a picture as a colour in 0..1 (channel / 255).
Rgb paintColour(const PictureRecord& record, int32_t paint);

// Key and element id of region M (1-based) of a paint number (0-based).
std::string regionKey(int32_t paintNumber, int32_t indexInPaint);
int32_t regionElementId(int32_t paintNumber, int32_t indexInPaint);

// How many regions of paint number `paint` a page has, including the
// uncounted extra paint (paint == paintCount); 0 for any other paint.
int32_t regionsOfPaint(const PictureRecord& record, bool hard, int32_t paint);

// The regions the player must fill: the sum over the page's own paints.
int32_t countedElements(const PictureRecord& record, bool hard);

// Every region of a page, in creation order (ascending text order of keys).
std::vector<PageRegion> pageRegions(const PictureRecord& record, bool hard);

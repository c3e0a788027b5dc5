#pragma once

// Pictures of the built pages for review: each page as the player first sees
// it (outlines and numbers on paper) and fully coloured, drawn by a small
// software rasteriser from the archive's own model entries.

#include "page_cutter.h"
#include "page_models.h"

#include <string>
#include <vector>

struct PagePreview {
    std::string name;    // "page03"
    RgbaImage blank;     // outlines and numbers on paper
    RgbaImage coloured;  // every region in its paint
};

// Draws both previews of a page from its archive entries. False with a
// message when an entry cannot be read back.
bool renderPagePreview(const CutPage& page, const PageArchive& archive, PagePreview& preview,
                       std::string& error);

// Writes an RGBA picture as PNG.
bool writePngFile(const std::string& path, const RgbaImage& image);

// All pages side by side in one picture, each with its name.
bool writeContactSheet(const std::string& path, const std::vector<PagePreview>& previews);

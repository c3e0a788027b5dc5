#include "game/page_catalogue.h"

#include <algorithm>
#include <cstdio>

namespace {

// clang-format off
const PictureRecord kPictures[kPageCount] = {
    {1, 8, {{216, 255, 105}, {111, 148, 0}, {159, 131, 0}, {255, 217, 74}, {150, 75, 0},
            {255, 120, 0}, {235, 105, 0}, {219, 91, 0}},
     {2, 5, 3, 6, 4, 6, 2, 3}, {16, 10, 5, 6, 6, 15, 6, 5}, 0},
    {2, 8, {{216, 157, 0}, {249, 251, 62}, {153, 148, 0}, {72, 60, 50}, {0, 85, 53},
            {111, 97, 0}, {0, 123, 101}, {85, 107, 47}},
     {4, 4, 7, 2, 3, 6, 9, 3}, {6, 6, 7, 3, 6, 6, 23, 22}, 0},
    {3, 9, {{253, 248, 96}, {0, 0, 0}, {134, 1, 231}, {255, 193, 204}, {211, 211, 211},
            {128, 128, 128}, {101, 67, 33}, {72, 60, 50}, {205, 127, 50}},
     {3, 3, 2, 3, 2, 3, 7, 5, 6}, {6, 9, 20, 3, 6, 3, 9, 5, 11}, 0},
    {4, 9, {{115, 226, 0}, {72, 60, 50}, {167, 255, 68}, {133, 187, 101}, {85, 107, 47},
            {133, 251, 160}, {240, 255, 174}, {0, 101, 56}, {94, 82, 0}},
     {1, 1, 12, 49, 4, 8, 4, 2, 2}, {1, 3, 14, 55, 4, 12, 5, 4, 2}, 0},
    {5, 8, {{253, 247, 88}, {31, 0, 63}, {255, 164, 0}, {182, 239, 249}, {255, 234, 179},
            {194, 142, 0}, {116, 108, 192}, {181, 100, 28}},
     {8, 2, 3, 4, 6, 4, 2, 2}, {30, 13, 3, 7, 8, 4, 4, 3}, 0},
    {6, 9, {{0, 105, 96}, {243, 253, 65}, {59, 55, 0}, {78, 68, 0}, {128, 128, 128},
            {72, 60, 50}, {0, 74, 43}, {85, 107, 47}, {194, 178, 128}},
     {1, 6, 3, 7, 14, 20, 3, 11, 1}, {12, 7, 6, 9, 22, 20, 5, 15, 1}, 0},
    {7, 9, {{84, 72, 0}, {72, 60, 50}, {85, 107, 47}, {87, 1, 143}, {120, 3, 161},
            {197, 7, 224}, {244, 94, 218}, {254, 112, 174}, {255, 98, 92}},
     {7, 6, 5, 1, 5, 6, 6, 4, 4}, {12, 12, 9, 5, 12, 8, 9, 6, 10}, 2},
    {8, 9, {{255, 111, 70}, {243, 253, 49}, {229, 228, 226}, {255, 179, 118}, {128, 128, 128},
            {72, 60, 50}, {138, 68, 0}, {85, 107, 47}, {174, 188, 255}},
     {5, 3, 3, 3, 7, 5, 6, 3, 1}, {15, 4, 5, 3, 16, 8, 9, 3, 2}, 0},
    {9, 9, {{254, 251, 162}, {255, 219, 0}, {255, 131, 0}, {255, 250, 191}, {205, 127, 50},
            {101, 67, 33}, {255, 213, 105}, {151, 108, 0}, {72, 60, 50}},
     {3, 13, 2, 3, 2, 14, 2, 7, 4}, {3, 16, 6, 3, 14, 16, 9, 7, 4}, 0},
    {10, 7, {{83, 0, 226}, {255, 255, 102}, {72, 60, 50}, {128, 128, 128}, {194, 178, 128},
             {255, 227, 191}, {192, 182, 255}},
     {9, 8, 8, 5, 2, 7, 6}, {17, 11, 15, 8, 2, 16, 12}, 0},
    {11, 9, {{56, 0, 120}, {255, 193, 204}, {255, 204, 0}, {255, 244, 127}, {255, 102, 0},
             {160, 154, 0}, {91, 92, 0}, {0, 0, 0}, {57, 84, 0}},
     {1, 4, 5, 6, 1, 5, 3, 2, 3}, {12, 7, 5, 6, 8, 7, 10, 11, 10}, 0},
    {12, 9, {{72, 60, 50}, {194, 178, 128}, {128, 128, 128}, {154, 205, 50}, {192, 192, 192},
             {110, 127, 128}, {101, 67, 33}, {255, 207, 171}, {67, 72, 0}},
     {5, 8, 7, 5, 6, 5, 7, 4, 5}, {18, 16, 9, 7, 24, 6, 9, 4, 13}, 0},
    {13, 9, {{74, 0, 171}, {229, 228, 226}, {128, 128, 128}, {81, 41, 0}, {145, 100, 0},
             {72, 60, 50}, {131, 53, 0}, {255, 255, 102}, {253, 221, 230}},
     {1, 2, 7, 1, 1, 2, 2, 3, 4}, {15, 2, 7, 3, 7, 3, 3, 3, 4}, 0},
    {14, 8, {{85, 107, 47}, {128, 128, 128}, {194, 178, 128}, {72, 60, 50}, {210, 180, 140},
             {229, 183, 59}, {255, 223, 0}, {0, 115, 100}},
     {8, 8, 2, 11, 5, 2, 6, 1}, {23, 14, 9, 14, 6, 3, 7, 15}, 0},
    {15, 9, {{255, 204, 1}, {254, 250, 166}, {255, 240, 118}, {255, 128, 0}, {205, 158, 0},
             {194, 178, 128}, {72, 60, 50}, {192, 192, 192}, {128, 128, 128}},
     {1, 2, 7, 9, 5, 14, 1, 2, 3}, {2, 4, 7, 31, 5, 48, 1, 3, 4}, 0},
};
// clang-format on

}  // namespace

const PictureRecord* pictureRecord(int32_t pageId) {
    if (pageId < 1 || pageId > kPageCount)
        return nullptr;
    return &kPictures[pageId - 1];
}

std::string pageArchiveName(int32_t pageId, bool hard) {
    char name[32];
    std::snprintf(name, sizeof name, "%spage%02d.pak", hard ? "h" : "", int(pageId));
    return name;
}

Rgb paintColour(const PictureRecord& record, int32_t paint) {
    if (paint < 0 || paint >= record.paintCount)
        return kWhite;
    const uint8_t* channels = record.paints[paint];
    return {channels[0] / 255.0, channels[1] / 255.0, channels[2] / 255.0};
}

std::string regionKey(int32_t paintNumber, int32_t indexInPaint) {
    return "color" + std::to_string(paintNumber + 1) + "el" + std::to_string(indexInPaint);
}

int32_t regionElementId(int32_t paintNumber, int32_t indexInPaint) {
    return int32_t(std::stol(std::to_string(paintNumber + 1) + std::to_string(indexInPaint)));
}

int32_t regionsOfPaint(const PictureRecord& record, bool hard, int32_t paint) {
    if (paint == record.paintCount)
        return record.uncountedRegions;
    if (paint < 0 || paint > record.paintCount)
        return 0;
    return hard ? record.hardRegions[paint] : record.standardRegions[paint];
}

int32_t countedElements(const PictureRecord& record, bool hard) {
    int32_t total = 0;
    for (int32_t paint = 0; paint < record.paintCount; ++paint) {
        total += regionsOfPaint(record, hard, paint);
    }
    return total;
}

std::vector<PageRegion> pageRegions(const PictureRecord& record, bool hard) {
    std::vector<PageRegion> regions;
    for (int32_t paint = 0; paint <= record.paintCount; ++paint) {
        for (int32_t m = 1; m <= regionsOfPaint(record, hard, paint); ++m) {
            regions.push_back({regionKey(paint, m), regionElementId(paint, m), paint, m});
        }
    }
    std::sort(regions.begin(), regions.end(),
              [](const PageRegion& a, const PageRegion& b) { return a.key < b.key; });
    return regions;
}

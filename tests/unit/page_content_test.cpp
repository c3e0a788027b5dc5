// Checks every page archive the content tool built, read back through the
// game's own archive cache and model parser: the catalogue's keys, meshes
// that tile the picture box without gaps or overlaps, the size rules, and
// numbers that sit inside their regions and read their paint.

#include "digit_atlas.h"
#include "game/page_catalogue.h"
#include "page_cutter.h"
#include "page_models.h"
#include "resources/resource_manager.h"
#include "resources/sub_mesh.h"
#include "resources/texture.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <set>

namespace {

// The picture box in picture units, sampled once a unit at off-grid points
// so that no sample lies on a border drawn at whole or half units.
constexpr int kGridWidth = 560;
constexpr int kGridHeight = 600;
constexpr double kSampleOffsetX = 0.37;
constexpr double kSampleOffsetY = 0.61;
constexpr double kBoxWidth = kGridWidth / 20.0;  // game units
constexpr double kBoxHeight = kGridHeight / 20.0;

// Meshes are parsed against an empty archive, so that no texture is made:
// these tests run without a GL context.
const char* const kTexturelessArchive = "textureless.pak";

struct Triangle {
    double x[3], y[3];  // picture units, y down
    double u[3], v[3];
    double z[3], normal[9];
};

float floatAt(const float* array, size_t index) {
    float value;
    std::memcpy(&value, reinterpret_cast<const uint8_t*>(array) + 4 * index, 4);
    return value;
}

// Triangles of a mesh in picture units; overlay meshes are stored in the page
// container's frame and come back to the picture group's, normals included.
std::vector<Triangle> trianglesOf(const SubMesh& mesh, bool inContainer = false) {
    std::vector<Triangle> triangles(size_t(mesh.triangleCount));
    for (size_t t = 0; t < triangles.size(); ++t) {
        for (size_t k = 0; k < 3; ++k) {
            size_t vertex = 3 * t + k;
            double stored[3], normal[3], position[3], turned[3], origin[3] = {0, 0, 0},
                                                                 turnedOrigin[3];
            for (size_t c = 0; c < 3; ++c) {
                stored[c] = floatAt(mesh.positions, 3 * vertex + c);
                normal[c] = floatAt(mesh.normals, 3 * vertex + c);
            }
            if (inContainer) {
                // Back to the picture, undoing the pull towards the line of
                // sight that makes the raised overlay project onto it.
                containerToPicture(stored, position);
                double pull = (kEyeInPicture[2] - position[2]) / kEyeInPicture[2];
                for (size_t c = 0; c < 2; ++c)
                    position[c] = kEyeInPicture[c] + (position[c] - kEyeInPicture[c]) / pull;
                // Directions turn without the offset.
                double tip[3];
                pictureToContainer(origin, turnedOrigin);
                for (size_t c = 0; c < 3; ++c)
                    tip[c] = turnedOrigin[c] + normal[c];
                containerToPicture(tip, turned);
                std::copy_n(turned, 3, normal);
            } else {
                std::copy_n(stored, 3, position);
            }
            triangles[t].x[k] = position[0] * 20.0;
            triangles[t].y[k] = (kBoxHeight - position[1]) * 20.0;
            triangles[t].z[k] = position[2];
            triangles[t].u[k] = floatAt(mesh.texCoords, 2 * vertex);
            triangles[t].v[k] = floatAt(mesh.texCoords, 2 * vertex + 1);
            for (size_t c = 0; c < 3; ++c)
                triangles[t].normal[3 * k + c] = normal[c];
        }
    }
    return triangles;
}

double areaOf(const Triangle& t) {
    return 0.5 *
           std::abs((t.x[1] - t.x[0]) * (t.y[2] - t.y[0]) - (t.x[2] - t.x[0]) * (t.y[1] - t.y[0]));
}

bool contains(const Triangle& t, double px, double py) {
    double area = (t.x[1] - t.x[0]) * (t.y[2] - t.y[0]) - (t.x[2] - t.x[0]) * (t.y[1] - t.y[0]);
    if (area == 0)
        return false;
    for (int k = 0; k < 3; ++k) {
        int n = (k + 1) % 3;
        double edge = (t.x[n] - t.x[k]) * (py - t.y[k]) - (t.y[n] - t.y[k]) * (px - t.x[k]);
        if (edge * area < 0)
            return false;
    }
    return true;
}

// Calls f(index) for every grid sample inside the triangle.
template <typename F>
void forSamplesIn(const Triangle& t, F f) {
    int x0 = std::max(0, int(std::floor(*std::min_element(t.x, t.x + 3))) - 1);
    int x1 = std::min(kGridWidth - 1, int(std::ceil(*std::max_element(t.x, t.x + 3))));
    int y0 = std::max(0, int(std::floor(*std::min_element(t.y, t.y + 3))) - 1);
    int y1 = std::min(kGridHeight - 1, int(std::ceil(*std::max_element(t.y, t.y + 3))));
    double area = (t.x[1] - t.x[0]) * (t.y[2] - t.y[0]) - (t.x[2] - t.x[0]) * (t.y[1] - t.y[0]);
    if (area == 0)
        return;
    double sign = area > 0 ? 1 : -1;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            double px = x + kSampleOffsetX, py = y + kSampleOffsetY;
            bool inside = true;
            for (int k = 0; k < 3 && inside; ++k) {
                int n = (k + 1) % 3;
                double edge = (t.x[n] - t.x[k]) * (py - t.y[k]) - (t.y[n] - t.y[k]) * (px - t.x[k]);
                inside = edge * sign >= 0;
            }
            if (inside)
                f(size_t(y) * kGridWidth + size_t(x));
        }
    }
}

// Squared Euclidean distance transform along one line (Felzenszwalb and
// Huttenlocher): f holds 0 at seeds and kFar elsewhere.
constexpr double kFar = 1e20;

void distanceLine(std::vector<double>& f, size_t start, size_t stride, size_t n) {
    std::vector<double> values(n), z(n + 1);
    std::vector<size_t> v(n);
    for (size_t i = 0; i < n; ++i)
        values[i] = f[start + i * stride];
    auto meet = [&](size_t q, size_t p) {
        return ((values[q] + double(q * q)) - (values[p] + double(p * p))) /
               (2.0 * double(q) - 2.0 * double(p));
    };
    size_t k = 0;
    v[0] = 0;
    z[0] = -kFar;
    z[1] = kFar;
    for (size_t q = 1; q < n; ++q) {
        double s = meet(q, v[k]);
        while (s <= z[k])
            s = meet(q, v[--k]);
        ++k;
        v[k] = q;
        z[k] = s;
        z[k + 1] = kFar;
    }
    k = 0;
    for (size_t q = 0; q < n; ++q) {
        while (z[k + 1] < double(q))
            ++k;
        double diff = double(q) - double(v[k]);
        f[start + q * stride] = diff * diff + values[v[k]];
    }
}

// Distance in picture units from every sample to the nearest seed.
std::vector<double> distancesTo(const std::vector<bool>& seed) {
    std::vector<double> f(seed.size());
    for (size_t i = 0; i < seed.size(); ++i)
        f[i] = seed[i] ? 0 : kFar;
    for (size_t y = 0; y < size_t(kGridHeight); ++y)
        distanceLine(f, y * kGridWidth, 1, kGridWidth);
    for (size_t x = 0; x < size_t(kGridWidth); ++x)
        distanceLine(f, x, kGridWidth, kGridHeight);
    for (double& value : f)
        value = std::sqrt(value);
    return f;
}

// Samples on a border: next to a sample of another region, or at the box's
// edge (the border with the outside).
std::vector<bool> borderSamples(const std::vector<int>& label) {
    std::vector<bool> seed(label.size(), false);
    for (int y = 0; y < kGridHeight; ++y) {
        for (int x = 0; x < kGridWidth; ++x) {
            size_t i = size_t(y) * kGridWidth + size_t(x);
            bool edge = x == 0 || y == 0 || x == kGridWidth - 1 || y == kGridHeight - 1;
            seed[i] = edge || label[i - 1] != label[i] || label[i + 1] != label[i] ||
                      label[i - kGridWidth] != label[i] || label[i + kGridWidth] != label[i];
        }
    }
    return seed;
}

struct ParsedModel {
    std::vector<SubMesh*> meshes;
    ~ParsedModel() {
        for (SubMesh* mesh : meshes) {
            mesh->releaseTexture();
            delete mesh;
        }
    }
};

bool parse(PakArchive& archive, const std::string& key, ParsedModel& model) {
    EntryData entry = archive.findEntry(key);
    if (entry.data == nullptr)
        return false;
    parseModel(entry, kTexturelessArchive, model.meshes);
    return true;
}

class PageArchives : public ::testing::Test {
protected:
    void SetUp() override {
        writeFile(kTexturelessArchive, writePak({}));
        std::string error;
        ASSERT_TRUE(renderDigitAtlas(atlas_, error)) << error;
    }
    void TearDown() override { EXPECT_TRUE(resourceManager.archives.empty()); }

    void checkPage(const PictureRecord& record, bool hard, const std::string& path);
    void checkTextures(PakArchive& archive, const SubMesh& mesh);
    void checkNumbers(PakArchive& archive, const PictureRecord& record,
                      const std::vector<PageRegion>& regions, const std::vector<int>& label,
                      const std::vector<double>& toBorder);

    InTempFolder folder_;
    DigitAtlas atlas_;
};

void PageArchives::checkTextures(PakArchive& archive, const SubMesh& mesh) {
    EntryData picture = archive.findEntry(mesh.textureName);
    ASSERT_NE(picture.data, nullptr) << "texture " << mesh.textureName;
    SDL_Surface* surface = decodePicture(picture.data, picture.size);
    EXPECT_NE(surface, nullptr) << "texture " << mesh.textureName << " decodes";
    if (surface != nullptr)
        SDL_FreeSurface(surface);
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(mesh.material.specular[c], 0.0f) << "texels show exactly";
}

void PageArchives::checkPage(const PictureRecord& record, bool hard, const std::string& path) {
    PakArchive* archive = resourceManager.acquireArchive(path);
    ASSERT_NE(archive, nullptr);
    std::vector<PageRegion> regions = pageRegions(record, hard);

    // Keys: every catalogue key once, nothing else that looks like a region.
    std::set<std::string> keys;
    for (const PageRegion& region : regions)
        keys.insert(region.key);
    for (const PakEntry& entry : archive->entries) {
        if (entry.name.rfind("color", 0) == 0) {
            EXPECT_TRUE(keys.count(entry.name)) << "extra region key " << entry.name;
        }
    }
    for (const char* name : {"list_nums", "list_kontur"})
        EXPECT_NE(archive->findEntry(name).data, nullptr) << name;

    // Regions: meshes in the box, together covering every sample once.
    std::vector<int> label(size_t(kGridWidth) * kGridHeight, -1);
    int overlaps = 0;
    std::vector<size_t> doublyCovered;
    double totalArea = 0;
    std::vector<std::pair<Triangle, int>> allTriangles;
    for (size_t r = 0; r < regions.size(); ++r) {
        const PageRegion& region = regions[r];
        int n = 0, m = 0;
        ASSERT_EQ(std::sscanf(region.key.c_str(), "color%del%d", &n, &m), 2);
        EXPECT_EQ(region.elementId, std::stoi(std::to_string(n) + std::to_string(m)));
        EXPECT_EQ(region.paintNumber, n - 1);
        ParsedModel model;
        ASSERT_TRUE(parse(*archive, region.key, model)) << "missing " << region.key;
        ASSERT_EQ(model.meshes.size(), 1u) << region.key;
        const SubMesh& mesh = *model.meshes[0];
        EXPECT_GT(mesh.triangleCount, 0) << region.key;
        EXPECT_FALSE(mesh.material.transparent) << region.key;
        checkTextures(*archive, mesh);
        for (const Triangle& t : trianglesOf(mesh)) {
            for (int k = 0; k < 3; ++k) {
                EXPECT_TRUE(t.x[k] >= -1e-3 && t.x[k] <= kGridWidth + 1e-3 && t.y[k] >= -1e-3 &&
                            t.y[k] <= kGridHeight + 1e-3)
                    << region.key << " leaves the box at " << t.x[k] << ", " << t.y[k];
                EXPECT_EQ(t.z[k], 0.0) << region.key;
                EXPECT_EQ(t.normal[3 * k + 2], 1.0f) << region.key;
            }
            totalArea += areaOf(t);
            allTriangles.push_back({t, int(r)});
            forSamplesIn(t, [&](size_t i) {
                if (label[i] != -1 && label[i] != int(r))
                    doublyCovered.push_back(i);
                label[i] = int(r);
            });
        }
    }
    EXPECT_NEAR(totalArea, double(kGridWidth) * kGridHeight, 0.5) << "regions tile the box";
    // Neighbours' borders come from separate integer cuts and may part by a
    // rounding step (a thousandth of a unit): a sample in such a hairline
    // belongs to whichever region lies a hundredth of a unit away.
    for (size_t i = 0; i < label.size(); ++i) {
        if (label[i] != -1)
            continue;
        double x = double(i % kGridWidth) + kSampleOffsetX,
               y = double(i / kGridWidth) + kSampleOffsetY;
        const double nudges[4][2] = {{0.01, 0}, {-0.01, 0}, {0, 0.01}, {0, -0.01}};
        for (const auto& nudge : nudges) {
            for (const auto& [t, r] : allTriangles) {
                if (contains(t, x + nudge[0], y + nudge[1]))
                    label[i] = r;
            }
        }
    }
    // The same rounding step can also make two borders overlap by a hairline:
    // a sample covered twice only counts when a hundredth of a unit to every
    // side is covered twice as well.
    auto regionsAt = [&](double x, double y) {
        std::vector<int> found;
        for (const auto& [t, r] : allTriangles) {
            if (contains(t, x, y) && std::find(found.begin(), found.end(), r) == found.end())
                found.push_back(r);
        }
        return found.size();
    };
    for (size_t i : doublyCovered) {
        double x = double(i % kGridWidth) + kSampleOffsetX,
               y = double(i / kGridWidth) + kSampleOffsetY;
        const double nudges[4][2] = {{0.01, 0}, {-0.01, 0}, {0, 0.01}, {0, -0.01}};
        bool hairline = false;
        for (const auto& nudge : nudges)
            hairline = hairline || regionsAt(x + nudge[0], y + nudge[1]) < 2;
        if (!hairline)
            ++overlaps;
    }
    EXPECT_EQ(overlaps, 0) << "samples covered by two regions";
    auto uncovered = std::find(label.begin(), label.end(), -1);
    EXPECT_EQ(uncovered, label.end())
        << std::count(label.begin(), label.end(), -1) << " samples covered by none, the first at "
        << (uncovered - label.begin()) % kGridWidth + kSampleOffsetX << ", "
        << (uncovered - label.begin()) / kGridWidth + kSampleOffsetY;

    // Size rules: the widest circle of each region, and no thin parts.
    std::vector<double> toBorder = distancesTo(borderSamples(label));
    std::vector<double> widest(regions.size(), 0);
    for (size_t i = 0; i < label.size(); ++i) {
        if (label[i] >= 0)
            widest[size_t(label[i])] = std::max(widest[size_t(label[i])], toBorder[i]);
    }
    double needed = requiredCircle(hard) / 2 - 1.5;  // within the grid's reach
    for (size_t r = 0; r < regions.size(); ++r)
        EXPECT_GE(widest[r], needed) << regions[r].key << " is too small";
    // The opening by the sliver width, as the tool makes it: the core lies
    // at least half the width from the border (border samples lie half a
    // unit inside it), and what the core's grown cover misses is thin.
    std::vector<bool> core(label.size());
    for (size_t i = 0; i < label.size(); ++i)
        core[i] = toBorder[i] + 0.5 >= kSliverWidth / 2;
    std::vector<double> toCore = distancesTo(core);
    std::vector<int> thinParts(label.size(), 0);
    for (size_t start = 0; start < label.size(); ++start) {
        if (toCore[start] <= kSliverWidth / 2 + 0.5 || thinParts[start])
            continue;
        // A connected thin part of one region: flood it.
        std::vector<size_t> pending{start};
        thinParts[start] = 1;
        int size = 0;
        while (!pending.empty()) {
            size_t i = pending.back();
            pending.pop_back();
            ++size;
            size_t x = i % kGridWidth, y = i / kGridWidth;
            size_t next[4] = {x > 0 ? i - 1 : i, x + 1 < size_t(kGridWidth) ? i + 1 : i,
                              y > 0 ? i - kGridWidth : i,
                              y + 1 < size_t(kGridHeight) ? i + kGridWidth : i};
            for (size_t j : next) {
                if (j != i && !thinParts[j] && label[j] == label[i] &&
                    toCore[j] > kSliverWidth / 2 + 0.5) {
                    thinParts[j] = 1;
                    pending.push_back(j);
                }
            }
        }
        EXPECT_LE(size, kSliverArea * 1.25)
            << regions[size_t(label[start])].key << " has a sliver near " << start % kGridWidth
            << ", " << start / kGridWidth;
    }

    checkNumbers(*archive, record, regions, label, toBorder);

    ParsedModel outlines;
    ASSERT_TRUE(parse(*archive, "list_kontur", outlines));
    ASSERT_EQ(outlines.meshes.size(), 1u);
    EXPECT_TRUE(outlines.meshes[0]->material.transparent);
    EXPECT_GT(outlines.meshes[0]->triangleCount, 0);
    checkTextures(*archive, *outlines.meshes[0]);
    double margin = kOutlineHalfWidth + 0.01;
    for (const Triangle& t : trianglesOf(*outlines.meshes[0], true)) {
        for (int k = 0; k < 3; ++k) {
            EXPECT_TRUE(t.x[k] >= -margin && t.x[k] <= kGridWidth + margin && t.y[k] >= -margin &&
                        t.y[k] <= kGridHeight + margin);
            EXPECT_GT(t.z[k], 0) << "outlines lie over the regions";
            EXPECT_NEAR(t.normal[3 * k + 2], 1.0, 1e-6) << "outlines face the viewer";
        }
    }
    resourceManager.releaseArchive(path);
}

void PageArchives::checkNumbers(PakArchive& archive, const PictureRecord& record,
                                const std::vector<PageRegion>& regions,
                                const std::vector<int>& label,
                                const std::vector<double>& toBorder) {
    ParsedModel numbers;
    ASSERT_TRUE(parse(archive, "list_nums", numbers));
    ASSERT_EQ(numbers.meshes.size(), 1u);
    const SubMesh& mesh = *numbers.meshes[0];
    EXPECT_TRUE(mesh.material.transparent) << "anti-aliased glyphs are blended";
    checkTextures(archive, mesh);
    std::vector<Triangle> triangles = trianglesOf(mesh, true);
    std::vector<int> numbersIn(regions.size(), 0);
    ASSERT_EQ(triangles.size() % 2, 0u) << "one quad a digit";
    const double pixelsPerUnit = kPixelsPerUnitAt720;
    for (size_t q = 0; q < triangles.size(); q += 2) {
        // Which region: every sample under the quad belongs to one region and
        // keeps clear of its outline.
        std::set<int> under;
        double closest = std::numeric_limits<double>::infinity();
        for (size_t k = q; k < q + 2; ++k) {
            forSamplesIn(triangles[k], [&](size_t i) {
                under.insert(label[i]);
                closest = std::min(closest, toBorder[i]);
            });
        }
        ASSERT_EQ(under.size(), 1u) << "a number crosses a border";
        int r = *under.begin();
        EXPECT_GE(closest, kOutlineHalfWidth)
            << regions[size_t(r)].key << ": number touches the outline";
        ++numbersIn[size_t(r)];

        // Which digit: the glyph whose atlas box the quad's texture spans.
        const Triangle& t = triangles[q];
        double u = (*std::min_element(t.u, t.u + 3) + *std::max_element(t.u, t.u + 3)) / 2 *
                   atlas_.image.width;
        int digit = -1;
        for (int d = 0; d < 10; ++d)
            if (u > atlas_.glyphs[d].x0 && u < atlas_.glyphs[d].x1)
                digit = d;
        EXPECT_EQ(digit, regions[size_t(r)].paintNumber + 1) << regions[size_t(r)].key;

        // Legible: the ink at least 14 pixels tall at 1280x720.
        if (digit >= 0) {
            const DigitGlyph& glyph = atlas_.glyphs[digit];
            double quadHeight = *std::max_element(t.y, t.y + 3) - *std::min_element(t.y, t.y + 3);
            double ink = quadHeight * glyph.inkHeight / (glyph.y1 - glyph.y0) * pixelsPerUnit;
            EXPECT_GE(ink, kMinNumberPixels - 0.01) << regions[size_t(r)].key;
        }
        for (int k = 0; k < 3; ++k)
            EXPECT_GT(t.z[k], 0) << "numbers lie over the regions";
    }
    for (size_t r = 0; r < regions.size(); ++r) {
        bool numbered = regions[r].paintNumber < record.paintCount;
        EXPECT_EQ(numbersIn[r], numbered ? 1 : 0) << regions[r].key;
    }
}

TEST_F(PageArchives, EveryBuiltPageMatchesItsCatalogueEntryAndTheRules) {
    int checked = 0;
    for (int32_t id = 1; id <= kPageCount; ++id) {
        for (bool hard : {false, true}) {
            std::string name = pageArchiveName(id, hard);
            std::string path = std::string(NIMBLETINT_DATA_DIR) + "/" + name;
            if (!std::filesystem::exists(path))
                continue;
            SCOPED_TRACE(name);
            checkPage(*pictureRecord(id), hard, path);
            ++checked;
        }
    }
    if (checked == 0)
        GTEST_SKIP() << "no page archives in " << NIMBLETINT_DATA_DIR;
    std::printf("checked %d page archives\n", checked);
}

}  // namespace

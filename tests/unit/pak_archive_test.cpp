#include "resources/resource_manager.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <string>

namespace {

Bytes text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

class ArchiveCache : public ::testing::Test {
protected:
    void SetUp() override {
        writeFile("interface.pak",
                  writePak({{"fon", text("first")}, {"empty", {}}, {"fon", text("second")}}));
        writeFile("none.pak", writePak({}));
    }
    void TearDown() override { EXPECT_TRUE(resourceManager.archives.empty()); }

    InTempFolder folder_;
};

TEST_F(ArchiveCache, ReadsOnceSharesAndFreesAtZero) {
    int32_t readsBefore = resourceManager.filesRead;
    PakArchive* first = resourceManager.acquireArchive("interface.pak");
    PakArchive* second = resourceManager.acquireArchive("interface.pak");
    EXPECT_EQ(first, second);
    EXPECT_EQ(resourceManager.filesRead, readsBefore + 1);
    EXPECT_EQ(resourceManager.useCount("interface.pak"), 2);

    resourceManager.releaseArchive("interface.pak");
    EXPECT_EQ(resourceManager.useCount("interface.pak"), 1);
    resourceManager.releaseArchive("interface.pak");
    EXPECT_EQ(resourceManager.useCount("interface.pak"), 0);
    EXPECT_TRUE(resourceManager.archiveNames.empty());

    resourceManager.acquireArchive("interface.pak");
    EXPECT_EQ(resourceManager.filesRead, readsBefore + 2);
    resourceManager.releaseArchive("interface.pak");
}

TEST_F(ArchiveCache, LookupIsFirstMatchExactAndCaseSensitive) {
    PakArchive* archive = resourceManager.acquireArchive("interface.pak");
    EntryData fon = archive->findEntry("fon");
    ASSERT_NE(fon.data, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(fon.data), size_t(fon.size)), "first");
    EXPECT_EQ(archive->findEntry("Fon").data, nullptr);
    EXPECT_EQ(archive->findEntry("fon ").data, nullptr);
    EntryData empty = archive->findEntry("empty");
    EXPECT_NE(empty.data, nullptr);
    EXPECT_EQ(empty.size, 0);
    resourceManager.releaseArchive("interface.pak");
}

TEST_F(ArchiveCache, MissingEntryStillHoldsTheArchive) {
    EntryData missing = resourceManager.acquireEntry("none.pak", "fon");
    EXPECT_EQ(missing.data, nullptr);
    EXPECT_EQ(missing.size, 0);
    EXPECT_EQ(resourceManager.useCount("none.pak"), 1);
    resourceManager.releaseArchive("none.pak");
}

TEST_F(ArchiveCache, TwoSpellingsOfOnePathAreTwoArchives) {
    int32_t readsBefore = resourceManager.filesRead;
    resourceManager.acquireArchive("interface.pak");
    resourceManager.acquireArchive("./interface.pak");
    EXPECT_EQ(resourceManager.filesRead, readsBefore + 2);
    EXPECT_EQ(resourceManager.archives.size(), 2u);
    resourceManager.releaseArchive("interface.pak");
    resourceManager.releaseArchive("./interface.pak");
}

TEST_F(ArchiveCache, ReleasingAnUnopenedNameChangesNothing) {
    resourceManager.acquireArchive("none.pak");
    resourceManager.releaseArchive("interface.pak");
    resourceManager.releaseTexture("interface.pak", 7);
    EXPECT_EQ(resourceManager.useCount("none.pak"), 1);
    EXPECT_EQ(resourceManager.archives.size(), 1u);
    resourceManager.releaseArchive("none.pak");
}

using ArchiveFailure = ArchiveCache;

TEST_F(ArchiveFailure, MissingArchiveEndsTheProcessNamingIt) {
    EXPECT_EXIT(resourceManager.acquireArchive("page99.pak"), ::testing::ExitedWithCode(1),
                "page99.pak");
}

TEST_F(ArchiveFailure, DamagedArchiveEndsTheProcessNamingIt) {
    writeFile("broken.pak", Bytes{5, 0, 0, 0, 3, 'f'});
    EXPECT_EXIT(resourceManager.acquireArchive("broken.pak"), ::testing::ExitedWithCode(1),
                "broken.pak");
}

struct MalformedCase {
    const char* what;
    Bytes bytes;
};

Bytes withEntry(int32_t count, int8_t nameLength, const std::string& name, int32_t size,
                const std::string& data) {
    Bytes out;
    appendInt32(out, count);
    out.push_back(uint8_t(nameLength));
    out.insert(out.end(), name.begin(), name.end());
    appendInt32(out, size);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

TEST(PakFormat, MalformedArchivesAreRefused) {
    const MalformedCase cases[] = {
        {"shorter than a count", Bytes{1, 0}},
        {"negative count", withEntry(-1, 3, "fon", 1, "x")},
        {"count past the end", withEntry(2, 3, "fon", 1, "x")},
        {"huge count", withEntry(0x7fffffff, 3, "fon", 1, "x")},
        {"name length of 128 or more", withEntry(1, int8_t(-128), "fon", 1, "x")},
        {"name past the end", withEntry(1, 20, "fon", 1, "x")},
        {"negative size", withEntry(1, 3, "fon", -5, "x")},
        {"size past the end", withEntry(1, 3, "fon", 100, "x")},
        {"size cut off", Bytes{1, 0, 0, 0, 3, 'f', 'o', 'n', 1, 0}},
    };
    for (const MalformedCase& c : cases) {
        PakArchive archive;
        EXPECT_FALSE(archive.loadFromBytes(c.bytes.data(), c.bytes.size())) << c.what;
        EXPECT_TRUE(archive.entries.empty()) << c.what;
    }
}

TEST(PakFormat, BytesAfterTheLastEntryAreIgnored) {
    Bytes bytes = withEntry(1, 3, "fon", 1, "x");
    bytes.insert(bytes.end(), {9, 9, 9});
    PakArchive archive;
    ASSERT_TRUE(archive.loadFromBytes(bytes.data(), bytes.size()));
    ASSERT_EQ(archive.entries.size(), 1u);
    EXPECT_EQ(archive.findEntry("fon").size, 1);
}

}  // namespace

#include "resources/resource_manager.h"
#include "support/fixtures.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace {

class Textures : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        writeFile("a.pak", writePak({{"pic", solidPng(8, 8, 1, 2, 3)}, {"junk", Bytes(64, 0x33)}}));
        writeFile("b.pak", writePak({{"pic", solidPng(8, 8, 1, 2, 3)}}));
    }
    void TearDown() override {
        EXPECT_EQ(resourceManager.useCount("a.pak"), 0);
        EngineTest::TearDown();
    }
    PakEntry& entry(const char* archive, const char* name) {
        PakArchive* pak = resourceManager.acquireArchive(archive);
        resourceManager.releaseArchive(archive);
        for (PakEntry& e : pak->entries) {
            if (e.name == name)
                return e;
        }
        throw std::runtime_error("no entry");
    }
};

TEST_F(Textures, OneEntryIsSharedAndDeletedWithItsLastUser) {
    uint32_t first = resourceManager.acquireTexture("a.pak", "pic");
    uint32_t second = resourceManager.acquireTexture("a.pak", "pic");
    ASSERT_NE(first, 0u);
    EXPECT_EQ(first, second);
    EXPECT_EQ(resourceManager.useCount("a.pak"), 2);
    EXPECT_EQ(entry("a.pak", "pic").textureUseCount, 2);

    GLint width = 0;
    glBindTexture(GL_TEXTURE_2D, first);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 8);

    resourceManager.releaseTexture("a.pak", first);
    EXPECT_TRUE(glIsTexture(first));
    EXPECT_EQ(resourceManager.useCount("a.pak"), 1);
    resourceManager.acquireArchive("a.pak");  // keep the archive open to look at the slot
    resourceManager.releaseTexture("a.pak", second);
    EXPECT_FALSE(glIsTexture(first));
    EXPECT_EQ(entry("a.pak", "pic").textureId, 0u);
    resourceManager.releaseArchive("a.pak");
}

TEST_F(Textures, SameNameInTwoArchivesIsTwoTextures) {
    uint32_t a = resourceManager.acquireTexture("a.pak", "pic");
    uint32_t b = resourceManager.acquireTexture("b.pak", "pic");
    EXPECT_NE(a, b);
    resourceManager.releaseTexture("a.pak", a);
    resourceManager.releaseTexture("b.pak", b);
    EXPECT_EQ(resourceManager.useCount("b.pak"), 0);
}

TEST_F(Textures, FailuresReturnZeroAndKeepOnlyTheArchiveReference) {
    EXPECT_EQ(resourceManager.acquireTexture("a.pak", "junk"), 0u);
    EXPECT_EQ(resourceManager.acquireTexture("a.pak", "missing"), 0u);
    EXPECT_EQ(resourceManager.useCount("a.pak"), 2);
    EXPECT_EQ(entry("a.pak", "junk").textureUseCount, 0);
    uint32_t picture = resourceManager.acquireTexture("a.pak", "pic");
    resourceManager.releaseTexture("a.pak", 0);
    EXPECT_EQ(entry("a.pak", "pic").textureUseCount, 1) << "name 0 touches no entry";
    resourceManager.releaseTexture("a.pak", 0);
    resourceManager.releaseTexture("a.pak", picture);
}

TEST_F(Textures, ReacquiringAfterDeletionDecodesAgain) {
    uint32_t first = resourceManager.acquireTexture("a.pak", "pic");
    resourceManager.acquireArchive("a.pak");
    resourceManager.releaseTexture("a.pak", first);
    EXPECT_FALSE(glIsTexture(first));
    uint32_t again = resourceManager.acquireTexture("a.pak", "pic");
    EXPECT_NE(again, 0u);
    EXPECT_TRUE(glIsTexture(again));
    resourceManager.releaseTexture("a.pak", again);
    resourceManager.releaseArchive("a.pak");
}

}  // namespace

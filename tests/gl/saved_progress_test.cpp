#include "app/game_loop.h"
#include "game/progress_book.h"
#include "settings/settings_file.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

using FirstRun = GameTest;

TEST_F(FirstRun, StartsWithDefaultsAndQuitSavesAtOnce) {
    EXPECT_EQ(settingsPath, settingsFile());
    ASSERT_NE(progressBook, nullptr);
    EXPECT_TRUE(progressBook->showHelpAtStart);
    EXPECT_TRUE(progressBook->musicOn);
    EXPECT_EQ(progressBook->colouringMode(), ColouringMode::numbers);
    EXPECT_FALSE(fs::exists(settingsFile()));

    progressBook->soundOn = false;
    progressBook->selectPage(4);
    progressBook->fillElement(12, kWhite, 2);
    quitGame();
    // Complete before the teardown frames, so a kill during them loses nothing.
    ProgressBook saved;
    loadProgressBook(saved, settingsFile());
    EXPECT_FALSE(saved.soundOn);
    EXPECT_EQ(saved.pageIds, std::vector<int32_t>{4});
    EXPECT_EQ(saved.currentPage, 0);
    EXPECT_EQ(saved.numberFills[0].size(), 1u);
    EXPECT_FALSE(fs::exists(savingPathFor(settingsFile())));
}

TEST_F(FirstRun, QuitsEvenWhenTheBookCannotBeSaved) {
    writeFile(folder_.path() + "/plain", {'x'});
    settingsPath = folder_.path() + "/plain/quillmark-nimbletint-cfg";
    quitGame();
    runFrames(100);
    EXPECT_FALSE(gameRunning());
    EXPECT_FALSE(fs::exists(settingsFile()));
}

// A game whose settings file was saved by an earlier run.
class LaterRun : public GameTest {
protected:
    void SetUp() override {
        ProgressBook earlier;
        earlier.showHelpAtStart = false;
        earlier.languageIndex = 3;
        earlier.setColouringMode(ColouringMode::numbersHard);
        earlier.selectPage(9);
        earlier.fillElement(5, kWhite, 1);
        ASSERT_TRUE(saveProgressBook(earlier, settingsFile()));
        GameTest::SetUp();
    }
};

TEST_F(LaterRun, StartUpReadsTheSavedBook) {
    ASSERT_NE(progressBook, nullptr);
    EXPECT_FALSE(progressBook->showHelpAtStart);
    EXPECT_EQ(progressBook->language(), 3);
    EXPECT_STREQ(progressBook->languageArchive(), "langru.pak");
    EXPECT_EQ(progressBook->colouringMode(), ColouringMode::numbersHard);
    EXPECT_EQ(progressBook->currentPageId(), 9);
    EXPECT_TRUE(progressBook->isElementFilled(5));
}

}  // namespace

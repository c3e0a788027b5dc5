#include "settings/settings_file.h"
#include "game/progress_book.h"
#include "support/allocation_probe.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const Rgb kRed{1, 0, 0};
const Rgb kBlue{0, 0, 1};

// The file's layout written out by hand, field by field.
struct FileBytes {
    std::string bytes;

    FileBytes& int32(int32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(char(uint32_t(value) >> (8 * i) & 0xff));
        return *this;
    }
    FileBytes& flag(bool value) {
        bytes.push_back(value ? 1 : 0);
        return *this;
    }
    FileBytes& real(double value) {
        uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        for (int i = 0; i < 8; ++i)
            bytes.push_back(char(bits >> (8 * i) & 0xff));
        return *this;
    }
    FileBytes& colourRecord(int32_t key, const Rgb& rgb) {
        return int32(key).int32(0).real(rgb.red).real(rgb.green).real(rgb.blue);
    }
    // Version, the three flags, the language and the two mode flags.
    FileBytes& header(int32_t version, int32_t language) {
        return int32(version).flag(false).flag(true).flag(false).int32(language).flag(false).flag(
            true);
    }
    // A page block with a paint and a fill of each kind.
    FileBytes& fullPage(int32_t pageId) {
        int32(pageId).int32(1).colourRecord(0, kRed);
        int32(1).int32(10).int32(2);
        int32(1).int32(11).int32(3);
        int32(1).colourRecord(12, kBlue);
        return int32(1).colourRecord(13, kRed);
    }
    // Offset of the next field.
    size_t here() const { return bytes.size(); }
    void patchInt32(size_t offset, int32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes[offset + size_t(i)] = char(uint32_t(value) >> (8 * i) & 0xff);
    }
};

std::string written(const ProgressBook& book) {
    std::ostringstream out;
    writeTo(book, out);
    return out.str();
}

bool readBytes(ProgressBook& book, const std::string& bytes) {
    std::istringstream in(bytes);
    return readFrom(book, in);
}

// A stream that cannot seek, so the reader cannot learn its length up front.
struct OneWayBuffer : std::streambuf {
    explicit OneWayBuffer(std::string bytes) : bytes_(std::move(bytes)) {
        setg(bytes_.data(), bytes_.data(), bytes_.data() + bytes_.size());
    }
    std::string bytes_;
};

bool readOneWay(ProgressBook& book, const std::string& bytes) {
    OneWayBuffer buffer(bytes);
    std::istream in(&buffer);
    return readFrom(book, in);
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool sameBits(const Rgb& a, const Rgb& b) {
    return sameBits(a.red, b.red) && sameBits(a.green, b.green) && sameBits(a.blue, b.blue);
}

void expectSamePaints(const std::vector<PaintColour>& a, const std::vector<PaintColour>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].number, b[i].number);
        EXPECT_TRUE(sameBits(a[i].colour, b[i].colour)) << "paint " << i;
    }
}

void expectSameFills(const std::vector<ElementFill>& a, const std::vector<ElementFill>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].elementId, b[i].elementId);
        EXPECT_TRUE(sameBits(a[i].colour, b[i].colour)) << "fill " << i;
    }
}

void expectSameNumbers(const std::vector<ElementNumber>& a, const std::vector<ElementNumber>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].elementId, b[i].elementId);
        EXPECT_EQ(a[i].number, b[i].number);
    }
}

void expectSamePage(const ProgressBook& a, size_t i, const ProgressBook& b, size_t j) {
    EXPECT_EQ(a.pageIds[i], b.pageIds[j]);
    expectSamePaints(a.pageCustomPaints[i], b.pageCustomPaints[j]);
    expectSameNumbers(a.numberFills[i], b.numberFills[j]);
    expectSameNumbers(a.numberFillsHard[i], b.numberFillsHard[j]);
    expectSameFills(a.freeFills[i], b.freeFills[j]);
    expectSameFills(a.freeFillsHard[i], b.freeFillsHard[j]);
}

// The book's invariants: parallel per-page lists, a valid current page and
// language, each page id once.
void expectConsistent(const ProgressBook& book) {
    expectParallelPageLists(book);
    size_t pages = book.pageIds.size();
    EXPECT_TRUE(book.currentPage == -1 ||
                (book.currentPage >= 0 && size_t(book.currentPage) < pages));
    EXPECT_TRUE(book.languageIndex >= 0 && book.languageIndex < 5);
    for (size_t i = 0; i < pages; ++i) {
        for (size_t j = i + 1; j < pages; ++j)
            EXPECT_NE(book.pageIds[i], book.pageIds[j]);
    }
}

void expectFirstRunSettings(const ProgressBook& book, int32_t language) {
    EXPECT_TRUE(book.showHelpAtStart);
    EXPECT_TRUE(book.soundOn);
    EXPECT_TRUE(book.musicOn);
    EXPECT_TRUE(book.numberMode);
    EXPECT_FALSE(book.hardSet);
    EXPECT_EQ(book.languageIndex, language);
    EXPECT_EQ(book.advertFollowed, 0);
    EXPECT_EQ(book.currentPage, -1);
}

// Several pages in an unsorted order, both kinds of fill, custom paints, and
// doubles that only survive a bit-exact layout.
ProgressBook richBook() {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const double tiny = std::numeric_limits<double>::denorm_min();
    ProgressBook book;
    book.showHelpAtStart = false;
    book.musicOn = false;
    book.languageIndex = 4;
    book.advertFollowed = -123456;
    book.freeCustomPaints = {{0, {nan, -0.0, infinity}}, {17, {tiny, 1e308, -1}}};
    for (int32_t page : {12, 1, 15}) {
        book.selectPage(page);
        book.setDefaultPaint(0, kRed);  // not stored
    }
    book.pageCustomPaints[0] = {{2, {0.1, 0.2, 0.3}}, {0, {1.0 / 3, 2.0 / 3, 1}}};
    book.numberFills[0] = {{5, 1}, {-2, 0}, {INT32_MAX, INT32_MIN}};
    book.freeFills[0] = {{7, kWhite}, {8, {-infinity, 2.5, 1e-300}}};
    book.freeFillsHard[0] = {{8, {0.5, 0.25, 0.125}}};
    book.numberFillsHard[2] = {{100, 6}, {101, 7}};
    book.freeFillsHard[2] = {{-1, {-nan, 0, 1}}};
    book.pageCustomPaints[2] = {{8, kBlue}};
    book.currentPage = 1;
    book.numberMode = false;
    book.hardSet = true;
    book.elementCount = 55;                     // not stored
    book.freePaints = {{0, kRed}, {1, kBlue}};  // not stored
    return book;
}

TEST(SettingsFile, EmptyBookIs29BytesInTheDocumentedLayout) {
    ProgressBook book;
    book.showHelpAtStart = false;
    book.soundOn = true;
    book.musicOn = false;
    book.languageIndex = 3;
    book.numberMode = false;
    book.hardSet = true;
    book.advertFollowed = 0x01020304;
    FileBytes expected;
    expected.int32(2).flag(false).flag(true).flag(false).int32(3).flag(false).flag(true);
    expected.int32(0x01020304).int32(0).int32(-1).int32(0);
    std::string bytes = written(book);
    EXPECT_EQ(bytes.size(), 29u);
    EXPECT_EQ(bytes, expected.bytes);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x02\x00\x00\x00", 4)) << "little-endian";
}

TEST(SettingsFile, RecordsHaveZeroFillerAndLittleEndianFields) {
    ProgressBook book;
    book.freeCustomPaints = {{0x0a0b0c0d, {0.5, 0.25, 1}}};
    book.selectPage(9);
    book.numberFills[0] = {{0x11223344, 3}};
    book.freeFillsHard[0] = {{-2, kBlue}};
    book.currentPage = 0;
    FileBytes expected;
    expected.int32(2).flag(true).flag(true).flag(true).int32(0).flag(true).flag(false).int32(0);
    expected.int32(1).int32(0x0a0b0c0d).int32(0).real(0.5).real(0.25).real(1);
    expected.int32(0).int32(1);
    expected.int32(9).int32(0).int32(1).int32(0x11223344).int32(3).int32(0).int32(0);
    expected.int32(1).int32(-2).int32(0).real(0).real(0).real(1);
    EXPECT_EQ(written(book), expected.bytes);
}

TEST(SettingsFile, RichBookReadsBackIdentical) {
    ProgressBook original = richBook();
    std::string bytes = written(original);
    for (bool oneWay : {false, true}) {
        SCOPED_TRACE(oneWay ? "a stream that cannot seek" : "a seekable stream");
        ProgressBook book;
        EXPECT_TRUE(oneWay ? readOneWay(book, bytes) : readBytes(book, bytes));
        EXPECT_FALSE(book.showHelpAtStart);
        EXPECT_TRUE(book.soundOn);
        EXPECT_FALSE(book.musicOn);
        EXPECT_EQ(book.languageIndex, 4);
        EXPECT_FALSE(book.numberMode);
        EXPECT_TRUE(book.hardSet);
        EXPECT_EQ(book.advertFollowed, -123456);
        EXPECT_EQ(book.currentPage, 1);
        EXPECT_EQ(book.pageIds, original.pageIds);
        expectSamePaints(book.freeCustomPaints, original.freeCustomPaints);
        for (size_t i = 0; i < original.pageIds.size(); ++i)
            expectSamePage(book, i, original, i);
        expectConsistent(book);
        for (const auto& paints : book.pagePaints)
            EXPECT_TRUE(paints.empty()) << "not stored";
        EXPECT_TRUE(book.freePaints.empty());
        EXPECT_EQ(written(book), bytes);
    }
}

// A version other than 2 keeps the settings before the version's own fields
// and starts without progress, whatever follows.
TEST(SettingsFile, OtherVersionKeepsFlagsAndLanguageAndDropsProgress) {
    InTempFolder folder;
    std::string progress = written(richBook()).substr(17);
    for (int32_t version : {1, 0, 3, -1}) {
        SCOPED_TRACE(version);
        FileBytes file;
        file.header(version, 2);
        file.bytes += progress;
        ProgressBook book;
        EXPECT_TRUE(readBytes(book, file.bytes));
        EXPECT_FALSE(book.showHelpAtStart);
        EXPECT_TRUE(book.soundOn);
        EXPECT_FALSE(book.musicOn);
        EXPECT_EQ(book.languageIndex, 2);
        EXPECT_FALSE(book.numberMode);
        EXPECT_TRUE(book.hardSet);
        EXPECT_EQ(book.advertFollowed, 0);
        EXPECT_EQ(book.currentPage, -1);
        EXPECT_TRUE(book.pageIds.empty());
        EXPECT_TRUE(book.freeCustomPaints.empty());
        expectConsistent(book);
    }
}

// Every prefix of a valid file is a read failure that leaves a consistent
// book: first-run settings with the language of "lang.ini", and the pages and
// paints read whole before the cut.
TEST(SettingsFile, FileCutAtAnyByteLeavesAConsistentBook) {
    InTempFolder folder;
    writeFile("lang.ini", {'d', 'e', 'f', 'a', 'u', 'l', 't', '=', 'd', 'e'});
    ProgressBook original = richBook();
    std::string bytes = written(original);
    for (size_t length = 0; length < bytes.size(); ++length) {
        SCOPED_TRACE(length);
        for (bool oneWay : {false, true}) {
            ProgressBook book;
            std::string cut = bytes.substr(0, length);
            ASSERT_FALSE(oneWay ? readOneWay(book, cut) : readBytes(book, cut));
            expectConsistent(book);
            expectFirstRunSettings(book, 1);
            ASSERT_LE(book.pageIds.size(), original.pageIds.size());
            for (size_t i = 0; i < book.pageIds.size(); ++i)
                expectSamePage(book, i, original, i);
            ASSERT_LE(book.freeCustomPaints.size(), original.freeCustomPaints.size());
            for (size_t i = 0; i < book.freeCustomPaints.size(); ++i) {
                EXPECT_EQ(book.freeCustomPaints[i].number, original.freeCustomPaints[i].number);
            }
            if (HasFatalFailure())
                return;
        }
    }
}

// A count that is negative or larger than what the rest of the file holds is
// rejected before anything is sized from it; the pages read whole stay.
TEST(SettingsFile, HostileCountsAreRejectedWithoutLargeAllocations) {
    InTempFolder folder;
    FileBytes file;
    file.header(2, 1).int32(0);
    size_t freePaintCount = file.here();
    file.int32(1).colourRecord(3, kRed).int32(0);
    size_t pageCount = file.here();
    file.int32(2).fullPage(4);
    size_t secondPage = file.here();
    file.fullPage(5);
    const size_t customCount = secondPage + 4;
    const size_t numberCount = customCount + 4 + 32;
    const size_t freeHardCount = numberCount + 2 * 12 + 36;
    {
        ProgressBook book;
        ASSERT_TRUE(readBytes(book, file.bytes)) << "the untouched file is valid";
        ASSERT_EQ(book.pageIds.size(), 2u);
        ASSERT_EQ(book.freeFillsHard[1].size(), 1u);
    }
    struct Case {
        const char* name;
        size_t offset;
        size_t pagesKept;
    };
    const Case cases[] = {{"free paint count", freePaintCount, 0},
                          {"page count", pageCount, 0},
                          {"custom paint count of page 2", customCount, 1},
                          {"number fill count of page 2", numberCount, 1},
                          {"hard free fill count of page 2", freeHardCount, 1}};
    const int32_t values[] = {-1, INT32_MIN, INT32_MAX, 1 << 24, 1 << 29};
    resetLargestAllocation();
    std::vector<char> probe(100000);
    ASSERT_GE(largestAllocation(), probe.size()) << "the allocation probe is linked in";
    for (const Case& c : cases) {
        for (int32_t value : values) {
            for (bool oneWay : {false, true}) {
                SCOPED_TRACE(std::string(c.name) + " = " + std::to_string(value) +
                             (oneWay ? " (cannot seek)" : ""));
                FileBytes hostile = file;
                hostile.patchInt32(c.offset, value);
                ProgressBook book;
                resetLargestAllocation();
                bool read =
                    oneWay ? readOneWay(book, hostile.bytes) : readBytes(book, hostile.bytes);
                size_t largest = largestAllocation();
                EXPECT_FALSE(read);
                EXPECT_LT(largest, 4096u);
                expectConsistent(book);
                expectFirstRunSettings(book, 0);
                // A stream that cannot seek finds a large page count too
                // large only at its end, after the two pages it does hold.
                bool countFoundLate = oneWay && value > 0 && c.offset == pageCount;
                EXPECT_EQ(book.pageIds.size(), countFoundLate ? 2 : c.pagesKept);
                if (c.pagesKept == 1) {
                    EXPECT_EQ(book.numberFillsHard[0].size(), 1u);
                }
            }
        }
    }
}

TEST(SettingsFile, APageNamedTwiceIsAReadFailure) {
    InTempFolder folder;
    FileBytes file;
    file.header(2, 3).int32(7).int32(0).int32(1).int32(3).fullPage(6).fullPage(9).fullPage(6);
    ProgressBook book;
    EXPECT_FALSE(readBytes(book, file.bytes));
    EXPECT_EQ(book.pageIds, (std::vector<int32_t>{6, 9}));
    expectConsistent(book);
    expectFirstRunSettings(book, 0);
}

// Lookups take the first entry with a key, so a later duplicate is dropped.
TEST(SettingsFile, DuplicateKeysWithinAListKeepTheFirst) {
    FileBytes file;
    file.header(2, 3).int32(7);
    file.int32(2).colourRecord(1, kRed).colourRecord(1, kBlue);
    file.int32(0).int32(1).int32(6).int32(0);
    file.int32(3).int32(1).int32(1).int32(1).int32(2).int32(1).int32(1).int32(0);
    file.int32(2).colourRecord(4, kRed).colourRecord(4, kBlue).int32(0);
    ProgressBook book;
    ASSERT_TRUE(readBytes(book, file.bytes));
    ASSERT_EQ(book.freeCustomPaints.size(), 1u);
    EXPECT_EQ(book.freeCustomPaints[0].colour, kRed);
    ASSERT_EQ(book.numberFills[0].size(), 1u);
    EXPECT_EQ(book.numberFills[0][0].number, 1);
    ASSERT_EQ(book.freeFills[0].size(), 1u);
    EXPECT_EQ(book.freeFills[0][0].colour, kRed);
    EXPECT_EQ(book.currentPage, 0);
    EXPECT_EQ(book.advertFollowed, 7);
}

TEST(SettingsFile, OutOfRangeLanguageAndCurrentPageAreMended) {
    struct Case {
        int32_t language;
        int32_t currentPage;
        int32_t expectedLanguage;
        int32_t expectedPage;
    };
    const Case cases[] = {
        {4, 1, 4, 1},   {5, 0, 0, 0},   {-1, 1, 0, 1},         {2, 2, 2, -1},
        {2, -2, 2, -1}, {2, -1, 2, -1}, {0, INT32_MAX, 0, -1}, {INT32_MIN, INT32_MIN, 0, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.language) + ", " + std::to_string(c.currentPage));
        FileBytes file;
        file.header(2, c.language).int32(0).int32(0).int32(c.currentPage).int32(2);
        file.fullPage(3).fullPage(8);
        ProgressBook book;
        EXPECT_TRUE(readBytes(book, file.bytes));
        EXPECT_EQ(book.languageIndex, c.expectedLanguage);
        EXPECT_EQ(book.currentPage, c.expectedPage);
        EXPECT_EQ(book.pageIds.size(), 2u);
    }
    FileBytes versionOne;
    versionOne.header(1, 12);
    ProgressBook book;
    EXPECT_TRUE(readBytes(book, versionOne.bytes));
    EXPECT_EQ(book.languageIndex, 0);
}

// The first run takes its language from "lang.ini" in the working directory:
// the second word, or the only one, compared exactly with the keys.
TEST(SettingsFile, FirstRunLanguageFromLangIni) {
    struct Case {
        const char* name;
        bool present;
        std::string text;
        int32_t expected;
    };
    const Case cases[] = {
        {"no file", false, "", 0},
        {"header and key", true, "[language]\ndefault=ru\n", 3},
        {"single key", true, "default=ru", 3},
        {"upper-case key", true, "DEFAULT=RU", 0},
        {"upper-case after a header", true, "[language]\nDefault=ru", 0},
        {"only the second word counts", true, "default=ru default=fr default=de", 4},
        {"a key first and something else second", true, "default=ru extra", 0},
        {"windows line ends", true, "[lang]\r\ndefault=es\r\n", 2},
        {"leading blank lines", true, "\n\n  default=de", 1},
        {"a longer word", true, "x default=rus", 0},
        {"a key inside a word", true, "x xdefault=ru", 0},
        {"empty file", true, "", 0},
        {"binary junk", true, std::string("\0\xff\x01 default=fr", 14), 4},
        {"a huge first word", true, std::string(200000, 'x') + " default=de", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InTempFolder folder;
        if (c.present)
            writeFile("lang.ini", Bytes(c.text.begin(), c.text.end()));
        ProgressBook book;
        loadProgressBook(book, folder.path() + "/no-settings-yet");
        expectFirstRunSettings(book, c.expected);
        EXPECT_TRUE(book.pageIds.empty());
        EXPECT_STREQ(book.languageArchive(), c.expected == 0   ? "langen.pak"
                                             : c.expected == 1 ? "langde.pak"
                                             : c.expected == 2 ? "langes.pak"
                                             : c.expected == 3 ? "langru.pak"
                                                               : "langfr.pak");
    }
}

TEST(SettingsFile, LangIniIsNotReadWhenTheSettingsFileReads) {
    InTempFolder folder;
    writeFile("lang.ini", {'d', 'e', 'f', 'a', 'u', 'l', 't', '=', 'f', 'r'});
    ProgressBook saved;
    saved.languageIndex = 2;
    ASSERT_TRUE(saveProgressBook(saved, folder.path() + "/cfg"));
    ProgressBook book;
    loadProgressBook(book, folder.path() + "/cfg");
    EXPECT_EQ(book.languageIndex, 2);
}

class SavingTheBook : public ::testing::Test {
protected:
    std::string path() const { return folder_.path() + "/" + kSettingsFileName; }
    std::string saving() const { return savingPathFor(path()); }

    InTempFolder folder_;
};

TEST_F(SavingTheBook, SaveThenLoadGivesTheSameBook) {
    ProgressBook original = richBook();
    ASSERT_TRUE(saveProgressBook(original, path()));
    EXPECT_EQ(fileBytes(path()), written(original));
    EXPECT_FALSE(fs::exists(saving()));
    ProgressBook book;
    loadProgressBook(book, path());
    EXPECT_EQ(written(book), written(original));

    original.soundOn = false;
    ASSERT_TRUE(saveProgressBook(original, path())) << "a second save replaces the first";
    EXPECT_EQ(fileBytes(path()), written(original));
}

// A save that stops after writing the new file and before renaming it (the
// process killed, the power cut) leaves the previous file as it was; the next
// save still succeeds.
TEST_F(SavingTheBook, SaveInterruptedBeforeTheRenameKeepsThePreviousFile) {
    ProgressBook previous = richBook();
    ASSERT_TRUE(saveProgressBook(previous, path()));
    const std::string previousBytes = fileBytes(path());

    ProgressBook next;
    next.selectPage(2);
    next.fillElement(1, kRed, 0);
    ASSERT_TRUE(writeSavingFile(next, saving()));
    EXPECT_EQ(fileBytes(path()), previousBytes);
    ProgressBook loaded;
    loadProgressBook(loaded, path());
    EXPECT_EQ(written(loaded), previousBytes);

    writeFile(saving(), {1, 2, 3});  // or the write itself was cut short
    EXPECT_EQ(fileBytes(path()), previousBytes);

    ASSERT_TRUE(saveProgressBook(next, path()));
    EXPECT_EQ(fileBytes(path()), written(next));
    EXPECT_FALSE(fs::exists(saving()));
}

// Folders that cannot be written (made without permissions, since tests may
// run as root): the save fails, the previous state stays, and no partial file
// is left behind.
TEST_F(SavingTheBook, SaveIntoAFolderThatCannotBeWrittenLeavesNoPartialFile) {
    writeFile(folder_.path() + "/plain", {'x'});
    struct Case {
        const char* name;
        std::string path;
    };
    const Case cases[] = {
        {"parent is a regular file", folder_.path() + "/plain/" + kSettingsFileName},
        {"parent is missing", folder_.path() + "/missing/" + kSettingsFileName},
        {"the settings file is a folder", folder_.path() + "/taken"},
        {"the saving file's name is a folder", folder_.path() + "/blocked"},
        {"no settings folder", ""},
    };
    fs::create_directory(folder_.path() + "/taken");
    fs::create_directory(folder_.path() + "/taken/inside");
    ProgressBook previous;
    previous.languageIndex = 3;
    ASSERT_TRUE(saveProgressBook(previous, folder_.path() + "/blocked"));
    fs::create_directory(savingPathFor(folder_.path() + "/blocked"));

    ProgressBook book = richBook();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(saveProgressBook(book, c.path));
        EXPECT_FALSE(fs::is_regular_file(savingPathFor(c.path)));
    }
    EXPECT_EQ(fileBytes(folder_.path() + "/plain"), "x");
    EXPECT_FALSE(fs::exists(folder_.path() + "/missing"));
    EXPECT_TRUE(fs::is_directory(folder_.path() + "/taken/inside"));
    EXPECT_EQ(fileBytes(folder_.path() + "/blocked"), written(previous));
    EXPECT_TRUE(fs::is_empty(savingPathFor(folder_.path() + "/blocked")));
}

TEST_F(SavingTheBook, LoadingWithoutAUsableFileGivesFirstRunDefaults) {
    fs::create_directory(path());  // a folder where the file should be
    for (const std::string& where : {std::string(), path(), folder_.path() + "/absent"}) {
        SCOPED_TRACE(where);
        ProgressBook book;
        loadProgressBook(book, where);
        expectFirstRunSettings(book, 0);
        expectConsistent(book);
    }
}

}  // namespace

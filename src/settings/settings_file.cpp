#include "settings/settings_file.h"

#include "game/progress_book.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <istream>
#include <limits>
#include <ostream>

namespace {

constexpr int32_t kPaintRecordSize = 32;
constexpr int32_t kFillRecordSize = 32;
constexpr int32_t kNumberRecordSize = 8;

// Reads little-endian fields and knows how many bytes are left, so that a
// count can be checked against what the rest of the file can hold before
// anything is read for it. Once a read fails every later read fails too.
class SettingsReader {
public:
    explicit SettingsReader(std::istream& in) : in_(in), remaining_(bytesLeft(in)) {}

    bool failed() const { return failed_; }
    void fail() { failed_ = true; }

    int32_t int32() {
        uint8_t bytes[4] = {};
        take(bytes, 4);
        return static_cast<int32_t>(uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 |
                                    uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24);
    }

    bool flag() {
        uint8_t byte = 0;
        take(&byte, 1);
        return byte != 0;
    }

    double real() {
        uint8_t bytes[8] = {};
        take(bytes, 8);
        uint64_t bits = 0;
        for (int i = 7; i >= 0; --i)
            bits = bits << 8 | bytes[i];
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    Rgb colour() {
        Rgb rgb;
        rgb.red = real();
        rgb.green = real();
        rgb.blue = real();
        return rgb;
    }

    void skip(int32_t count) {
        uint8_t ignored[8];
        take(ignored, size_t(count));
    }

    // A record count: negative, or more records than the rest of the stream
    // holds, is a failure, so that nothing is ever sized from a bad count.
    int32_t count(int32_t recordSize) {
        int32_t value = int32();
        if (value < 0 || uint64_t(value) > remaining_ / uint64_t(recordSize))
            failed_ = true;
        return failed_ ? 0 : value;
    }

private:
    static uint64_t bytesLeft(std::istream& in) {
        std::istream::pos_type start = in.tellg();
        if (start == std::istream::pos_type(-1) || !in.seekg(0, std::ios::end)) {
            in.clear();
            return std::numeric_limits<uint64_t>::max();  // not seekable: reads still stop at the
                                                          // end
        }
        std::istream::pos_type end = in.tellg();
        in.seekg(start);
        if (end == std::istream::pos_type(-1) || end < start)
            return 0;
        return uint64_t(end - start);
    }

    void take(uint8_t* bytes, size_t length) {
        if (failed_ || remaining_ < length ||
            !in_.read(reinterpret_cast<char*>(bytes), std::streamsize(length))) {
            failed_ = true;
            std::memset(bytes, 0, length);
            return;
        }
        remaining_ -= length;
    }

    std::istream& in_;
    uint64_t remaining_;
    bool failed_ = false;
};

// Appends the records one by one: memory grows with the bytes actually read.
// A later record with a key already in the list is dropped, as lookups would
// never reach it.
template <typename Record, typename ReadRecord, typename SameKey>
void readList(SettingsReader& reader, int32_t recordSize, std::vector<Record>& list,
              ReadRecord readRecord, SameKey sameKey) {
    int32_t count = reader.count(recordSize);
    for (int32_t i = 0; i < count && !reader.failed(); ++i) {
        Record record = readRecord(reader);
        if (reader.failed())
            return;
        auto same = [&record, &sameKey](const Record& other) { return sameKey(record, other); };
        if (std::none_of(list.begin(), list.end(), same))
            list.push_back(record);
    }
}

void readPaints(SettingsReader& reader, std::vector<PaintColour>& paints) {
    auto readPaint = [](SettingsReader& r) {
        PaintColour paint;
        paint.number = r.int32();
        r.skip(4);
        paint.colour = r.colour();
        return paint;
    };
    auto sameNumber = [](const PaintColour& a, const PaintColour& b) {
        return a.number == b.number;
    };
    readList(reader, kPaintRecordSize, paints, readPaint, sameNumber);
}

void readFills(SettingsReader& reader, std::vector<ElementFill>& fills) {
    auto readFill = [](SettingsReader& r) {
        ElementFill fill;
        fill.elementId = r.int32();
        r.skip(4);
        fill.colour = r.colour();
        return fill;
    };
    auto sameElement = [](const ElementFill& a, const ElementFill& b) {
        return a.elementId == b.elementId;
    };
    readList(reader, kFillRecordSize, fills, readFill, sameElement);
}

void readNumbers(SettingsReader& reader, std::vector<ElementNumber>& numbers) {
    auto readNumber = [](SettingsReader& r) {
        ElementNumber entry;
        entry.elementId = r.int32();
        entry.number = r.int32();
        return entry;
    };
    auto sameElement = [](const ElementNumber& a, const ElementNumber& b) {
        return a.elementId == b.elementId;
    };
    readList(reader, kNumberRecordSize, numbers, readNumber, sameElement);
}

void dropLastPage(ProgressBook& book) {
    book.pageIds.pop_back();
    book.pageCustomPaints.pop_back();
    book.pagePaints.pop_back();
    book.numberFills.pop_back();
    book.numberFillsHard.pop_back();
    book.freeFills.pop_back();
    book.freeFillsHard.pop_back();
}

// One page block. The page's six lists are appended together and dropped
// together if the block is incomplete, so that they stay parallel to pageIds.
void readPage(SettingsReader& reader, ProgressBook& book) {
    int32_t pageId = reader.int32();
    if (reader.failed())
        return;
    if (std::find(book.pageIds.begin(), book.pageIds.end(), pageId) != book.pageIds.end()) {
        reader.fail();  // a page twice: the file is damaged
        return;
    }
    book.pageIds.push_back(pageId);
    book.pageCustomPaints.emplace_back();
    book.pagePaints.emplace_back();
    book.numberFills.emplace_back();
    book.numberFillsHard.emplace_back();
    book.freeFills.emplace_back();
    book.freeFillsHard.emplace_back();
    readPaints(reader, book.pageCustomPaints.back());
    readNumbers(reader, book.numberFills.back());
    readNumbers(reader, book.numberFillsHard.back());
    readFills(reader, book.freeFills.back());
    readFills(reader, book.freeFillsHard.back());
    if (reader.failed())
        dropLastPage(book);
}

// Reads until the end or the first failure; false on failure.
bool readFields(SettingsReader& reader, ProgressBook& book) {
    int32_t version = reader.int32();
    book.showHelpAtStart = reader.flag();
    book.soundOn = reader.flag();
    book.musicOn = reader.flag();
    book.languageIndex = reader.int32();
    book.numberMode = reader.flag();
    book.hardSet = reader.flag();
    if (reader.failed())
        return false;
    if (version != kSettingsVersion) {
        book.resetSettings(true);
        return true;
    }
    book.advertFollowed = reader.int32();
    readPaints(reader, book.freeCustomPaints);
    book.currentPage = reader.int32();
    // The smallest page block is an id and five empty counts.
    int32_t pageCount = reader.count(4 * 6);
    for (int32_t i = 0; i < pageCount && !reader.failed(); ++i)
        readPage(reader, book);
    return !reader.failed();
}

struct SettingsWriter {
    std::string bytes;

    void int32(int32_t value) {
        auto bits = static_cast<uint32_t>(value);
        for (int i = 0; i < 4; ++i)
            bytes.push_back(char(bits >> (8 * i) & 0xff));
    }
    void flag(bool value) { bytes.push_back(value ? 1 : 0); }
    void real(double value) {
        uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        for (int i = 0; i < 8; ++i)
            bytes.push_back(char(bits >> (8 * i) & 0xff));
    }
    void colour(const Rgb& rgb) {
        real(rgb.red);
        real(rgb.green);
        real(rgb.blue);
    }
    void paints(const std::vector<PaintColour>& list) {
        int32(int32_t(list.size()));
        for (const PaintColour& paint : list) {
            int32(paint.number);
            int32(0);
            colour(paint.colour);
        }
    }
    void fills(const std::vector<ElementFill>& list) {
        int32(int32_t(list.size()));
        for (const ElementFill& fill : list) {
            int32(fill.elementId);
            int32(0);
            colour(fill.colour);
        }
    }
    void numbers(const std::vector<ElementNumber>& list) {
        int32(int32_t(list.size()));
        for (const ElementNumber& entry : list) {
            int32(entry.elementId);
            int32(entry.number);
        }
    }
};

std::string bookBytes(const ProgressBook& book) {
    SettingsWriter writer;
    writer.int32(kSettingsVersion);
    writer.flag(book.showHelpAtStart);
    writer.flag(book.soundOn);
    writer.flag(book.musicOn);
    writer.int32(book.languageIndex);
    writer.flag(book.numberMode);
    writer.flag(book.hardSet);
    writer.int32(book.advertFollowed);
    writer.paints(book.freeCustomPaints);
    writer.int32(book.currentPage);
    writer.int32(int32_t(book.pageIds.size()));
    for (size_t i = 0; i < book.pageIds.size(); ++i) {
        writer.int32(book.pageIds[i]);
        writer.paints(book.pageCustomPaints[i]);
        writer.numbers(book.numberFills[i]);
        writer.numbers(book.numberFillsHard[i]);
        writer.fills(book.freeFills[i]);
        writer.fills(book.freeFillsHard[i]);
    }
    return writer.bytes;
}

bool writeAll(int fd, const std::string& bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        ssize_t result = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (result < 0 && errno == EINTR)
            continue;
        if (result <= 0)
            return false;
        written += size_t(result);
    }
    return true;
}

// Makes the rename itself durable; the save has succeeded even if this fails.
void syncFolderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

bool readFrom(ProgressBook& book, std::istream& in) {
    SettingsReader reader(in);
    bool complete = readFields(reader, book);
    if (!complete)
        book.resetSettings(false);
    book.setLanguage(book.languageIndex);
    if (!book.hasCurrentPage())
        book.currentPage = -1;
    return complete;
}

void writeTo(const ProgressBook& book, std::ostream& out) {
    std::string bytes = bookBytes(book);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

void loadProgressBook(ProgressBook& book, const std::string& path) {
    std::ifstream in;
    if (!path.empty())
        in.open(path, std::ios::binary);
    if (in.is_open()) {
        readFrom(book, in);
    } else {
        book.resetSettings(false);
    }
}

std::string savingPathFor(const std::string& path) {
    return path + ".saving";
}

bool writeSavingFile(const ProgressBook& book, const std::string& savingPath) {
    int fd =
        ::open(savingPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, bookBytes(book)) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok)
        ::unlink(savingPath.c_str());
    return ok;
}

bool saveProgressBook(const ProgressBook& book, const std::string& path) {
    if (path.empty())
        return false;
    std::string savingPath = savingPathFor(path);
    if (!writeSavingFile(book, savingPath))
        return false;
    if (std::rename(savingPath.c_str(), path.c_str()) != 0) {
        ::unlink(savingPath.c_str());
        return false;
    }
    syncFolderOf(path);
    return true;
}

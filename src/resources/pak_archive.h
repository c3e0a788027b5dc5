#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The bytes of one archive entry; (nullptr, 0) means there is no such entry.
struct EntryData {
    const uint8_t* data = nullptr;
    int32_t size = 0;
};

struct PakEntry {
    std::string name;
    std::unique_ptr<uint8_t[]> bytes;  // exactly `size` bytes (one spare for size 0)
    int32_t size = 0;
    uint32_t textureId = 0;       // GL texture made from this entry, 0 for none
    int32_t textureUseCount = 0;  // outstanding references to `textureId`
};

// One open .pak archive: a count, then (name length, name, size, data) records.
struct PakArchive {
    std::vector<PakEntry> entries;  // in file order

    // Reads a whole archive. False when the file is missing or malformed (a
    // count or size past the end, a negative size, a name length of 128 or
    // more); the archive is then left empty.
    bool load(const std::string& path);
    bool loadFromBytes(const uint8_t* bytes, size_t length);

    // The first entry with exactly this name, in file order.
    EntryData findEntry(std::string_view name) const;

    // GL texture of the first entry with this name, made on first use and
    // shared after that; 0 when the entry is missing or does not decode.
    uint32_t acquireTexture(std::string_view entryName);
    // Gives back one reference; the texture is deleted with the last one.
    void releaseTexture(uint32_t textureId);

private:
    PakEntry* entryNamed(std::string_view name);
};

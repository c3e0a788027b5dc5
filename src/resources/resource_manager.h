#pragma once

#include "resources/pak_archive.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The cache of open archives, shared through use counts. Index i of the three
// lists describes one open archive; lookups take the first exact match.
struct ResourceManager {
    std::vector<std::unique_ptr<PakArchive>> archives;  // in order of first opening
    std::vector<std::string> archiveNames;              // the name each was requested by
    std::vector<int32_t> archiveUseCounts;              // outstanding references
    int32_t filesRead = 0;                              // archive files read from disk so far

    // The archive, read from the working directory on first use; one
    // reference. A missing or damaged archive ends the process.
    PakArchive* acquireArchive(std::string_view name);
    // One archive reference, taken whether or not the entry exists.
    EntryData acquireEntry(std::string_view archiveName, std::string_view entryName);
    void releaseArchive(std::string_view name);

    // One archive reference and one texture reference; 0 for no texture.
    uint32_t acquireTexture(std::string_view archiveName, std::string_view entryName);
    void releaseTexture(std::string_view archiveName, uint32_t textureId);

    // References held on an archive, 0 when it is not open.
    int32_t useCount(std::string_view name) const;

private:
    int indexOf(std::string_view name) const;
    void dropReference(int index);
};

// Globals of the resources.
extern ResourceManager resourceManager;  // every open archive, for the whole process

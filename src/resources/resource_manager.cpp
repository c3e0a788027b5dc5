#include "resources/resource_manager.h"

#include <cstdio>
#include <cstdlib>

ResourceManager resourceManager;

namespace {

// The game cannot run without its archives. Unlike a silent exit, the line on
// standard error tells a player who started the game from a terminal why it
// stopped.
[[noreturn]] void failArchive(std::string_view name) {
    std::fprintf(stderr, "nimbletint: cannot read archive \"%.*s\": missing or damaged\n",
                 static_cast<int>(name.size()), name.data());
    std::exit(1);
}

}  // namespace

int ResourceManager::indexOf(std::string_view name) const {
    for (size_t i = 0; i < archiveNames.size(); ++i) {
        if (archiveNames[i] == name)
            return static_cast<int>(i);
    }
    return -1;
}

PakArchive* ResourceManager::acquireArchive(std::string_view name) {
    int index = indexOf(name);
    if (index >= 0) {
        ++archiveUseCounts[size_t(index)];
        return archives[size_t(index)].get();
    }
    auto archive = std::make_unique<PakArchive>();
    ++filesRead;
    if (!archive->load(std::string(name)))
        failArchive(name);
    archives.push_back(std::move(archive));
    archiveNames.emplace_back(name);
    archiveUseCounts.push_back(1);
    return archives.back().get();
}

EntryData ResourceManager::acquireEntry(std::string_view archiveName, std::string_view entryName) {
    return acquireArchive(archiveName)->findEntry(entryName);
}

void ResourceManager::dropReference(int index) {
    size_t i = size_t(index);
    if (--archiveUseCounts[i] > 0)
        return;
    archives.erase(archives.begin() + index);
    archiveNames.erase(archiveNames.begin() + index);
    archiveUseCounts.erase(archiveUseCounts.begin() + index);
}

void ResourceManager::releaseArchive(std::string_view name) {
    int index = indexOf(name);
    if (index >= 0)
        dropReference(index);
}

uint32_t ResourceManager::acquireTexture(std::string_view archiveName, std::string_view entryName) {
    return acquireArchive(archiveName)->acquireTexture(entryName);
}

void ResourceManager::releaseTexture(std::string_view archiveName, uint32_t textureId) {
    int index = indexOf(archiveName);
    if (index < 0)
        return;
    archives[size_t(index)]->releaseTexture(textureId);
    dropReference(index);
}

int32_t ResourceManager::useCount(std::string_view name) const {
    int index = indexOf(name);
    return index < 0 ? 0 : archiveUseCounts[size_t(index)];
}

#include "resources/pak_archive.h"

#include "resources/byte_reader.h"

#include <cstdio>

namespace {

constexpr size_t kSmallestRecord = 1 + 4;  // an empty name and an empty entry

bool readWholeFile(const std::string& path, std::vector<uint8_t>& out) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    long length = ok ? std::ftell(file) : -1;
    ok = length >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        out.resize(static_cast<size_t>(length));
        ok = std::fread(out.data(), 1, out.size(), file) == out.size();
    }
    std::fclose(file);
    return ok;
}

}  // namespace

bool PakArchive::load(const std::string& path) {
    std::vector<uint8_t> file;
    return readWholeFile(path, file) && loadFromBytes(file.data(), file.size());
}

bool PakArchive::loadFromBytes(const uint8_t* bytes, size_t length) {
    entries.clear();
    if (length < 4)
        return false;
    int32_t count = readInt32(bytes);
    size_t position = 4;
    if (count < 0 || static_cast<size_t>(count) > (length - position) / kSmallestRecord) {
        return false;
    }
    entries.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        if (length - position < 1)
            break;
        int8_t nameLength = static_cast<int8_t>(bytes[position++]);
        if (nameLength < 0 || length - position < size_t(nameLength) + 4)
            break;
        PakEntry entry;
        entry.name.assign(reinterpret_cast<const char*>(bytes + position), size_t(nameLength));
        position += size_t(nameLength);
        int32_t size = readInt32(bytes + position);
        position += 4;
        if (size < 0 || length - position < size_t(size))
            break;
        entry.bytes.reset(new uint8_t[size_t(size) + 1]);
        std::copy(bytes + position, bytes + position + size, entry.bytes.get());
        entry.size = size;
        position += size_t(size);
        entries.push_back(std::move(entry));
    }
    if (entries.size() != static_cast<size_t>(count)) {
        entries.clear();
        return false;
    }
    return true;
}

EntryData PakArchive::findEntry(std::string_view name) const {
    for (const PakEntry& entry : entries) {
        if (entry.name == name)
            return {entry.bytes.get(), entry.size};
    }
    return {};
}

PakEntry* PakArchive::entryNamed(std::string_view name) {
    for (PakEntry& entry : entries) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}

#include "writers/pak_writer.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

void appendInt32(Bytes& out, int32_t value) {
    auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(bits >> (8 * i)));
}

void appendFloat(Bytes& out, float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    appendInt32(out, static_cast<int32_t>(bits));
}

Bytes writePak(const std::vector<PakWriterEntry>& entries) {
    Bytes out;
    appendInt32(out, int32_t(entries.size()));
    for (const PakWriterEntry& entry : entries) {
        if (entry.name.size() > 127)
            throw std::length_error("entry name too long: " + entry.name);
        out.push_back(uint8_t(entry.name.size()));
        out.insert(out.end(), entry.name.begin(), entry.name.end());
        appendInt32(out, int32_t(entry.data.size()));
        out.insert(out.end(), entry.data.begin(), entry.data.end());
    }
    return out;
}

bool writePakFile(const std::string& path, const std::vector<PakWriterEntry>& entries) {
    Bytes bytes = writePak(entries);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

void MeshSpec::addTriangle(const float a[3], const float b[3], const float c[3], const float uvA[2],
                           const float uvB[2], const float uvC[2], const float normal[3]) {
    for (const float* vertex : {a, b, c})
        positions.insert(positions.end(), vertex, vertex + 3);
    for (int i = 0; i < 3; ++i)
        normals.insert(normals.end(), normal, normal + 3);
    for (const float* uv : {uvA, uvB, uvC})
        texCoords.insert(texCoords.end(), uv, uv + 2);
}

namespace {

void appendColour(Bytes& out, const float colour[4]) {
    for (int i = 0; i < 4; ++i)
        appendFloat(out, colour[i]);
}

void appendFloats(Bytes& out, const std::vector<float>& values) {
    for (float value : values)
        appendFloat(out, value);
}

}  // namespace

Bytes writeModel(const std::vector<MeshSpec>& meshes) {
    Bytes out;
    appendInt32(out, int32_t(meshes.size()));
    for (const MeshSpec& mesh : meshes) {
        size_t block = (mesh.textureName.size() + 1 + 3) / 4 * 4;
        appendInt32(out, int32_t(block));
        out.insert(out.end(), mesh.textureName.begin(), mesh.textureName.end());
        out.insert(out.end(), block - mesh.textureName.size(), 0);
        const MaterialSpec& m = mesh.material;
        out.push_back(m.alphaTest ? 1 : 0);
        out.push_back(m.transparent ? 1 : 0);
        out.insert(out.end(), 2, 0);
        appendColour(out, m.ambient);
        appendColour(out, m.diffuse);
        appendColour(out, m.specular);
        appendFloat(out, m.shininess);
        appendInt32(out, 0);
        appendInt32(out, mesh.triangleCount());
        appendFloats(out, mesh.positions);
        appendFloats(out, mesh.normals);
        appendFloats(out, mesh.texCoords);
    }
    return out;
}

namespace {

void appendPngData(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

}  // namespace

Bytes encodePng(int width, int height, const uint8_t* rgba) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("PNG encoding failed");
    }
    png_set_write_fn(png, &out, appendPngData, nullptr);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGBA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int row = 0; row < height; ++row) {
        png_write_row(png, const_cast<png_bytep>(rgba + size_t(row) * size_t(width) * 4));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

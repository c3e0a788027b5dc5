#include "resources/texture.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

namespace {

struct Pixel {
    uint8_t r, g, b, a;
};

Pixel pixelAt(const SDL_Surface* surface, int x, int y) {
    const auto* p = static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch + 4 * x;
    return {p[0], p[1], p[2], p[3]};
}

// An SDL surface saved as BMP bytes: the format of choice for pictures that
// are not 32-bit RGBA when decoded.
Bytes bmpBytes(int bitsPerPixel) {
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 3, 2, bitsPerPixel, 0, 0, 0, 0);
    if (bitsPerPixel == 8) {
        SDL_Color colours[2] = {{10, 20, 30, 0}, {200, 100, 50, 0}};
        SDL_SetColors(surface, colours, 0, 2);
    }
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 200, 100, 50));
    Bytes buffer(4096);
    SDL_RWops* stream = SDL_RWFromMem(buffer.data(), int(buffer.size()));
    SDL_SaveBMP_RW(surface, stream, 0);
    buffer.resize(size_t(SDL_RWtell(stream)));
    SDL_RWclose(stream);
    SDL_FreeSurface(surface);
    return buffer;
}

TEST(PictureDecoding, RgbaPngKeepsItsBytes) {
    Bytes png = solidPng(4, 3, 12, 34, 56, 78);
    SDL_Surface* surface = decodePicture(png.data(), int32_t(png.size()));
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->w, 4);
    EXPECT_EQ(surface->h, 3);
    EXPECT_EQ(surface->pitch, 16);
    Pixel p = pixelAt(surface, 3, 2);
    EXPECT_EQ(p.r, 12);
    EXPECT_EQ(p.g, 34);
    EXPECT_EQ(p.b, 56);
    EXPECT_EQ(p.a, 78);
    SDL_FreeSurface(surface);
}

TEST(PictureDecoding, OtherLayoutsAreConvertedToOpaqueRgba) {
    for (int bits : {8, 24}) {
        Bytes bmp = bmpBytes(bits);
        SDL_Surface* surface = decodePicture(bmp.data(), int32_t(bmp.size()));
        ASSERT_NE(surface, nullptr) << bits;
        EXPECT_EQ(surface->format->BytesPerPixel, 4) << bits;
        EXPECT_EQ(surface->pitch, surface->w * 4) << bits;
        Pixel p = pixelAt(surface, 2, 1);
        EXPECT_EQ(p.r, 200) << bits;
        EXPECT_EQ(p.g, 100) << bits;
        EXPECT_EQ(p.b, 50) << bits;
        EXPECT_EQ(p.a, 255) << bits;
        SDL_FreeSurface(surface);
    }
}

TEST(PictureDecoding, UndecodableBytesGiveNothing) {
    Bytes png = solidPng(4, 3, 1, 2, 3);
    Bytes truncated(png.begin(), png.begin() + 40);
    Bytes garbage(100, 0x5a);
    EXPECT_EQ(decodePicture(truncated.data(), int32_t(truncated.size())), nullptr);
    EXPECT_EQ(decodePicture(garbage.data(), int32_t(garbage.size())), nullptr);
    EXPECT_EQ(decodePicture(garbage.data(), 0), nullptr);
    EXPECT_EQ(decodePicture(nullptr, 0), nullptr);
}

}  // namespace

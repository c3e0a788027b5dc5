#pragma once

#include <SDL.h>

#include <cstdint>

// Decodes a picture from memory into a 32-bit surface with bytes in the order
// red, green, blue, alpha and rows without gaps; pictures of other layouts are
// converted. Returns nullptr when the bytes do not decode. Free with
// SDL_FreeSurface.
SDL_Surface* decodePicture(const uint8_t* bytes, int32_t size);

// Uploads a decoded picture as a new GL texture (linear filtering, modulated
// by the current colour) and returns its name.
uint32_t uploadTexture(const SDL_Surface* rgbaSurface);

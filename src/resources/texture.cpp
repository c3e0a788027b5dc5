#include "resources/texture.h"

#include "resources/pak_archive.h"

#include <GL/gl.h>
#include <SDL_image.h>

namespace {

bool isPackedRgba(const SDL_Surface* surface) {
    const SDL_PixelFormat* format = surface->format;
    return format->BytesPerPixel == 4 && surface->pitch == surface->w * 4 &&
           format->Rmask == 0x000000FFu && format->Gmask == 0x0000FF00u &&
           format->Bmask == 0x00FF0000u && format->Amask == 0xFF000000u;
}

SDL_Surface* convertToRgba(SDL_Surface* surface) {
    SDL_PixelFormat rgba = {};
    rgba.BitsPerPixel = 32;
    rgba.BytesPerPixel = 4;
    rgba.Rmask = 0x000000FFu;
    rgba.Gmask = 0x0000FF00u;
    rgba.Bmask = 0x00FF0000u;
    rgba.Amask = 0xFF000000u;
    rgba.Rshift = 0;
    rgba.Gshift = 8;
    rgba.Bshift = 16;
    rgba.Ashift = 24;
    rgba.alpha = 255;
    SDL_Surface* converted = SDL_ConvertSurface(surface, &rgba, SDL_SWSURFACE);
    SDL_FreeSurface(surface);
    if (converted != nullptr && !isPackedRgba(converted)) {
        SDL_FreeSurface(converted);
        return nullptr;
    }
    return converted;
}

}  // namespace

SDL_Surface* decodePicture(const uint8_t* bytes, int32_t size) {
    if (bytes == nullptr || size <= 0)
        return nullptr;
    SDL_RWops* stream = SDL_RWFromConstMem(bytes, size);
    if (stream == nullptr)
        return nullptr;
    SDL_Surface* surface = IMG_Load_RW(stream, 1);
    if (surface == nullptr)
        return nullptr;
    return isPackedRgba(surface) ? surface : convertToRgba(surface);
}

uint32_t uploadTexture(const SDL_Surface* rgbaSurface) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, rgbaSurface->w, rgbaSurface->h, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, rgbaSurface->pixels);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return name;
}

uint32_t PakArchive::acquireTexture(std::string_view entryName) {
    PakEntry* entry = entryNamed(entryName);
    if (entry == nullptr)
        return 0;
    if (entry->textureId != 0) {
        ++entry->textureUseCount;
        return entry->textureId;
    }
    SDL_Surface* surface = decodePicture(entry->bytes.get(), entry->size);
    if (surface == nullptr)
        return 0;
    entry->textureId = uploadTexture(surface);
    SDL_FreeSurface(surface);
    ++entry->textureUseCount;
    return entry->textureId;
}

void PakArchive::releaseTexture(uint32_t textureId) {
    if (textureId == 0)
        return;
    for (PakEntry& entry : entries) {
        if (entry.textureId != textureId)
            continue;
        if (--entry.textureUseCount == 0) {
            GLuint name = textureId;
            glDeleteTextures(1, &name);
            entry.textureId = 0;
        }
        return;
    }
}

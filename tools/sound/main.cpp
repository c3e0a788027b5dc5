// Writes the game's sound archives: "sound.pak" with the effects and
// "music.pak" with the music, into the folder given on the command line.
//   nimbletint_sound OUTPUT_FOLDER

#include "sound/effects.h"
#include "sound/music.h"
#include "sound/wav_file.h"
#include "writers/pak_writer.h"

#include <cstdio>
#include <exception>
#include <string>

namespace {

bool writeArchive(const std::string& folder, const char* name,
                  const std::vector<PakWriterEntry>& entries) {
    std::string path = folder + "/" + name;
    if (writePakFile(path, entries))
        return true;
    std::fprintf(stderr, "nimbletint_sound: cannot write %s\n", path.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: nimbletint_sound OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    try {
        std::vector<PakWriterEntry> effects = {
            {"button.wav", encodeWav(makeButtonClick())},
            {"scena.wav", encodeWav(makeRightFill())},
            {"scena_false.wav", encodeWav(makeWrongFill())},
            {"finish.wav", encodeWav(makePageFanfare())},
            {"banka.wav", encodeWav(makePaintPick())},
        };
        std::vector<PakWriterEntry> music = {{"music.wav", encodeWav(makeMusic())}};
        bool written = writeArchive(folder, "sound.pak", effects);
        written = writeArchive(folder, "music.pak", music) && written;
        return written ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "nimbletint_sound: %s\n", error.what());
        return 1;
    }
}

#include "platform/settings_folder.h"

#include "settings/settings_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

namespace {

// An environment variable that names an absolute path, or empty.
std::string absolutePathFrom(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/')
        return "";
    return value;
}

bool isFolder(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Creates the folder and any missing parents; true when it exists afterwards.
bool makeFolders(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        ::mkdir(path.substr(0, slash).c_str(), 0700);
    }
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    return isFolder(path);
}

}  // namespace

std::string settingsFolder() {
    std::string folder = absolutePathFrom("XDG_DATA_HOME");
    if (folder.empty()) {
        std::string home = absolutePathFrom("HOME");
        if (home.empty())
            return "";
        folder = home + "/.local/share";
    }
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return makeFolders(folder) ? folder : "";
}

std::string settingsFilePath() {
    std::string folder = settingsFolder();
    if (folder.empty())
        return "";
    return (folder == "/" ? "" : folder) + "/" + kSettingsFileName;
}

#include "platform/settings_folder.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace {

namespace fs = std::filesystem;

// Sets or unsets an environment variable for one test and restores it after.
class EnvironmentVariable {
public:
    explicit EnvironmentVariable(const char* name) : name_(name) {
        if (const char* value = std::getenv(name))
            previous_ = value;
    }
    ~EnvironmentVariable() { set(previous_); }
    void set(const std::optional<std::string>& value) {
        if (value) {
            setenv(name_, value->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> previous_;
};

class SettingsFolder : public ::testing::Test {
protected:
    std::string inTemp(const std::string& name) const { return folder_.path() + "/" + name; }

    InTempFolder folder_;
    EnvironmentVariable dataHome_{"XDG_DATA_HOME"};
    EnvironmentVariable home_{"HOME"};
};

TEST_F(SettingsFolder, ChoosesAndCreatesTheDataFolder) {
    writeFile(inTemp("plain"), {'x'});
    struct Case {
        const char* name;
        std::optional<std::string> dataHome;
        std::optional<std::string> home;
        std::string expected;
    };
    const Case cases[] = {
        {"XDG_DATA_HOME, created", inTemp("data/deeper"), inTemp("home"), inTemp("data/deeper")},
        {"a trailing slash", inTemp("data/"), inTemp("home"), inTemp("data")},
        {"HOME when XDG_DATA_HOME is unset", std::nullopt, inTemp("home"),
         inTemp("home/.local/share")},
        {"HOME when XDG_DATA_HOME is empty", "", inTemp("home"), inTemp("home/.local/share")},
        {"HOME when XDG_DATA_HOME is relative", "relative/data", inTemp("home"),
         inTemp("home/.local/share")},
        {"neither", std::nullopt, std::nullopt, ""},
        {"a relative HOME", std::nullopt, "relative", ""},
        {"a folder under a regular file", inTemp("plain/data"), inTemp("home"), ""},
        {"a regular file", inTemp("plain"), inTemp("home"), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dataHome_.set(c.dataHome);
        home_.set(c.home);
        std::string folder = settingsFolder();
        EXPECT_EQ(folder, c.expected);
        if (c.expected.empty()) {
            EXPECT_EQ(settingsFilePath(), "");
        } else {
            EXPECT_TRUE(fs::is_directory(folder));
            EXPECT_EQ(settingsFilePath(), c.expected + "/quillmark-nimbletint-cfg");
        }
    }
    EXPECT_FALSE(fs::exists(inTemp("relative")));
    EXPECT_FALSE(fs::exists(inTemp("relative/data")));
}

TEST_F(SettingsFolder, CreatedFoldersArePrivate) {
    dataHome_.set(inTemp("fresh/data"));
    ASSERT_EQ(settingsFolder(), inTemp("fresh/data"));
    struct stat info;
    ASSERT_EQ(stat(inTemp("fresh/data").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

}  // namespace

#include "platform/RuntimeFolder.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Sets an environment variable for one test and puts the old value back.
class TEnvironment {
public:
    TEnvironment(const char* name, const char* value)
        : FName(name)
        , FOld(std::getenv(name) ? std::optional<std::string>(std::getenv(name)) : std::nullopt)
    {
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    TEnvironment(const TEnvironment&) = delete;
    TEnvironment& operator=(const TEnvironment&) = delete;
    ~TEnvironment() { FOld ? setenv(FName, FOld->c_str(), 1) : unsetenv(FName); }

private:
    const char* FName;
    std::optional<std::string> FOld;
};

} // namespace

TEST(RuntimeFolder, UsesThePrivateRuntimeFolderElseMakesOneOfItsOwn)
{
    const TTempFolder temp;
    const std::string runtime = temp.Path("run");
    mkdir(runtime.c_str(), 0700);
    const TEnvironment tmp("TMPDIR", temp.Root.c_str());
    const std::string own = temp.Path("pathwarden-" + std::to_string(geteuid()));
    {
        const TEnvironment xdg("XDG_RUNTIME_DIR", runtime.c_str());
        EXPECT_EQ(PrivateRuntimeFolder(), runtime + "/");
        chmod(runtime.c_str(), 0755);
        EXPECT_EQ(PrivateRuntimeFolder(), own + "/") << "a runtime folder others may enter";
    }
    const TEnvironment xdg("XDG_RUNTIME_DIR", nullptr);
    EXPECT_EQ(PrivateRuntimeFolder(), own + "/");
    struct stat info { };
    ASSERT_EQ(lstat(own.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST(RuntimeFolder, NeverTrustsAFolderThatIsNotPrivate)
{
    const TTempFolder temp;
    const TEnvironment xdg("XDG_RUNTIME_DIR", nullptr);
    const TEnvironment tmp("TMPDIR", temp.Root.c_str());
    const std::string own = temp.Path("pathwarden-" + std::to_string(geteuid()));
    mkdir(own.c_str(), 0777);
    chmod(own.c_str(), 0777);
    EXPECT_EQ(PrivateRuntimeFolder(), "") << "open to everyone";
    rmdir(own.c_str());
    symlink(temp.Root.c_str(), own.c_str());
    chmod(temp.Root.c_str(), 0700);
    EXPECT_EQ(PrivateRuntimeFolder(), "") << "a link";
    if (RunningAsRoot()) {
        unlink(own.c_str());
        mkdir(own.c_str(), 0700);
        ASSERT_EQ(chown(own.c_str(), 65534, 65534), 0);
        EXPECT_EQ(PrivateRuntimeFolder(), "") << "another user's";
    }
}

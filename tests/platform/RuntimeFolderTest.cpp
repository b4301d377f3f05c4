#include "platform/RuntimeFolder.h"

#include "support/ScopedVariable.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

// Each case sets XDG_RUNTIME_DIR (or unsets it) with XDG_CACHE_HOME and TMPDIR in a fresh folder,
// where "own" is the folder the game would make for itself in the cache folder.
TEST(RuntimeFolder, UsesOnlyAFolderThatIsPrivateToThisUser)
{
    const TTempFolder temp;
    const std::string runtime = temp.Path("run");
    const std::string own = temp.Path("cache/pathwarden");
    const TScopedVariable tmpdir("TMPDIR", temp.Path("tmp"));
    const TScopedVariable cache("XDG_CACHE_HOME", temp.Path("cache"));
    mkdir(runtime.c_str(), 0700);
    const TScopedVariable runtimeDir("XDG_RUNTIME_DIR", runtime);
    EXPECT_EQ(PrivateRuntimeFolder(), runtime + "/");

    chmod(runtime.c_str(), 0755);
    EXPECT_EQ(PrivateRuntimeFolder(), own + "/") << "a runtime folder others may enter";
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(PrivateRuntimeFolder(), own + "/");
    struct stat info { };
    ASSERT_EQ(lstat(own.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_FALSE(std::filesystem::exists(temp.Path("tmp"))) << "nothing in a shared folder";

    chmod(own.c_str(), 0777);
    EXPECT_EQ(PrivateRuntimeFolder(), "") << "our own folder opened to everyone";
    rmdir(own.c_str());
    symlink(runtime.c_str(), own.c_str());
    chmod(runtime.c_str(), 0700);
    EXPECT_EQ(PrivateRuntimeFolder(), "") << "a link";
    if (RunningAsRoot()) {
        unlink(own.c_str());
        mkdir(own.c_str(), 0700);
        ASSERT_EQ(chown(own.c_str(), 65534, 65534), 0);
        EXPECT_EQ(PrivateRuntimeFolder(), "") << "another user's";
    }
    const TScopedVariable noCache("XDG_CACHE_HOME", "relative");
    const TScopedVariable home("HOME", temp.Path("home"));
    EXPECT_EQ(PrivateRuntimeFolder(), temp.Path("home/.cache/pathwarden/")) << "the default";
}

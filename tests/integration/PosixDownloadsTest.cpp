// Downloads on a real file system: what is kept and under which name, that
// nothing already there is ever replaced, what is left when a message is
// dropped or the disk refuses part of it, and the user's own folder.

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "SavedVariable.h"
#include "TemporaryDirectory.h"
#include "posix/PosixDownloads.h"

namespace mivo {
namespace {

namespace fs = std::filesystem;
using Kept = DownloadFile::Kept;

bool isEmpty(const fs::path& directory) {
    return fs::directory_iterator(directory) == fs::directory_iterator();
}

std::size_t entriesIn(const fs::path& directory) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(directory), fs::directory_iterator()));
}

mode_t modeOf(const fs::path& path) {
    struct stat status {};
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

TEST(PosixDownloads, AKeptFileHoldsTheBytesWrittenUnderItsNameForTheUserAlone) {
    for (const bool durable : {false, true}) {
        SCOPED_TRACE(durable ? "synced" : "not synced");
        test::TemporaryDirectory directory;
        const std::string path = directory / "Mivo1.txt";
        PosixDownloads downloads(directory / "own");
        auto file = downloads.startDownload(path);
        ASSERT_NE(file, nullptr);
        // Small pieces that fill the buffer, pieces larger than it, and
        // every byte value.
        std::string expected;
        std::string everyByte;
        for (int value = 0; value < 256; ++value) {
            everyByte += static_cast<char>(value);
        }
        const std::string large(PosixDownloads::kBufferSize + 17, 'L');
        for (int round = 0; round < 300; ++round) {
            file->write(everyByte);
            expected += everyByte;
            if (round % 100 == 0) {
                file->write(large);
                expected += large;
            }
        }
        ASSERT_EQ(file->keep(path, durable), Kept::Yes);
        file.reset();

        EXPECT_EQ(test::readWholeFile(path), expected);
        EXPECT_EQ(modeOf(path), 0600u);
        EXPECT_EQ(entriesIn(directory.path()), 1u);
    }
}

// Whatever has the name, another message's file, a link planted there
// (leading anywhere or nowhere) or a folder, stays as it is; the download
// can still take another name.
TEST(PosixDownloads, AKeptFileNeverTakesTheNameOfSomethingThere) {
    struct Case {
        const char* what;
        std::function<void(const fs::path& name, const fs::path& elsewhere)> plant;
    };
    const Case cases[] = {
        {"a file", [](const fs::path& name,
                      const fs::path&) { test::writeWholeFile(name, "an earlier message"); }},
        {"a link to a file",
         [](const fs::path& name, const fs::path& elsewhere) {
             test::writeWholeFile(elsewhere, "someone else's");
             fs::create_symlink(elsewhere, name);
         }},
        {"a dangling link", [](const fs::path& name,
                               const fs::path& elsewhere) { fs::create_symlink(elsewhere, name); }},
        {"a folder", [](const fs::path& name, const fs::path&) { fs::create_directory(name); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TemporaryDirectory directory;
        const fs::path taken = directory / "Mivo1.txt";
        const fs::path elsewhere = directory / "elsewhere";
        c.plant(taken, elsewhere);
        const std::string before = fs::is_regular_file(taken) ? test::readWholeFile(taken) : "";
        PosixDownloads downloads(directory / "own");
        auto file = downloads.startDownload(taken);
        ASSERT_NE(file, nullptr);
        file->write("the new message\n");

        EXPECT_EQ(file->keep(taken, true), Kept::NameTaken);
        const fs::path next = directory / "Mivo2.txt";
        EXPECT_EQ(file->keep(next, true), Kept::Yes);
        file.reset();

        EXPECT_EQ(test::readWholeFile(next), "the new message\n");
        if (fs::is_regular_file(taken)) {
            EXPECT_EQ(test::readWholeFile(taken), before);
        }
        if (fs::exists(elsewhere)) {
            EXPECT_EQ(test::readWholeFile(elsewhere), "someone else's");
        }
        // Nothing of the download is left beside what was there and its file.
        EXPECT_EQ(entriesIn(directory.path()), fs::exists(elsewhere) ? 3u : 2u);
    }
}

TEST(PosixDownloads, NothingIsLeftOfAFileDroppedOrRefusedByTheDisk) {
    test::TemporaryDirectory directory;
    PosixDownloads downloads(directory / "own");

    downloads.startDownload(directory / "Mivo1.txt")->write("dropped half-way\n");
    EXPECT_TRUE(isEmpty(directory.path()));

    // A file size limit stands for a full disk: writes past it fail.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    auto file = downloads.startDownload(directory / "Mivo2.txt");
    ASSERT_NE(file, nullptr);
    for (int i = 0; i < 1000; ++i) {
        file->write(std::string(200, 'x'));
    }
    const Kept kept = file->keep(directory / "Mivo2.txt", true);
    file.reset();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(kept, Kept::Failed);
    EXPECT_TRUE(isEmpty(directory.path()));

    EXPECT_EQ(downloads.startDownload(directory / "missing/Mivo3.txt"), nullptr);
}

// The program's own folder is made when a download first needs it, for the
// user alone; any other folder the user chose must exist.
TEST(PosixDownloads, TheOwnFolderIsMadeWhenNeededForTheUserAlone) {
    test::TemporaryDirectory directory;
    const fs::path own = directory / "cache/mivo";
    PosixDownloads downloads(own);
    auto file = downloads.startDownload(own / "Mivo1.txt");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->keep(own / "Mivo1.txt", false), Kept::Yes);
    EXPECT_EQ(modeOf(own), 0700u);
    EXPECT_EQ(modeOf(directory / "cache"), 0700u);
    EXPECT_EQ(downloads.startDownload(directory / "chosen/Mivo1.txt"), nullptr);
    EXPECT_FALSE(fs::exists(directory / "chosen"));
}

TEST(PosixDownloads, TheOwnFolderFollowsXdgCacheHome) {
    const test::SavedVariable cache("XDG_CACHE_HOME");
    const test::SavedVariable home("HOME");
    ::setenv("XDG_CACHE_HOME", "/elsewhere/cache", 1);
    EXPECT_EQ(downloadFolder(), "/elsewhere/cache/mivo");
    // A relative value is not a base directory; the home's .cache is.
    ::setenv("XDG_CACHE_HOME", "relative", 1);
    ::setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(downloadFolder(), "/home/someone/.cache/mivo");
    ::unsetenv("XDG_CACHE_HOME");
    EXPECT_EQ(downloadFolder(), "/home/someone/.cache/mivo");
}

}  // namespace
}  // namespace mivo

// Downloads on a real file system: what is kept, what is left when a
// message is dropped or the disk refuses part of it.

#include <sys/resource.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "TemporaryDirectory.h"
#include "posix/PosixDownloads.h"

namespace mivo {
namespace {

namespace fs = std::filesystem;

bool isEmpty(const fs::path& directory) {
    return fs::directory_iterator(directory) == fs::directory_iterator();
}

TEST(PosixDownloads, AKeptFileHoldsTheLinesUnderItsNameForTheUserAlone) {
    test::TemporaryDirectory directory;
    const std::string path = directory / "Mivo1.txt";
    test::writeWholeFile(path, "an older download, replaced");
    PosixDownloads downloads;
    auto file = downloads.startDownload(path);
    ASSERT_NE(file, nullptr);
    // More than one buffer's worth, so that it reaches the disk in pieces.
    const std::string line(1000, 'm');
    for (std::size_t i = 0; i < 2 * PosixDownloads::kBufferSize / line.size(); ++i) {
        file->writeLine(line);
    }
    file->writeLine(".");
    ASSERT_TRUE(file->keep());
    file.reset();

    std::string expected;
    for (std::size_t i = 0; i < 2 * PosixDownloads::kBufferSize / line.size(); ++i) {
        expected += line + "\n";
    }
    EXPECT_EQ(test::readWholeFile(path), expected + ".\n");
    struct stat status {};
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    EXPECT_EQ(std::distance(fs::directory_iterator(directory.path()), fs::directory_iterator()), 1);
}

TEST(PosixDownloads, NothingIsLeftOfAFileDroppedOrRefusedByTheDisk) {
    test::TemporaryDirectory directory;
    PosixDownloads downloads;

    downloads.startDownload(directory / "Mivo1.txt")->writeLine("dropped half-way");
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
        file->writeLine(std::string(200, 'x'));
    }
    const bool kept = file->keep();
    file.reset();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(kept);
    EXPECT_TRUE(isEmpty(directory.path()));

    EXPECT_EQ(downloads.startDownload(directory / "missing/Mivo3.txt"), nullptr);
}

}  // namespace
}  // namespace mivo

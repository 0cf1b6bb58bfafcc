#include "codec/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "codec/file_io.h"
#include "tests/codec/codec_test_util.h"

namespace lorix::testing {
namespace {

namespace fs = std::filesystem;

TEST(FileSystem, KindsAndFolders) {
  TempDir dir;
  const fs::path file = dir.Write("a.wav", {1, 2, 3});
  ASSERT_EQ(mkfifo((dir.path() / "pipe").c_str(), 0600), 0);
  EXPECT_EQ(KindOf(file), FileKind::kRegular);
  EXPECT_EQ(KindOf(dir.path()), FileKind::kDirectory);
  EXPECT_EQ(KindOf(dir.path() / "pipe"), FileKind::kOther);
  EXPECT_EQ(KindOf(dir.path() / "missing"), FileKind::kMissing);

  // Nested folders are made in one go; an existing one is fine; a file in the way is not.
  EXPECT_EQ(MakeDirectories(dir.path() / "x" / "y" / "TEMPs"), 0);
  EXPECT_EQ(KindOf(dir.path() / "x" / "y" / "TEMPs"), FileKind::kDirectory);
  EXPECT_EQ(MakeDirectories(dir.path() / "x" / "y" / "TEMPs"), 0);
  EXPECT_EQ(MakeDirectories(file / "TEMPs"), EEXIST);
  EXPECT_EQ(MakeDirectories(file), EEXIST);
  EXPECT_EQ(SystemErrorText(EEXIST), "eine Datei gleichen Namens ist im Weg");
}

TEST(FileSystem, FilesBelowWalksSubfoldersButNotLinkLoops) {
  TempDir dir;
  ASSERT_EQ(MakeDirectories(dir.path() / "kde" / "apps"), 0);
  dir.Write("top.desktop", {});
  dir.Write("kde/apps/player.desktop", {});
  // A link back to the top would make the walk endless if links to folders were followed.
  ASSERT_EQ(symlink(dir.path().c_str(), (dir.path() / "kde" / "loop").c_str()), 0);
  // A link to a file counts as the file.
  ASSERT_EQ(symlink((dir.path() / "top.desktop").c_str(), (dir.path() / "link.desktop").c_str()),
            0);
  std::vector<fs::path> files = FilesBelow(dir.path());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files,
            (std::vector<fs::path>{"kde/apps/player.desktop", "link.desktop", "top.desktop"}));
  EXPECT_TRUE(FilesBelow(dir.path() / "missing").empty());
}

TEST(FileSystem, CurrentDirectoryAndLinks) {
  TempDir dir;
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  EXPECT_EQ(CurrentDirectory(), fs::path(cwd));
  const std::string long_target(4000, 'a');
  ASSERT_EQ(symlink(long_target.c_str(), (dir.path() / "long").c_str()), 0);
  EXPECT_EQ(ReadSymbolicLink(dir.path() / "long"), fs::path(long_target));
  EXPECT_TRUE(ReadSymbolicLink(dir.path()).empty());
}

}  // namespace
}  // namespace lorix::testing

#include "codec/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <set>

#include "codec/file_io.h"
#include "codec/own_folder.h"
#include "tests/codec/codec_test_util.h"
#include "tests/support/scoped_environment.h"

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

unsigned ModeOf(const fs::path& path) {
  struct stat info {};
  EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

std::set<fs::path> Names(const fs::path& folder) {
  std::set<fs::path> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

TEST(OwnFolder, OnlyARealFolderOfOursThatNobodyElseCanWriteIsUsed) {
  TempDir dir;
  const fs::path made = dir.path() / "TEMPs";
  EXPECT_TRUE(OwnFolder(made).ok());
  EXPECT_EQ(ModeOf(made), 0700u);
  EXPECT_TRUE(OwnFolder(made).ok()) << "an existing folder of ours is kept";

  ASSERT_EQ(symlink(made.c_str(), (dir.path() / "link").c_str()), 0);
  EXPECT_EQ(OwnFolder(dir.path() / "link").error(), ELOOP);
  EXPECT_EQ(OwnFolder(dir.Write("file", {1})).error(), ENOTDIR);
  for (const unsigned shared : {0770u, 0707u}) {
    ASSERT_EQ(chmod(made.c_str(), shared), 0);
    const OwnFolder refused(made);
    EXPECT_EQ(refused.error(), EPERM) << std::oct << shared;
    EXPECT_EQ(refused.ErrorText(),
              "gehört einem anderen Benutzer oder andere dürfen darin schreiben");
  }
  // Another user's folder: one handed over where that is allowed, else the root folder.
  ASSERT_EQ(chmod(made.c_str(), 0700), 0);
  const fs::path foreign = chown(made.c_str(), geteuid() + 1, -1) == 0 ? made : fs::path("/");
  EXPECT_EQ(OwnFolder(foreign).error(), EPERM);
}

TEST(OwnFolder, TemporaryFilesFallBackToThePrivateFolder) {
  TempDir start, run, cache;
  ScopedEnvironment environment;
  environment.Set("XDG_RUNTIME_DIR", run.path().string())
      .Set("XDG_CACHE_HOME", cache.path().string());
  EXPECT_EQ(PrivateUserFolder(), run.path() / "lorix");
  EXPECT_EQ(ModeOf(run.path() / "lorix"), 0700u);
  EXPECT_EQ(UsableTempFolder(start.path() / "TEMPs"), start.path() / "TEMPs");

  // A TEMPs someone planted is passed over, and so is a runtime folder's planted "lorix".
  const fs::path victim = start.path() / "victim";
  fs::create_directory(victim);
  ASSERT_EQ(symlink(victim.c_str(), (start.path() / "planted").c_str()), 0);
  EXPECT_EQ(UsableTempFolder(start.path() / "planted"), run.path() / "lorix" / "planted");
  fs::remove_all(run.path() / "lorix");
  ASSERT_EQ(symlink(victim.c_str(), (run.path() / "lorix").c_str()), 0);
  EXPECT_EQ(PrivateUserFolder(), cache.path() / "lorix");
  environment.Set("XDG_RUNTIME_DIR", std::nullopt).Set("XDG_CACHE_HOME", "relative/cache");
  const fs::path in_tmp = "/tmp/lorix-" + std::to_string(geteuid());
  EXPECT_EQ(PrivateUserFolder(), in_tmp);
  EXPECT_EQ(ModeOf(in_tmp) & 022, 0u);
  EXPECT_TRUE(fs::is_empty(victim));
}

TEST(FileIo, APlantedLinkNeverRedirectsAWrite) {
  TempDir dir;
  const fs::path victim = dir.Write("victim", {'a', 'l', 't'});
  const fs::path target = dir.path() / "TempInfo.txt";
  // The name a writer that derives its temporary name from the target and the process would use.
  const fs::path guessed = target.string() + ".tmp" + std::to_string(getpid());
  ASSERT_EQ(symlink(victim.c_str(), guessed.c_str()), 0);
  WriteFileAtomically(target, Bytes{'n', 'e', 'u'});
  EXPECT_EQ(ReadFile(target), (Bytes{'n', 'e', 'u'}));
  // A link at the target itself is replaced by the file, not written through.
  fs::remove(target);
  ASSERT_EQ(symlink(victim.c_str(), target.c_str()), 0);
  WriteFileAtomically(target, Bytes{'n', 'e', 'u'});
  EXPECT_FALSE(fs::is_symlink(target));
  EXPECT_EQ(ReadFile(target), (Bytes{'n', 'e', 'u'}));
  EXPECT_EQ(ReadFile(victim), (Bytes{'a', 'l', 't'}));
  EXPECT_EQ(Names(dir.path()), (std::set<fs::path>{"victim", "TempInfo.txt", guessed.filename()}));
}

TEST(FileIo, ModesAreExactWhateverTheUmask) {
  TempDir dir;
  const mode_t previous = umask(0);
  const fs::path program = dir.path() / "LORIX_1.EXE";
  WriteAttachment(program, Bytes(100, 0x90), "", Stream({0x80, 0xB2, 0x91}, 6), 3);
  const fs::path data = dir.Write("TempWave.wav", {1});
  umask(previous);
  EXPECT_EQ(ModeOf(program), 0755u);
  EXPECT_EQ(ModeOf(data), 0644u);
}

}  // namespace
}  // namespace lorix::testing

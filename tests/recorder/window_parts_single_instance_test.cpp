#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <cstring>

#include "recorder/window/single_instance.h"
#include "tests/support/qt_run_until.h"
#include "tests/support/scoped_environment.h"

namespace {

using lorix::testing::RunUntil;

// A socket path of this test process, so that parallel runs and a real recorder do not meet.
// The test's server listens until the process ends; its file goes with the test.
class TestSocket {
 public:
  explicit TestSocket(const char* tag)
      : path_(QDir(QDir::tempPath())
                  .filePath(QStringLiteral("lorix-test-%1-%2").arg(getpid()).arg(tag))) {
    QFile::remove(path_);
  }
  ~TestSocket() { QFile::remove(path_); }
  const QString& path() const { return path_; }

 private:
  QString path_;
};

// What a crashed instance leaves: a bound socket file nobody listens on.
void LeaveStaleSocket(const QString& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const QByteArray bytes = QFile::encodeName(path);
  ASSERT_LT(static_cast<std::size_t>(bytes.size()), sizeof(address.sun_path));
  std::memcpy(address.sun_path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  ::close(fd);
}

TEST(SingleInstance, SecondStartTellsTheFirstAndGivesWay) {
  const TestSocket socket("second");
  const QString& name = socket.path();
  int first_told = 0;
  int second_told = 0;
  ASSERT_TRUE(lorix::ClaimSingleInstance(name, [&first_told](const QString&) { ++first_told; }));
  EXPECT_EQ(first_told, 0);

  EXPECT_FALSE(lorix::ClaimSingleInstance(name, [&second_told](const QString&) { ++second_told; }));
  EXPECT_TRUE(RunUntil([&first_told] { return first_told == 1; }));

  // Every later start is reported again, each once.
  EXPECT_FALSE(lorix::ClaimSingleInstance(name, [&second_told](const QString&) { ++second_told; }));
  EXPECT_TRUE(RunUntil([&first_told] { return first_told == 2; }));
  RunUntil([] { return false; }, 100);
  EXPECT_EQ(first_told, 2);
  EXPECT_EQ(second_told, 0);
}

TEST(SingleInstance, SocketLeftByACrashIsTakenOver) {
  const TestSocket socket("stale");
  const QString& name = socket.path();
  LeaveStaleSocket(name);
  ASSERT_TRUE(QFileInfo::exists(name));
  int told = 0;
  EXPECT_TRUE(lorix::ClaimSingleInstance(name, [&told](const QString&) { ++told; }));
  // And the new owner really listens.
  EXPECT_FALSE(lorix::ClaimSingleInstance(name, [](const QString&) {}));
  EXPECT_TRUE(RunUntil([&told] { return told == 1; }));
}

// The launcher's activation token of the second start reaches the first; a start without one
// hands over none, and a line that is not a second start's is refused.
TEST(SingleInstance, SecondStartHandsOverItsActivationToken) {
  const TestSocket socket("token");
  const QString& name = socket.path();
  QStringList tokens;
  ASSERT_TRUE(
      lorix::ClaimSingleInstance(name, [&tokens](const QString& token) { tokens << token; }));
  {
    lorix::testing::ScopedEnvironment environment;
    environment.Set("XDG_ACTIVATION_TOKEN", "a1b2c3d4e5f60718293a4b5c6d7e8f90");
    EXPECT_FALSE(lorix::ClaimSingleInstance(name, [](const QString&) {}));
    EXPECT_TRUE(RunUntil([&tokens] { return tokens.size() == 1; }));
    // A token that is no word of printable characters is not passed on.
    environment.Set("XDG_ACTIVATION_TOKEN", "two words");
    EXPECT_FALSE(lorix::ClaimSingleInstance(name, [](const QString&) {}));
    EXPECT_TRUE(RunUntil([&tokens] { return tokens.size() == 2; }));
    environment.Set("XDG_ACTIVATION_TOKEN", std::nullopt);
    EXPECT_FALSE(lorix::ClaimSingleInstance(name, [](const QString&) {}));
    EXPECT_TRUE(RunUntil([&tokens] { return tokens.size() == 3; }));
  }
  EXPECT_EQ(tokens, (QStringList{QStringLiteral("a1b2c3d4e5f60718293a4b5c6d7e8f90"), QString(),
                                 QString()}));

  QLocalSocket stranger;
  stranger.connectToServer(name);
  ASSERT_TRUE(stranger.waitForConnected(2000));
  stranger.write("5120 token with blanks\n");
  stranger.waitForBytesWritten(2000);
  EXPECT_TRUE(RunUntil([&stranger] { return stranger.state() == QLocalSocket::UnconnectedState; }));
  RunUntil([] { return false; }, 100);
  EXPECT_EQ(tokens.size(), 3);
}

TEST(SingleInstance, NameLiesInAPrivateFolderOfTheUserAlsoWithoutARuntimeFolder) {
  QTemporaryDir cache;
  ASSERT_TRUE(cache.isValid());
  lorix::testing::ScopedEnvironment environment;
  environment.Set("XDG_RUNTIME_DIR", std::nullopt)
      .Set("XDG_CACHE_HOME", cache.path().toStdString());
  const QString name = lorix::SingleInstanceName();
  EXPECT_EQ(name, QDir(cache.path()).filePath(QStringLiteral("lorix/LORIX-%1").arg(getuid())));
  // Nobody else can make or replace a socket there.
  const QFileInfo folder(QFileInfo(name).absolutePath());
  EXPECT_FALSE(folder.isSymLink());
  EXPECT_EQ(folder.ownerId(), geteuid());
  EXPECT_EQ((folder.permissions() & (QFileDevice::WriteGroup | QFileDevice::WriteOther)).toInt(),
            0);
  int told = 0;
  ASSERT_TRUE(lorix::ClaimSingleInstance(name, [&told](const QString&) { ++told; }));
  EXPECT_FALSE(lorix::ClaimSingleInstance(name, [](const QString&) {}));
  EXPECT_TRUE(RunUntil([&told] { return told == 1; }));
}

TEST(BringToFront, RestoresAMinimisedWindowAndShowsAHiddenOne) {
  QWidget window;
  window.showMinimized();
  QApplication::processEvents();
  ASSERT_TRUE(window.isMinimized());
  // Not on Wayland: activated at once, no token needed.
  EXPECT_TRUE(lorix::BringToFront(&window, {}));
  EXPECT_FALSE(window.isMinimized());
  EXPECT_TRUE(window.isVisible());

  QWidget hidden;
  lorix::BringToFront(&hidden, {});
  EXPECT_TRUE(hidden.isVisible());
  EXPECT_FALSE(lorix::BringToFront(nullptr, {}));  // no window yet: nothing to do
}

}  // namespace

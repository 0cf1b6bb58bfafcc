// The platform-free parts of the Windows programs' Win32 layer: the texts handed to the system's
// file dialogs and the mapping of virtual-key codes to a program's keys.

#include <gtest/gtest.h>

#include <string>

#include "desktop/file_dialog_filter.h"
#include "desktop/win32/ui/virtual_keys.h"

namespace lorix::testing {
namespace {

using namespace std::string_literals;

TEST(FileDialogFilter, BarsBecomeNulsAndTheListEndsInTwo) {
  const std::string expected = "PCM (*.wav)\0*.wav\0Anhänge (*.exe)\0*.exe\0\0"s;
  EXPECT_EQ(NulSeparatedFilter("PCM (*.wav)|*.wav|Anhänge (*.exe)|*.exe"), expected);
  // A list that ends in '|' has ended its last entry already: still exactly two NULs.
  EXPECT_EQ(NulSeparatedFilter("PCM (*.wav)|*.wav|Anhänge (*.exe)|*.exe|"), expected);
}

TEST(FileDialogFilter, ExtensionWithoutDotAndPathsWithBackslashes) {
  // The dialog appends the default extension after a dot of its own.
  EXPECT_EQ(DialogDefaultExtension(".WAV"), "WAV");
  EXPECT_EQ(DialogDefaultExtension("mp3"), "mp3");
  EXPECT_EQ(BackslashPath("C:/a.b/LORIXs/x.lrx"), "C:\\a.b\\LORIXs\\x.lrx");
}

enum class TestKey { kHelp, kSpace, kLetterP, kOther };

TEST(VirtualKeys, NamedKeysComeBeforeLettersAndNumberPad) {
  constexpr unsigned kF1 = 0x70;  // the code of 'p' as well
  constexpr unsigned kSpace = 0x20;
  constexpr NamedVirtualKey<TestKey> named[] = {{kF1, TestKey::kHelp}, {kSpace, TestKey::kSpace}};
  const auto letter = [](int code) { return code == 'P' ? TestKey::kLetterP : TestKey::kOther; };
  EXPECT_EQ(KeyOfVirtualKey<TestKey>(kF1, named, letter, TestKey::kOther), TestKey::kHelp);
  EXPECT_EQ(KeyOfVirtualKey<TestKey>(kSpace, named, letter, TestKey::kOther), TestKey::kSpace);
  EXPECT_EQ(KeyOfVirtualKey<TestKey>('P', named, letter, TestKey::kOther), TestKey::kLetterP);
  // The lower-case codes are the number pad's keys (0x61 is VK_NUMPAD1), no letters.
  int letters_asked = 0;
  const auto counting = [&letters_asked](int) {
    ++letters_asked;
    return TestKey::kLetterP;
  };
  EXPECT_EQ(KeyOfVirtualKey<TestKey>(0x61, named, counting, TestKey::kOther), TestKey::kOther);
  EXPECT_EQ(letters_asked, 0);
}

}  // namespace
}  // namespace lorix::testing

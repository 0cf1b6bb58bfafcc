#include <gtest/gtest.h>

#include "desktop/desktop_entry.h"
#include "desktop/exec_line.h"
#include "desktop/system_tools.h"
#include "desktop/wav_application.h"
#include "desktop_rig.h"

namespace lorix::testing {
namespace {

using Call = DesktopRig::Call;
using Args = std::vector<std::string>;

TEST(DesktopEntry, ExecLineQuotingAndFieldCodes) {
  const ExecContext context{"KMail", "kmail-icon", "/usr/share/applications/kmail.desktop"};
  EXPECT_EQ(SplitExecLine(R"("/opt/My App/player" --rate=50%% %U)"),
            (Args{"/opt/My App/player", "--rate=50%"}));
  EXPECT_EQ(SplitExecLine(R"(run "a \"b\" \$c \\d" %f%u)"), (Args{"run", R"(a "b" $c \d)"}));
  EXPECT_EQ(SplitExecLine("kmail -caption %c %i --entry=%k %u", context),
            (Args{"kmail", "-caption", "KMail", "--icon", "kmail-icon",
                  "--entry=" + context.entry_path}));
  EXPECT_EQ(SplitExecLine("kmail %i", {}), (Args{"kmail"}));  // no icon: %i goes away
  EXPECT_EQ(SplitExecLine("/usr/bin/flatpak run org.app @@u %U @@"),
            (Args{"/usr/bin/flatpak", "run", "org.app"}));
  EXPECT_EQ(SplitExecLine(R"(player "open)"), Args{});

  DesktopRig rig;
  const fs::path file =
      rig.WriteFile(rig.root() / "x.desktop",
                    "# comment\n[Desktop Action a]\nExec=wrong\n[Desktop Entry]\n"
                    "Name = Spieler\nExec=\"/opt/my\\splayer\" \"two\\\\ words\" %F\n");
  const std::optional<DesktopEntry> entry = ReadDesktopEntry(file);
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->name, "Spieler");
  EXPECT_EQ(ExecArguments(*entry), (Args{"/opt/my player", "two\\ words"}));
  EXPECT_FALSE(ReadDesktopEntry(rig.WriteFile(rig.root() / "y.desktop", "Exec=x\n")));
}

TEST(DesktopEntry, FoundInUserFolderFirstThenSystemAndSubfolders) {
  DesktopRig rig;
  rig.Entry("player.desktop", "System", "system-player");
  EXPECT_EQ(FindDesktopEntry("player.desktop")->name, "System");
  rig.Entry("player.desktop", "User", "user-player", true);
  EXPECT_EQ(FindDesktopEntry("player.desktop")->name, "User");
  rig.Entry("vendor/sub/tool.desktop", "Nested", "tool");
  EXPECT_EQ(FindDesktopEntry("vendor-sub-tool.desktop")->name, "Nested");
  EXPECT_FALSE(FindDesktopEntry("missing.desktop"));
  EXPECT_FALSE(FindDesktopEntry("../applications/player.desktop"));
  // Relative folders in the variables do not count; the system default is /usr/share.
  setenv("XDG_DATA_DIRS", "relative:/x", 1);
  EXPECT_EQ(ApplicationFolders(),
            (std::vector<fs::path>{rig.root() / "data/applications", "/x/applications"}));
}

TEST(WavApplication, FromDefaultEntryToProgramPath) {
  DesktopRig rig;
  // No xdg-mime at all, then no answer for either type: no association.
  EXPECT_EQ(FindExecutableForWav().result, kStartNoAssociation);
  rig.MimeDefaults({});
  EXPECT_EQ(FindExecutableForWav().result, kStartNoAssociation);
  EXPECT_EQ(rig.Calls(), (std::vector<Call>{{"xdg-mime", "query", "default", "audio/x-wav"},
                                            {"xdg-mime", "query", "default", "audio/wav"}}));
  // Only audio/wav answered; the entry's program is not installed yet.
  rig.MimeDefaults({{"audio/wav", "org.Sound.Player.desktop"}});
  rig.Entry("org.Sound.Player.desktop", "Player", "org.sound.player --new %U");
  const WavApplication missing = FindExecutableForWav();
  EXPECT_EQ(missing.result, kStartFileNotFound);
  EXPECT_EQ(missing.path, "");
  const fs::path program = rig.Recorder("org.sound.player");
  const WavApplication found = FindExecutableForWav();
  EXPECT_GT(found.result, 32);
  EXPECT_EQ(found.path, program.string());
  EXPECT_EQ(ApplicationName(found.path), "org");
  EXPECT_EQ(ApplicationName("/usr/bin/audacious"), "audacious");
  // audio/x-wav wins over audio/wav.
  rig.MimeDefaults({{"audio/x-wav", "other.desktop"}, {"audio/wav", "org.Sound.Player.desktop"}});
  rig.Entry("other.desktop", "Other", "/no/such/program %f");
  EXPECT_EQ(FindExecutableForWav().result, kStartFileNotFound);
}

TEST(SystemTools, MixerFallsBackInOrder) {
  DesktopRig rig;
  // Nothing installed: failure, and the programs have their message for it.
  EXPECT_EQ(StartSystemMixer(MixerSide::kPlayback).result, kStartFileNotFound);
  EXPECT_EQ(kSystemFunctionUnavailableText, "System-Funktion nicht verfügbar !!");
  // A terminal alone is not enough: alsamixer must be there too.
  rig.Recorder("x-terminal-emulator");
  EXPECT_FALSE(StartSystemMixer(MixerSide::kRecording).Succeeded());
  rig.Recorder("alsamixer");
  EXPECT_TRUE(StartSystemMixer(MixerSide::kRecording).Succeeded());
  EXPECT_EQ(rig.Started(1).back(),
            (Call{"x-terminal-emulator", "-e", "alsamixer", "-V", "capture"}));
  rig.Recorder("gnome-control-center");
  EXPECT_TRUE(StartSystemMixer(MixerSide::kPlayback).Succeeded());
  EXPECT_EQ(rig.Started(2).back(), (Call{"gnome-control-center", "sound"}));
  // An installed but broken pavucontrol is passed over.
  rig.WriteFile(rig.bin() / "pavucontrol", "not a program", true);
  EXPECT_TRUE(StartSystemMixer(MixerSide::kPlayback).Succeeded());
  EXPECT_EQ(rig.Started(3).back(), (Call{"gnome-control-center", "sound"}));
  rig.Recorder("pavucontrol");
  EXPECT_TRUE(StartSystemMixer(MixerSide::kRecording).Succeeded());
  EXPECT_EQ(rig.Started(4).back(), (Call{"pavucontrol", "--tab=4"}));
  EXPECT_TRUE(StartSystemMixer(MixerSide::kPlayback).Succeeded());
  EXPECT_EQ(rig.Started(5).back(), (Call{"pavucontrol", "--tab=3"}));

  rig.Recorder("xdg-open");
  EXPECT_TRUE(OpenFolderInFileManager(rig.root() / "LORIXs").Succeeded());
  EXPECT_EQ(rig.Started(6).back(), (Call{"xdg-open", (rig.root() / "LORIXs").string()}));
}

}  // namespace
}  // namespace lorix::testing

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "recorder/settings_file.h"
#include "tests/support/recording_dialogs.h"

namespace lorix {
namespace {

namespace fs = std::filesystem;

// A fresh folder for the settings file, removed again at the end of the test.
class SettingsFileTest : public ::testing::Test {
 protected:
  SettingsFileTest() {
    std::string pattern = (fs::temp_directory_path() / "lorix-settings-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp: " + pattern);
    dir_ = pattern;
    path_ = dir_ / "Lorix.INI";
  }
  ~SettingsFileTest() override { fs::remove_all(dir_); }

  void WriteText(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
  std::string ReadText() const {
    std::ifstream in(path_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  SettingsFileResult Sync(bool save, RecorderSettings& settings, const SettingsParts& parts = {}) {
    return LoadSaveIniFile(path_, save, settings, dialogs_, parts);
  }
  std::string NotFoundText() const {
    return "Ini-Datei \"" + path_.string() + "\" nicht gefunden - Neu angelegt !!";
  }

  fs::path dir_;
  fs::path path_;
  testing::RecordingDialogs dialogs_;
};

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// The file the program creates from its initial values: no read-only key in it.
const char kCreatedFile[] =
    "[WindowStart]\r\nLeft=0\r\nTop=0\r\nShowRecord=1\r\nShowOptionsCompress=0\r\nShowPlay=1\r\n"
    "ShowPlayStatus=0\r\nShowSpecials=0\r\nAlwaysOnTop=0\r\n\r\n"
    "[WindowSK]\r\nLeft=602\r\nTop=0\r\nWidth=422\r\nHeight=305\r\nVisible=0\r\n\r\n"
    "[Options]\r\nInDevID=0\r\nOutDevID=0\r\nMikeToOutEnabled=0\r\nAndPlayLRXFile=1\r\n"
    "MailAppStartSelection=1\r\nCompressLevel=3\r\nMuteLevel=4\r\nOnStartSelectMike=1\r\n"
    "OnStartSetMinVols=1\r\nConfirmReset=1\r\nAutoSavePrefs=1\r\nAttachmentKind=0\r\n";

// A file as a user leaves it: comments, blank lines, unknown keys and sections, names in other
// cases, 8-bit text, read-only values edited.
const std::string kHandEdited =
    "; von Hand\r\n\r\n[windowstart]\r\nleft=120\r\nTop=80\r\nShowRecord=1\r\n"
    "ShowOptionsCompress=1\r\nShowPlay=0\r\nShowPlayStatus=1\r\nShowSpecials=0\r\nAlwaysOnTop=0\r\n"
    "Farbe=blau\r\n\r\n[WindowSK]\r\nLeft=602\r\nTop=10\r\nWidth=422\r\nHeight=305\r\nVisible=1\r\n"
    "\r\n[Eigenes]\r\nNotiz=bleibt\r\n\r\n[OPTIONS]\r\n# Ger\xE4te\r\nInDevID = 1\r\nOutDevID=0\r\n"
    "MikeToOutEnabled=0\r\nAndPlayLRXFile=1\r\nMailAppStartSelection=2\r\nCompressLevel=5\r\n"
    "MuteLevel=4\r\nOnStartSelectMike=1\r\nOnStartSetMinVols=1\r\nConfirmReset=1\r\n"
    "AutoSavePrefs=1\r\nPrepareMemoryMB=64\r\nMinVolWaveOut=70000\r\nSKFixedFreq=8000\r\n";

TEST_F(SettingsFileTest, FirstStartKeepsInitialValuesThenAnnouncesAndCreatesTheFile) {
  RecorderSettings settings;
  EXPECT_TRUE(Sync(false, settings).ok);
  EXPECT_EQ(settings, RecorderSettings{});
  EXPECT_TRUE(dialogs_.shown.empty());
  EXPECT_FALSE(fs::exists(path_));

  EXPECT_TRUE(Sync(true, settings).ok);
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_EQ(dialogs_.shown[0].caption, "Information");
  EXPECT_EQ(dialogs_.shown[0].text, NotFoundText());
  EXPECT_EQ(dialogs_.shown[0].icon, DialogIcon::kInformation);
  EXPECT_EQ(dialogs_.shown[0].buttons, DialogButtons::kOk);
  EXPECT_EQ(ReadText(), kCreatedFile);
  EXPECT_TRUE(Sync(true, settings).ok);  // silent once the file exists
  EXPECT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);

  // A relative name is shown in full.
  fs::remove(path_);
  const fs::path previous = fs::current_path();
  fs::current_path(dir_);
  EXPECT_TRUE(LoadSaveIniFile("Lorix.INI", true, settings, dialogs_, {}).ok);
  fs::current_path(previous);
  ASSERT_EQ(dialogs_.shown.size(), 2u);
  EXPECT_EQ(dialogs_.shown[1].text, NotFoundText());
}

TEST_F(SettingsFileTest, EveryWrittenValueReadsBackIntoItsOwnField) {
  RecorderSettings saved;
  saved.WindowStart = {11, 12, false, true, false, true, true, true};
  saved.WindowSK = {21, 22, 23, 24, true};
  saved.Options = {.InDevID = 2,
                   .OutDevID = 3,
                   .MikeToOutEnabled = true,
                   .AndPlayLRXFile = false,
                   .MailAppStartSelection = 0,
                   .CompressLevel = 7,
                   .MuteLevel = 6,
                   .OnStartSelectMike = false,
                   .OnStartSetMinVols = false,
                   .ConfirmReset = false,
                   .AutoSavePrefs = false};
  RecorderSettings written = saved;
  ASSERT_TRUE(Sync(true, written).ok);
  EXPECT_EQ(written, saved);
  RecorderSettings loaded;
  ASSERT_TRUE(Sync(false, loaded).ok);
  EXPECT_EQ(loaded, saved);
}

TEST_F(SettingsFileTest, AHandEditedFileKeepsEveryByteButTheWrittenValues) {
  WriteText(kHandEdited);
  RecorderSettings settings;
  ASSERT_TRUE(Sync(false, settings).ok);
  EXPECT_EQ(settings.WindowStart.Left, 120);  // names compare without regard to case
  EXPECT_EQ(settings.Options.InDevID, 1);
  EXPECT_EQ(settings.Options.CompressLevel, 5);
  settings.Options.CompressLevel = 6;
  settings.WindowStart.ShowPlay = true;
  ASSERT_TRUE(Sync(true, settings).ok);
  // A key the file lacks is added at the end of its section.
  EXPECT_EQ(ReadText(), Replaced(Replaced(kHandEdited, "CompressLevel=5", "CompressLevel=6"),
                                 "ShowPlay=0", "ShowPlay=1") +
                            "AttachmentKind=0\r\n");
  EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(SettingsFileTest, ReadOnlyValuesAreReadAndClampedButNeverWritten) {
  WriteText(
      "[Options]\r\nPrepareMemoryMB=64\r\nMinVolWaveOut=70000\r\nMinVolSpeakers=-5\r\n"
      "SKFixedFreq=8000\r\nOnStartSetMinVols=0\r\n");
  const std::string original = ReadText();
  RecorderSettings settings;
  ASSERT_TRUE(Sync(false, settings).ok);
  EXPECT_EQ(settings.Options.PrepareMemoryMB, 64);
  EXPECT_EQ(settings.Options.SKFixedFreq, 8000);
  const StartupMixerSettings mixer = MixerStartupFrom(settings);
  EXPECT_FALSE(mixer.MIOnStartSetMinVols);
  EXPECT_TRUE(mixer.MIOnStartSelectMike);
  EXPECT_EQ(mixer.MinVolWaveOut, 65535);
  EXPECT_EQ(mixer.MinVolSpeakers, 0);
  // The user's own lines stay as they are; the written keys follow them.
  ASSERT_TRUE(Sync(true, settings).ok);
  const std::string saved = ReadText();
  EXPECT_EQ(saved.rfind(original, 0), 0u) << saved;
  EXPECT_EQ(saved.find("MinVol", original.size()), std::string::npos) << saved;
}

TEST_F(SettingsFileTest, StoredNumbersAreInterpretedAsTheControlsShowThem) {
  WriteText(
      "[WindowStart]\r\nLeft=links\r\nTop=99999999999\r\nShowRecord=2\r\nShowPlay=0\r\n"
      "ShowPlayStatus=-1\r\nShowSpecials=ja\r\n"
      "[Options]\r\nMailAppStartSelection=7\r\nCompressLevel=12\r\nMuteLevel=-3\r\n"
      "AttachmentKind=9\r\n");
  RecorderSettings settings;
  settings.WindowStart.Left = 17;
  settings.WindowStart.ShowRecord = false;
  settings.WindowStart.ShowSpecials = true;
  ASSERT_TRUE(Sync(false, settings).ok);
  const MainWindowSettings& w = settings.WindowStart;
  EXPECT_EQ(w.Left, 17);  // unreadable: kept
  EXPECT_EQ(w.Top, std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(std::vector<bool>({w.ShowRecord, w.ShowPlay, w.ShowPlayStatus, w.ShowSpecials}),
            std::vector<bool>({true, false, true, true}));
  EXPECT_EQ(settings.Options.MailAppStartSelection, 7);
  EXPECT_EQ(settings.Options.MailAppRadioButton(), std::nullopt);
  EXPECT_EQ(settings.Options.AttachmentKindRadioButton(), std::nullopt);
  EXPECT_EQ(settings.Options.CompressLevel, 8);
  EXPECT_EQ(settings.Options.MuteLevel, 0);
  ASSERT_TRUE(Sync(true, settings).ok);
  EXPECT_NE(ReadText().find("MailAppStartSelection=7\r\nCompressLevel=8\r\nMuteLevel=0\r\n"
                            "AttachmentKind=9\r\n"),
            std::string::npos);

  for (int selection : {0, 1, 2}) {
    settings.Options.MailAppStartSelection = selection;
    EXPECT_EQ(settings.Options.MailAppRadioButton(), selection);
  }
}

TEST_F(SettingsFileTest, WindowSectionsOnlyForExistingPartsAndTheMenuHookBetween) {
  WriteText("[WindowStart]\r\nLeft=5\r\n[WindowSK]\r\nLeft=7\r\n[Options]\r\nCompressLevel=6\r\n");
  RecorderSettings settings;
  std::vector<std::pair<int, int>> seen;  // WindowSK.Left and CompressLevel when called
  SettingsParts parts{.main_window = false, .recording_form = true, .UpdateMenus = [&] {
                        seen.emplace_back(settings.WindowSK.Left, settings.Options.CompressLevel);
                      }};
  ASSERT_TRUE(Sync(false, settings, parts).ok);
  EXPECT_EQ(settings.WindowStart.Left, 0);
  EXPECT_EQ(settings.Options.CompressLevel, 6);
  EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{7, 3}}));

  fs::remove(path_);
  parts.recording_form = false;
  ASSERT_TRUE(Sync(true, settings, parts).ok);
  EXPECT_EQ(seen.size(), 2u);
  EXPECT_EQ(ReadText().rfind("[Options]\r\nInDevID=0\r\n", 0), 0u);
  EXPECT_EQ(ReadText().find("[Window"), std::string::npos);
}

TEST_F(SettingsFileTest, WriteIniBoolWritesOneKeyAtOnce) {
  EXPECT_TRUE(WriteIniBool(path_, "Options", "OnStartSelectMike", false, dialogs_).ok);
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_EQ(dialogs_.shown[0].text, NotFoundText());
  EXPECT_EQ(ReadText(), "[Options]\r\nOnStartSelectMike=0\r\n");

  WriteText(kHandEdited);
  EXPECT_TRUE(WriteIniBool(path_, "Options", "ConfirmReset", false, dialogs_).ok);
  EXPECT_EQ(ReadText(), Replaced(kHandEdited, "ConfirmReset=1", "ConfirmReset=0"));
  EXPECT_EQ(dialogs_.shown.size(), 1u);
}

TEST_F(SettingsFileTest, FilesThatCannotBeWrittenOrReadAreReportedAndLeftAlone) {
  RecorderSettings settings;
  settings.Options.CompressLevel = 6;
  const RecorderSettings before = settings;
  const fs::path file = path_;

  path_ = dir_ / "entfernt" / "Lorix.INI";  // the program's folder is gone
  const std::string write_error = "Die Datei \"" + path_.string() +
                                  "\" kann nicht geschrieben werden: Datei oder Ordner nicht "
                                  "gefunden";
  EXPECT_EQ(Sync(true, settings).error, write_error);
  EXPECT_EQ(WriteIniBool(path_, "Options", "ConfirmReset", true, dialogs_).error, write_error);
  EXPECT_EQ(dialogs_.shown.size(), 2u);  // the not-found box came first

  path_ = file;
  fs::create_directory(path_);  // there, but unreadable for every user, root included
  const std::string read_error =
      "Die Datei \"" + path_.string() + "\" kann nicht gelesen werden: ist ein Ordner";
  const SettingsFileResult loaded = Sync(false, settings);
  EXPECT_FALSE(loaded.ok);
  EXPECT_EQ(loaded.error, read_error);
  EXPECT_EQ(Sync(true, settings).error, read_error);
  EXPECT_FALSE(WriteIniBool(path_, "Options", "ConfirmReset", true, dialogs_).ok);
  EXPECT_TRUE(fs::is_directory(path_));
  EXPECT_EQ(settings, before);
  EXPECT_EQ(dialogs_.shown.size(), 2u);
}

TEST_F(SettingsFileTest, RewritingKeepsTheFilesPermissions) {
  RecorderSettings settings;
  WriteText(kHandEdited);
  fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_TRUE(Sync(true, settings).ok);
  EXPECT_EQ(fs::status(path_).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_NE(ReadText(), kHandEdited);
}

TEST(SettingsFilePath, UpToTheFirstExeOrDllThenIniElseLorixIniBesideTheProgram) {
  EXPECT_EQ(SettingsFilePath("/Tools/Rec.exe"), "/Tools/Rec.INI");
  EXPECT_EQ(SettingsFilePath("/Tools/REC.Exe"), "/Tools/REC.INI");
  EXPECT_EQ(SettingsFilePath("/Tools/rec.dll"), "/Tools/rec.INI");
  // The first ".EXE" anywhere in the path counts, folders included.
  EXPECT_EQ(SettingsFilePath("/a.exe.d/Rec.exe"), "/a.INI");
  EXPECT_EQ(SettingsFilePath("/opt/lorix/Lorix"), "/opt/lorix/LORIX.INI");
  EXPECT_EQ(SettingsFilePath("Lorix"), "LORIX.INI");
}

}  // namespace
}  // namespace lorix

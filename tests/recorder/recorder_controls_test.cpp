#include "recorder/recorder_controls.h"

#include <gtest/gtest.h>

#include <string>

namespace lorix {
namespace {

constexpr const char* kRefusedPrograms =
    "\r\nAchtung: Viele Mail-Dienste, auch die größten Webmail-Dienste, weisen Programm-Anhänge "
    "zurück.\r\nAnhang als \"Audiodatei (.MP3)\" erreicht jeden Empfänger.";

TEST(SizeText, BytesAndKilobytesRoundedUp) {
  EXPECT_EQ(SizeText(2049), "2049 Bytes  (3 KB )");
  EXPECT_EQ(SizeText(2048), "2048 Bytes  (2 KB )");
  EXPECT_EQ(SizeText(1), "1 Bytes  (1 KB )");
  EXPECT_EQ(SizeText(0), "0 Bytes  (0 KB )");
}

// A state the window cannot reach through the steps alone: a paused playback of a loaded file.
TEST(UpdateControls, PausedPlaybackOffersResumeOnBothPlaybackButtons) {
  ControlInputs in;
  in.PlaybackActive = true;
  in.PlaybackPaused = true;
  in.PlayFile = "/p/TEMPs/TempCompressed.wav";
  RecorderControls c;
  UpdateControls(in, c);
  EXPECT_EQ(c.ButtonPlay.hint, "Weiter");
  EXPECT_FALSE(c.ButtonPlay.pressed);
  EXPECT_EQ(c.ButtonPause.hint, "Weiter");
  EXPECT_TRUE(c.ButtonPause.pressed);
  EXPECT_TRUE(c.ButtonStop.enabled);
  EXPECT_FALSE(c.ButtonRecord.enabled);
  EXPECT_FALSE(c.ButtonRecordLevelOnOff.enabled);
  EXPECT_EQ(c.ButtonComprDecomprAndPlay.caption, "&3. STOP Wiederg.!");
}

TEST(UpdateControls, ExpertButtonsFollowTheBuffers) {
  ControlInputs in;
  in.pcm_stream_size = 44;
  in.info_stream_size = 10;
  RecorderControls c;
  c.PanelButtons_enabled = false;
  UpdateControls(in, c);
  EXPECT_TRUE(c.ButtonSavePCMFile.enabled);
  EXPECT_TRUE(c.ButtonCompress.enabled);
  EXPECT_FALSE(c.ButtonSaveLRXFile.enabled);
  EXPECT_FALSE(c.ButtonDecompress.enabled);
  EXPECT_TRUE(c.ButtonShowMSINFofMail.enabled);
  EXPECT_TRUE(c.PanelButtons_enabled);
  EXPECT_EQ(c.LabelMSPCMInfo, "WAV: 44 Bytes  (1 KB )");
  EXPECT_EQ(c.LabelMSLRXInfo, "LRX: 0 Bytes  (0 KB )");
}

TEST(UpdateControls, Step4NeedsACurrentCompressedStreamAndAnAttachmentName) {
  ControlInputs in;
  in.compressed_stream_size = 3000;
  in.attachment_stream_size = 3000;
  in.AttachmentOverhead = 100000;
  in.AttachmentPath = "/p/LORIXs/LORIX_20240102_030405.EXE";
  in.AttachmentFileName = "LORIX_20240102_030405.EXE";
  RecorderControls c;
  UpdateControls(in, c);
  EXPECT_TRUE(c.ButtonCreateOpenMail.enabled);
  EXPECT_TRUE(c.ButtonAndPlay.enabled);
  EXPECT_TRUE(c.PanelTipCreateOpenMail.enabled);
  EXPECT_EQ(c.ButtonCreateOpenMail.hint,
            std::string("4. Mail-Anhang (100 KB) erstellen:  !!!\r\nLORIX_20240102_030405.EXE") +
                kRefusedPrograms);
  EXPECT_EQ(c.ButtonCreateOpenMail.caption, "&4. Fertigstellen ");
  // A loaded attachment: only its stream goes into the new one.
  in.compressed_stream_size = 900000;
  UpdateControls(in, c);
  EXPECT_EQ(c.ButtonCreateOpenMail.hint,
            std::string("4. Mail-Anhang (100 KB) erstellen:  !!!\r\nLORIX_20240102_030405.EXE") +
                kRefusedPrograms);

  in.compressed_stale = true;
  UpdateControls(in, c);
  EXPECT_FALSE(c.ButtonCreateOpenMail.enabled);
  EXPECT_FALSE(c.ButtonAndPlay.enabled);

  in.compressed_stale = false;
  in.AttachmentPath = "a.e";
  UpdateControls(in, c);
  EXPECT_FALSE(c.ButtonCreateOpenMail.enabled);

  in.AttachmentPath.clear();
  UpdateControls(in, c);
  EXPECT_EQ(c.ButtonCreateOpenMail.hint, "4. Audio-Mail-Anhang erstellen !");
}

// Only the program is refused by mail services; the warning names the kind that gets through.
TEST(UpdateControls, Step4HintWarnsOnlyWhenTheProgramIsSentAlone) {
  ControlInputs in;
  in.compressed_stream_size = 3000;
  in.attachment_stream_size = 3000;
  in.AttachmentOverhead = 100000;
  in.AttachmentPath = "/p/LORIXs/LORIX_20240102_030405.EXE";
  in.AttachmentFileName = "LORIX_20240102_030405.EXE";
  in.mp3_size_estimate = 30000;
  RecorderControls c;
  const std::string warning = std::string(kRefusedPrograms).substr(2);
  for (const int kind : {0, 1, 2}) {
    in.attachment_kind = kind;
    UpdateControls(in, c);
    const std::string& hint = c.ButtonCreateOpenMail.hint;
    EXPECT_EQ(hint.find(warning) != std::string::npos, kind == 0) << kind << ": " << hint;
    EXPECT_EQ(hint.find("Webmail") != std::string::npos, kind == 0) << kind;
  }
  EXPECT_NE(c.ButtonCreateOpenMail.hint.find("MP3-Audiodatei (ca. 30 KB)"), std::string::npos);
}

}  // namespace
}  // namespace lorix

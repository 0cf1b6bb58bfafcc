#include "recorder/recorder_controls.h"

#include <gtest/gtest.h>

namespace lorix {
namespace {

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
            "4. Mail-Anhang (100 KB) erstellen:  !!!\r\nLORIX_20240102_030405.EXE");
  EXPECT_EQ(c.ButtonCreateOpenMail.caption, "&4. Fertigstellen ");
  // A loaded attachment: only its stream goes into the new one.
  in.compressed_stream_size = 900000;
  UpdateControls(in, c);
  EXPECT_EQ(c.ButtonCreateOpenMail.hint,
            "4. Mail-Anhang (100 KB) erstellen:  !!!\r\nLORIX_20240102_030405.EXE");

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

}  // namespace
}  // namespace lorix

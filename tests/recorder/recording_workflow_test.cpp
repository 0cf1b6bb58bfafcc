#include "tests/recorder/workflow_fixture.h"

#include <functional>

#include "tests/recorder/file_size_limit.h"

namespace lorix {
namespace {

// The recording dialogs that also look around whenever a box is shown.
class LookingDialogs : public testing::RecordingDialogs {
 public:
  DialogAnswer Show(const DialogRequest& request) override {
    if (on_show) on_show();
    return RecordingDialogs::Show(request);
  }
  std::function<void()> on_show;
};

std::vector<std::string> RecoveryFiles(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("Recovery-")) names.push_back(name);
  }
  return names;
}

TEST_F(RecordingWorkflowTest, StartStateOffersSteps1And2Only) {
  EXPECT_TRUE(c().ButtonRecordLevelOnOff.enabled);
  EXPECT_FALSE(c().ButtonRecordLevelOnOff.pressed);
  EXPECT_EQ(c().ButtonRecordLevelOnOff.hint,
            "1. Aufnahme-Pegel einstellen: Peaks bis etwa zum Anfang des Rot-Bereiches");
  EXPECT_TRUE(c().ButtonRecord.enabled);
  EXPECT_EQ(c().ButtonRecord.caption, "&2. Neu\r\naufnehmen ");
  EXPECT_EQ(c().ButtonRecord.hint, "2. Neu\r\naufnehmen ");
  EXPECT_FALSE(c().ButtonComprDecomprAndPlay.enabled);
  EXPECT_EQ(c().ButtonComprDecomprAndPlay.caption, "&3. Komprimieren\r\nund anhören");
  EXPECT_FALSE(c().ButtonCreateOpenMail.enabled);
  EXPECT_EQ(c().ButtonCreateOpenMail.hint, "4. Audio-Mail-Anhang erstellen !");
  EXPECT_TRUE(c().PanelTipRecordLevelOnOff.enabled);
  EXPECT_TRUE(c().PanelTipRecord.enabled);
  EXPECT_FALSE(c().PanelTipComprDecomprAndPlay.enabled);
  EXPECT_FALSE(c().PanelTipCreateOpenMail.enabled);
  EXPECT_FALSE(c().ButtonReset.enabled);
  EXPECT_FALSE(c().ButtonAndPlayOrig.enabled);
  EXPECT_FALSE(c().ButtonPlay.enabled);
  EXPECT_EQ(c().LabelRecordedWAV_File, "(-)");
  EXPECT_EQ(c().LabelRecordedOrLoaded, " Aufnahme: ");
  EXPECT_EQ(c().LabelFreq, "(11025 Hz)");
  EXPECT_EQ(c().LabelCompressLevel, "3");
  EXPECT_EQ(c().LabelQuality, "5");
  EXPECT_EQ(c().PanelBottom, "ok.");
  EXPECT_EQ(s().ExpectedAttachmentSize, kOverhead);
  EXPECT_EQ(s().PcmBytesPerCompressedByte, 3.5);
}

TEST_F(RecordingWorkflowTest, LevelCheckMovesTheMeterOnlyAndRefusesFiles) {
  Press(RecordSender::kPanelTipRecordLevelOnOffMicro);
  EXPECT_TRUE(s().LevelMeterOn);
  EXPECT_TRUE(capture_->started());
  EXPECT_TRUE(c().ButtonRecordLevelOnOff.pressed);
  EXPECT_EQ(c().ButtonRecordLevelOnOff.hint, "1. Pegel-Anzeige wieder ausschalten!");
  EXPECT_FALSE(c().ButtonComprDecomprAndPlay.enabled);
  EXPECT_TRUE(c().ButtonRecord.enabled);
  EXPECT_EQ(focus_.back(), FocusTarget::kScrollBarRecordLevel);

  Capture(2);
  EXPECT_GT(c().DbMeterRecordLevel, 0);
  EXPECT_TRUE(workflow_->PcmStream().empty());
  EXPECT_EQ(c().LabelSmpsRecorded, "   ");

  EXPECT_FALSE(workflow_->AddMoreToList((folder_ / "a.wav").string()));
  EXPECT_EQ(s().LoadedFileKind, LoadedKind::kNone);

  Press(RecordSender::kButtonRecordLevelOnOff);
  EXPECT_FALSE(s().LevelMeterOn);
  EXPECT_EQ(c().DbMeterRecordLevel, 0);
  EXPECT_FALSE(capture_->is_open());
  EXPECT_EQ(c().ButtonRecordLevelOnOff.hint,
            "1. Aufnahme-Pegel einstellen: Peaks bis etwa zum Anfang des Rot-Bereiches");
}

TEST_F(RecordingWorkflowTest, RecordingThenPauseWritesTheRecordingFile) {
  Press(RecordSender::kButtonRecord);
  EXPECT_TRUE(s().RecordingActive);
  EXPECT_TRUE(s().LevelMeterOn);
  EXPECT_FALSE(s().BufferPristine);
  EXPECT_EQ(c().ButtonRecord.caption, "&2.  PAUSE \r\n    / STOP    ");
  EXPECT_TRUE(c().ButtonRecord.pressed);
  EXPECT_FALSE(c().ButtonRecordLevelOnOff.pressed);  // one toggle group
  EXPECT_FALSE(c().ButtonRecordLevelOnOff.enabled);
  EXPECT_TRUE(c().ButtonComprDecomprAndPlay.enabled);
  EXPECT_EQ(c().LabelRecordedWAV_File, paths_.temp_recording.string());

  Capture(3);
  EXPECT_EQ(workflow_->PcmStream().size(), 44u + 3000u);
  EXPECT_EQ(c().LabelSmpsRecorded, " [ 0.27 Sek. ] ");

  Press(RecordSender::kPanelTipRecord);
  EXPECT_FALSE(s().RecordingActive);
  EXPECT_FALSE(s().LevelMeterOn);
  EXPECT_FALSE(capture_->is_open());
  EXPECT_EQ(s().SampleCount, 3000);
  const std::vector<std::uint8_t> tone = Tone(3000);
  EXPECT_EQ(ReadWholeFile(paths_.temp_recording), WavImage(Bytes(tone.begin(), tone.end())));
  EXPECT_EQ(workflow_->PcmStream(), ReadWholeFile(paths_.temp_recording));

  EXPECT_EQ(c().ButtonRecord.caption, "&2. Weiter\r\naufnehmen");
  EXPECT_TRUE(c().ButtonAndPlayOrig.enabled);
  EXPECT_TRUE(c().ButtonReset.enabled);
  EXPECT_TRUE(c().ButtonComprDecomprAndPlay.enabled);
  EXPECT_FALSE(c().ButtonCreateOpenMail.enabled);
  EXPECT_EQ(c().LabelPCMInfo, "3000 Smps.");
  EXPECT_EQ(c().LabelMSPCMInfo, "WAV: 3044 Bytes  (3 KB )");
}

TEST_F(RecordingWorkflowTest, ContinuingAppendsToTheUncompressedRecording) {
  const std::vector<std::uint8_t> tone = Tone(5000);
  RecordAndPause(2);
  RecordAndPause(1);
  EXPECT_EQ(ReadWholeFile(paths_.temp_recording),
            WavImage(Bytes(tone.begin(), tone.begin() + 3000)));

  // Step 3 leaves the decoded version in PcmStream; continuing must not build on it.
  workflow_->ButtonComprDecomprAndPlayClick();
  workflow_->ButtonStopClick();
  ASSERT_NE(workflow_->PcmStream(), WavImage(Bytes(tone.begin(), tone.begin() + 3000)));
  RecordAndPause(2);
  EXPECT_EQ(ReadWholeFile(paths_.temp_recording), WavImage(Bytes(tone.begin(), tone.end())));
  EXPECT_EQ(s().SampleCount, 5000);
}

TEST_F(RecordingWorkflowTest, Step3WhileRecordingCompressesDecodesAndPlays) {
  Press(RecordSender::kButtonRecord);
  Capture(4);
  workflow_->ButtonComprDecomprAndPlayClick();
  Drain();

  const Bytes recording = ReadWholeFile(paths_.temp_recording);
  ASSERT_EQ(recording.size(), 44u + 4000u);
  const Bytes compressed = Compress(recording, 4000, CodecSettings::FromLevels(3, 4),
                                    InitCodecTables(), ProgramVersion, InfoTextLength())
                               .CompressedStream;
  EXPECT_EQ(workflow_->CompressedStream(), compressed);
  const DecompressResult decoded = Decompress(compressed, InitCodecTables());
  EXPECT_EQ(ReadWholeFile(paths_.temp_compressed), decoded.PcmStream);
  EXPECT_EQ(workflow_->PcmStream(), decoded.PcmStream);
  EXPECT_EQ(s().PayloadSize, decoded.PayloadSize);
  EXPECT_EQ(s().SampleCount, 4000);
  EXPECT_EQ(s().ExpectedAttachmentSize, kOverhead + static_cast<std::int64_t>(compressed.size()));
  EXPECT_EQ(c().LabelKBExpectedLRX,
            " [" + std::to_string((kOverhead + compressed.size()) / 1024) + " kB] ");
  EXPECT_EQ(repaints_, 2);
  EXPECT_FALSE(c().PanelWait_visible);

  // Playing: step 3 stops, step 4 waits for the end of the playback.
  EXPECT_EQ(workflow_->playback().PlayFile(), paths_.temp_compressed.string());
  EXPECT_TRUE(workflow_->playback().PlaybackActive());
  EXPECT_EQ(c().ButtonComprDecomprAndPlay.caption, "&3. STOP Wiederg.!");
  EXPECT_TRUE(c().ButtonComprDecomprAndPlay.enabled);
  EXPECT_FALSE(c().ButtonRecord.enabled);
  EXPECT_FALSE(c().ButtonCreateOpenMail.enabled);
  EXPECT_TRUE(c().ButtonPlay.pressed);
  EXPECT_EQ(c().ButtonPlay.hint, "Da Capo!");

  workflow_->ButtonComprDecomprAndPlayClick();
  EXPECT_FALSE(workflow_->playback().PlaybackActive());
  EXPECT_EQ(workflow_->CompressedStream(), compressed);  // only stopped
  EXPECT_TRUE(c().ButtonCreateOpenMail.enabled);
  EXPECT_TRUE(c().ButtonAndPlay.enabled);
  EXPECT_EQ(s().AttachmentFileName, kAttachmentFile);
  EXPECT_EQ(c().ButtonCreateOpenMail.hint,
            "4. Mail-Anhang (" + std::to_string((kOverhead + compressed.size()) / 1024) +
                " KB) erstellen:  !!!\r\n" + kAttachmentFile +
                "\r\nAchtung: Viele Mail-Dienste, auch die größten Webmail-Dienste, weisen "
                "Programm-Anhänge zurück.\r\nAnhang als \"Audiodatei (.MP3)\" erreicht jeden "
                "Empfänger.");
  EXPECT_EQ(c().ButtonComprDecomprAndPlay.caption, "&3. Komprimieren\r\nund anhören");
}

TEST_F(RecordingWorkflowTest, Step3WithoutAutoPlayEnablesStep4AtOnce) {
  workflow_->CBAndPlayLRXFileClick(false);
  EXPECT_EQ(c().ButtonComprDecomprAndPlay.caption, "&3. Komprimieren");
  RecordAndPause(2);
  workflow_->ButtonComprDecomprAndPlayClick();
  EXPECT_FALSE(workflow_->playback().PlaybackActive());
  EXPECT_EQ(workflow_->playback().PlayFile(), paths_.temp_compressed.string());
  EXPECT_TRUE(c().ButtonCreateOpenMail.enabled);
  EXPECT_TRUE(c().PanelTipCreateOpenMail.enabled);
}

TEST_F(RecordingWorkflowTest, EndOfTheAutomaticPlaybackEnablesStep4) {
  RecordAndPause(2);
  workflow_->ButtonComprDecomprAndPlayClick();
  ASSERT_TRUE(workflow_->playback().PlaybackActive());
  output_.Advance(1000);
  workflow_->PlaybackTick();
  EXPECT_FALSE(workflow_->playback().PlaybackActive());
  EXPECT_TRUE(c().ButtonCreateOpenMail.enabled);
}

// Listening to the uncompressed recording must not make an out-of-date compressed stream
// sendable again: the attachment would lack what was recorded after step 3.
TEST_F(RecordingWorkflowTest, ARecordingChangedAfterStep3MustBeCompressedAgain) {
  workflow_->CBAndPlayLRXFileClick(false);
  RecordAndPause(2);
  workflow_->ButtonComprDecomprAndPlayClick();
  ASSERT_TRUE(c().ButtonCreateOpenMail.enabled);

  RecordAndPause(1);
  EXPECT_FALSE(c().ButtonCreateOpenMail.enabled);
  EXPECT_FALSE(c().ButtonAndPlay.enabled);
  workflow_->ButtonAndPlayOrigClick();
  workflow_->ButtonStopClick();
  workflow_->CBAndPlayLRXFileClick(false);
  EXPECT_FALSE(c().ButtonCreateOpenMail.enabled);

  workflow_->ButtonComprDecomprAndPlayClick();
  EXPECT_TRUE(c().ButtonCreateOpenMail.enabled);
}

TEST_F(RecordingWorkflowTest, ListenButtonsChooseTheirFile) {
  RecordAndPause(2);
  workflow_->ButtonComprDecomprAndPlayClick();
  ASSERT_TRUE(workflow_->playback().PlaybackActive());

  workflow_->ButtonAndPlayClick();  // already playing: nothing
  EXPECT_EQ(workflow_->playback().PlayFile(), paths_.temp_compressed.string());

  workflow_->ButtonAndPlayOrigClick();
  EXPECT_EQ(workflow_->playback().PlayFile(), paths_.temp_recording.string());
  EXPECT_TRUE(workflow_->playback().PlaybackActive());
  EXPECT_EQ(workflow_->playback().LabelPlayStatus().rfind("gestoppt nach ", 0), 0u);

  workflow_->ButtonStopClick();
  workflow_->ButtonAndPlayClick();
  EXPECT_EQ(workflow_->playback().PlayFile(), paths_.temp_compressed.string());
  EXPECT_TRUE(workflow_->playback().PlaybackActive());
  EXPECT_EQ(focus_.back(), FocusTarget::kScrollBarVolSpeakers);
}

TEST_F(RecordingWorkflowTest, EstimateCountsOnlyBuffersThatAreNotSilent) {
  // 1000 samples of sound, then near-silence within the default quiet band (124..135).
  std::vector<std::uint8_t> material = Tone(1000);
  for (int i = 0; i < 2000; ++i) material.push_back(i % 2 == 0 ? 125 : 133);
  SetUpWith(material);

  Press(RecordSender::kButtonRecord);
  Capture(1);
  const std::int64_t one_buffer = std::llround(1000 / 3.5);
  EXPECT_EQ(s().ExpectedAttachmentSize, kOverhead + one_buffer);
  EXPECT_EQ(c().LabelKBExpectedLRX,
            " [ca." + std::to_string((kOverhead + one_buffer) / 1024) + " kB] ");
  Capture(1);
  EXPECT_EQ(s().ExpectedAttachmentSize, kOverhead + one_buffer);

  workflow_->TBMuteLevelChange(0);  // no buffer is silent any more
  Capture(1);
  EXPECT_EQ(s().ExpectedAttachmentSize, kOverhead + 2 * one_buffer);
}

TEST_F(RecordingWorkflowTest, CompressLevelRescalesThePayloadPartOfTheEstimate) {
  Press(RecordSender::kButtonRecord);
  Capture(7);
  const std::int64_t payload = s().ExpectedAttachmentSize - kOverhead;
  ASSERT_EQ(payload, 7 * std::llround(1000 / 3.5));

  workflow_->TBCompressLevelChange(8);
  EXPECT_EQ(s().ExpectedAttachmentSize, kOverhead + std::llround(payload * 3.5 / 6.0));
  EXPECT_EQ(s().CompressLevel, 8);
  EXPECT_EQ(c().LabelCompressLevel, "8");
  EXPECT_EQ(c().LabelQuality, "0");
  EXPECT_EQ(c().LabelKBExpectedLRX,
            " [ca." + std::to_string(s().ExpectedAttachmentSize / 1024) + " kB] ");
  Capture(1);  // new buffers at the new ratio
  EXPECT_EQ(s().ExpectedAttachmentSize,
            kOverhead + std::llround(payload * 3.5 / 6.0) + std::llround(1000 / 6.0));
  const std::int64_t payload_at_8 = s().ExpectedAttachmentSize - kOverhead;
  workflow_->TBCompressLevelChange(0);
  EXPECT_EQ(s().ExpectedAttachmentSize, kOverhead + payload_at_8 * 3);
}

TEST_F(RecordingWorkflowTest, MuteLevelSetsTheQuietBandAndItsLabel) {
  workflow_->TBMuteLevelChange(8);
  EXPECT_EQ(c().LabelMutePercent, "(wenn unter  100%  Aussteuerung)");
  EXPECT_EQ(c().LabelMuteLevel, "8");
  EXPECT_EQ(s().MuteLow, 0);
  EXPECT_EQ(s().MuteHigh, 16);
  workflow_->TBMuteLevelChange(0);
  EXPECT_EQ(c().LabelMutePercent, "(wenn unter  0%  Aussteuerung)");
  EXPECT_EQ(s().MuteLow, 8);
  EXPECT_EQ(s().MuteHigh, 8);
  workflow_->TBMuteLevelChange(4);  // level of code 12: 140, (140 - 128) x 100 / 128 = 9.4
  EXPECT_EQ(c().LabelMutePercent, "(wenn unter  9%  Aussteuerung)");
}

TEST_F(RecordingWorkflowTest, ResetAsksFirstAndACancelChangesNothing) {
  RecordAndPause(2);
  dialogs_.answers = {DialogAnswer::kCancel};
  EXPECT_FALSE(workflow_->ButtonResetClick(ResetSender::kButtonReset));
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_EQ(dialogs_.shown[0].text, "Die letzte Aufnahme löschen?");
  EXPECT_EQ(dialogs_.shown[0].buttons, DialogButtons::kOkCancel);
  EXPECT_EQ(s().SampleCount, 2000);
  EXPECT_FALSE(workflow_->PcmStream().empty());

  dialogs_.answers = {DialogAnswer::kOk};
  EXPECT_TRUE(workflow_->ButtonResetClick(ResetSender::kButtonReset));
  EXPECT_TRUE(workflow_->PcmStream().empty());
  EXPECT_TRUE(workflow_->CompressedStream().empty());
  EXPECT_TRUE(s().BufferPristine);
  EXPECT_EQ(s().SampleCount, 0);
  EXPECT_EQ(s().ExpectedAttachmentSize, kOverhead);
  EXPECT_EQ(c().LabelRecordedWAV_File, "(-)");
  EXPECT_EQ(c().LabelKBExpectedLRX, "   ");
  EXPECT_EQ(c().LabelSmpsRecorded, "   ");
  EXPECT_EQ(c().ButtonRecord.caption, "&2. Neu\r\naufnehmen ");
  EXPECT_FALSE(c().ButtonComprDecomprAndPlay.enabled);

  // Without the menu check, and for an internal reset, nothing is asked.
  RecordAndPause(1);
  options_.ConfirmReset = false;
  EXPECT_TRUE(workflow_->ButtonResetClick(ResetSender::kButtonReset));
  options_.ConfirmReset = true;
  RecordAndPause(1);
  EXPECT_TRUE(workflow_->ButtonResetClick(ResetSender::kNone));
  EXPECT_EQ(dialogs_.shown.size(), 2u);
}

TEST_F(RecordingWorkflowTest, ResetStopsRecordingAndPlaybackButKeepsTheAttachmentName) {
  RecordAndPause(2);
  workflow_->ButtonComprDecomprAndPlayClick();
  ASSERT_TRUE(workflow_->playback().PlaybackActive());
  EXPECT_TRUE(workflow_->ButtonResetClick(ResetSender::kNone));
  EXPECT_FALSE(workflow_->playback().PlaybackActive());
  EXPECT_EQ(workflow_->playback().LabelPlayStatus(), "(-)");
  EXPECT_EQ(workflow_->playback().PlayLengthSamples(), 0);
  EXPECT_EQ(workflow_->playback().PlayFile(), paths_.temp_compressed.string());
  EXPECT_EQ(s().AttachmentFileName, kAttachmentFile);
  EXPECT_FALSE(c().ButtonCreateOpenMail.enabled);

  Press(RecordSender::kButtonRecord);
  Capture(1);
  EXPECT_TRUE(workflow_->ButtonResetClick(ResetSender::kNone));
  Drain();
  EXPECT_FALSE(s().RecordingActive);
  EXPECT_FALSE(capture_->is_open());
  EXPECT_EQ(c().DbMeterRecordLevel, 0);
}

TEST_F(RecordingWorkflowTest, AMissingRecordingFileIsReportedNotUsed) {
  RecordAndPause(1);
  fs::remove(paths_.temp_recording);
  workflow_->ButtonComprDecomprAndPlayClick();
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_EQ(dialogs_.shown[0].icon, DialogIcon::kError);
  EXPECT_TRUE(workflow_->CompressedStream().empty());
  EXPECT_FALSE(c().PanelWait_visible);
  EXPECT_FALSE(c().ButtonCreateOpenMail.enabled);
}

// The program dies during a recording that was continued after step 3; the next start restores
// all of it, the part before step 3 included, as a stopped recording.
TEST_F(RecordingWorkflowTest, AKilledContinuedRecordingIsRestoredWhole) {
  const std::vector<std::uint8_t> tone = Tone(20000);
  const fs::path journal = JournalPath(paths_.temps_folder);
  RecordAndPause(3);
  workflow_->ButtonComprDecomprAndPlayClick();
  workflow_->ButtonStopClick();
  EXPECT_FALSE(fs::exists(journal));  // step 3 ends the journal
  Press(RecordSender::kButtonRecord);
  Capture(2);
  workflow_.reset();  // no normal end
  CreateWorkflow();
  const std::size_t shown = dialogs_.shown.size();

  workflow_->OfferUnfinishedRecording();  // answered Ja
  ASSERT_EQ(dialogs_.shown.size(), shown + 1);
  const DialogRequest& question = dialogs_.shown.back();
  EXPECT_EQ(question.buttons, DialogButtons::kYesNo);
  EXPECT_EQ(question.text.rfind("Eine nicht abgeschlossene Aufnahme vom ", 0), 0U);
  EXPECT_TRUE(question.text.ends_with(" (0:00 Min.) wurde gefunden. Wiederherstellen?"))
      << question.text;
  EXPECT_EQ(ReadWholeFile(paths_.temp_recording),
            WavImage(Bytes(tone.begin(), tone.begin() + 5000)));
  EXPECT_EQ(s().SampleCount, 5000);
  EXPECT_FALSE(s().BufferPristine);
  EXPECT_EQ(c().LabelSmpsRecorded, RecordedTimeText(RecordedMilliseconds(5000, 11025)));
  EXPECT_EQ(c().ButtonRecord.caption, "&2. Weiter" + std::string(kLineBreak) + "aufnehmen");
  EXPECT_TRUE(c().ButtonComprDecomprAndPlay.enabled);

  // "Weiter aufnehmen" continues it; it stays protected until a normal end.
  RecordAndPause(1);
  EXPECT_EQ(ReadWholeFile(paths_.temp_recording),
            WavImage(Bytes(tone.begin(), tone.begin() + 6000)));
  EXPECT_TRUE(fs::exists(journal));
  options_.ConfirmReset = true;
  EXPECT_TRUE(workflow_->ButtonResetClick(ResetSender::kButtonReset));
  EXPECT_EQ(dialogs_.shown.back().text, "Die letzte Aufnahme löschen?");
  EXPECT_FALSE(fs::exists(journal));
}

TEST_F(RecordingWorkflowTest, ADeclinedUnfinishedRecordingIsDiscarded) {
  std::tm started = FixedLocalTime();
  Bytes journal = JournalHeaderBytes({11025, std::mktime(&started), 0});
  AppendBytes(journal, JournalChunk(Bytes(11025 * 75, 150)));
  WriteFileAtomically(JournalPath(paths_.temps_folder), journal);
  dialogs_.answers.push_back(DialogAnswer::kNo);

  workflow_->OfferUnfinishedRecording();
  ASSERT_EQ(dialogs_.shown.size(), 1U);
  EXPECT_EQ(dialogs_.shown[0].text,
            "Eine nicht abgeschlossene Aufnahme vom 02.01.2024 03:04 (1:15 Min.) wurde gefunden. "
            "Wiederherstellen?");
  EXPECT_FALSE(fs::exists(JournalPath(paths_.temps_folder)));
  EXPECT_TRUE(s().BufferPristine);
  EXPECT_TRUE(workflow_->PcmStream().empty());
  workflow_->OfferUnfinishedRecording();
  EXPECT_EQ(dialogs_.shown.size(), 1U);
}

TEST_F(RecordingWorkflowTest, AnUnreadableJournalIsKeptAsideAndReportedOnce) {
  const Bytes garbage = {'n', 'o', ' ', 'j', 'o', 'u', 'r', 'n', 'a', 'l'};
  WriteFileAtomically(JournalPath(paths_.temps_folder), garbage);
  workflow_->OfferUnfinishedRecording();
  workflow_->OfferUnfinishedRecording();
  ASSERT_EQ(dialogs_.shown.size(), 1U);
  std::vector<fs::path> kept;
  for (const auto& entry : fs::directory_iterator(paths_.temps_folder)) {
    if (entry.path().filename().string().starts_with("Recovery-")) kept.push_back(entry.path());
  }
  ASSERT_EQ(kept.size(), 1U);
  EXPECT_EQ(kept[0].extension(), ".raw");
  EXPECT_EQ(ReadWholeFile(kept[0]), garbage);
  EXPECT_NE(dialogs_.shown[0].text.find(kept[0].string()), std::string::npos);
  EXPECT_TRUE(s().BufferPristine);

  // A journal at a rate that is neither recorded nor played is kept aside the same way.
  Bytes odd_rate = JournalHeaderBytes({500, 0, 0});
  AppendBytes(odd_rate, JournalChunk(Bytes(1000, 150)));
  WriteFileAtomically(JournalPath(paths_.temps_folder), odd_rate);
  workflow_->OfferUnfinishedRecording();
  ASSERT_EQ(dialogs_.shown.size(), 2U);
  EXPECT_EQ(dialogs_.shown[1].icon, DialogIcon::kWarning);
  EXPECT_NE(dialogs_.shown[1].text.find("Abtastrate (500 Hz)"), std::string::npos);
  EXPECT_EQ(RecoveryFiles(paths_.temps_folder).size(), 2U);
  EXPECT_FALSE(fs::exists(JournalPath(paths_.temps_folder)));
  EXPECT_TRUE(s().BufferPristine);
}

// A journal at a rate the player plays but the recorder no longer records (the setting changed)
// is restored to be compressed and sent, but not continued at the other rate.
TEST_F(RecordingWorkflowTest, AJournalAtAnotherPlayableRateIsRestoredButNotContinued) {
  Bytes other_rate = JournalHeaderBytes({8000, 0, 0});
  AppendBytes(other_rate, JournalChunk(Bytes(1000, 150)));
  WriteFileAtomically(JournalPath(paths_.temps_folder), other_rate);
  workflow_->OfferUnfinishedRecording();
  ASSERT_EQ(dialogs_.shown.size(), 1U);
  EXPECT_EQ(dialogs_.shown[0].buttons, DialogButtons::kYesNo);
  EXPECT_EQ(s().CurrentSampleRate, 8000);
  EXPECT_EQ(s().SampleCount, 1000);
  EXPECT_FALSE(c().ButtonRecord.enabled);
  EXPECT_TRUE(c().ButtonComprDecomprAndPlay.enabled);
}

// A journal is read while it lies aside as Recovery-..., so one that kills the program on the way
// is not met again at every start. Restored, it is put back and goes on: no sample is written
// again, and a part of a chunk the disk got only in part is dropped.
TEST_F(RecordingWorkflowTest, ARestoredJournalIsSetAsideWhileReadAndThenReused) {
  const std::vector<std::uint8_t> tone = Tone(20000);
  const fs::path journal = JournalPath(paths_.temps_folder);
  RecordAndPause(2);
  workflow_.reset();  // no normal end
  const Bytes whole = ReadWholeFile(journal);
  Bytes with_cut_chunk = whole;
  AppendBytes(with_cut_chunk, ByteSpan(JournalChunk(Bytes(500, 7))).first(100));
  WriteFileAtomically(journal, with_cut_chunk);

  LookingDialogs looking;
  bool journal_in_place = true;
  std::size_t kept_aside = 0;
  looking.on_show = [&] {
    journal_in_place = fs::exists(journal);
    kept_aside = RecoveryFiles(paths_.temps_folder).size();
  };
  workflow_dialogs_ = &looking;
  CreateWorkflow();
  workflow_->OfferUnfinishedRecording();  // answered Ja
  ASSERT_EQ(looking.shown.size(), 1U);
  EXPECT_FALSE(journal_in_place);
  EXPECT_EQ(kept_aside, 1U);
  EXPECT_EQ(s().SampleCount, 2000);
  EXPECT_TRUE(RecoveryFiles(paths_.temps_folder).empty());
  EXPECT_EQ(ReadWholeFile(journal), whole);

  Press(RecordSender::kButtonRecord);
  Capture(1);
  workflow_.reset();  // killed again
  const std::optional<JournalContents> read = ReadJournal(ReadWholeFile(journal));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->samples, Bytes(tone.begin(), tone.begin() + 3000));
}

// The disk fills while a recording is continued. Neither the stop nor step 3 lets the older
// TempRecording.wav replace the longer recording in memory, and the journal stays until the
// recording is safely written.
TEST_F(RecordingWorkflowTest, AContinuedRecordingWhoseWavCannotBeWrittenKeepsEverySample) {
  const std::vector<std::uint8_t> tone = Tone(20000);
  const fs::path journal = JournalPath(paths_.temps_folder);
  RecordAndPause(3);
  {
    testing::FileSizeLimit disk_full(4500);  // TempRecording.wav of 3000 samples fits, no more
    ASSERT_TRUE(disk_full.applied());
    RecordAndPause(3);
    ASSERT_EQ(dialogs_.shown.size(), 1U);
    EXPECT_EQ(dialogs_.shown[0].icon, DialogIcon::kError);
    EXPECT_NE(dialogs_.shown[0].text.find(Quoted(paths_.temp_recording)), std::string::npos);
    EXPECT_FALSE(c().ButtonAndPlayOrig.enabled);  // it would play the older file

    workflow_->ButtonComprDecomprAndPlayClick();  // TempCompressed.wav does not fit either
    ASSERT_EQ(dialogs_.shown.size(), 2U);
    EXPECT_NE(dialogs_.shown[1].text.find(Quoted(paths_.temp_compressed)), std::string::npos);
    EXPECT_EQ(Decompress(workflow_->CompressedStream(), InitCodecTables()).SampleCount, 6000);
    EXPECT_TRUE(c().ButtonCreateOpenMail.enabled);  // step 4 sends it from memory
    EXPECT_TRUE(fs::exists(journal));

    // Continued again, still from memory; the stop reports once more.
    Press(RecordSender::kButtonRecord);
    Capture(1);
    Press(RecordSender::kButtonRecord);
    EXPECT_EQ(dialogs_.shown.size(), 3U);
    EXPECT_TRUE(fs::exists(journal));
  }
  // Space again: step 3 writes the recording, and only then the journal goes.
  workflow_->ButtonComprDecomprAndPlayClick();
  EXPECT_EQ(ReadWholeFile(paths_.temp_recording),
            WavImage(Bytes(tone.begin(), tone.begin() + 7000)));
  EXPECT_EQ(Decompress(workflow_->CompressedStream(), InitCodecTables()).SampleCount, 7000);
  EXPECT_FALSE(fs::exists(journal));
  EXPECT_EQ(dialogs_.shown.size(), 3U);
}

TEST_F(RecordingWorkflowTest, AnUnwritableJournalWarnsAndTheRecordingGoesOn) {
  fs::create_directory(JournalPath(paths_.temps_folder));  // no file can be made there
  Press(RecordSender::kButtonRecord);
  Capture(2);
  EXPECT_EQ(c().PanelBottom, kUnprotectedRecordingText);
  Press(RecordSender::kButtonRecord);
  const std::vector<std::uint8_t> tone = Tone(2000);
  EXPECT_EQ(ReadWholeFile(paths_.temp_recording), WavImage(Bytes(tone.begin(), tone.end())));
  EXPECT_TRUE(dialogs_.shown.empty());
}

}  // namespace
}  // namespace lorix

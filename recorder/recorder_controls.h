#pragma once

// What the workflow part of the recorder's main window shows, as plain data: for every button
// and step tip its enabled and pressed state, caption and hint, and the texts of the labels.
// UpdateControls derives the state-dependent parts from the workflow state; the handlers set
// the labels they own. The window only paints this and routes its events to the workflow.

#include <cstddef>
#include <cstdint>
#include <string>

namespace lorix {

// Line breaks inside captions and hints; the window turns them into multi-line captions.
inline constexpr const char* kLineBreak = "\r\n";

struct ControlState {
  bool enabled = true;
  bool pressed = false;
  std::string caption;
  std::string hint;
};

// A step tip ("1." .. "4."): enabled ones have the tooltip background, disabled ones are grey
// (128, 128, 128).
struct TipPanel {
  bool enabled = true;
  std::string caption;
  std::string hint;
};

struct RecorderControls {
  // Step 1: level display on and off. The button shows a glyph only.
  ControlState ButtonRecordLevelOnOff;
  TipPanel PanelTipRecordLevelOnOff{true, "1.", "Schritt Nr.1:  Aufnahme-Pegel einstellen"};
  TipPanel PanelTipRecordLevelOnOffMicro{true, "1.", "Schritt Nr.1:  Aufnahme-Pegel einstellen"};
  // Step 2: record, pause, continue.
  ControlState ButtonRecord;
  TipPanel PanelTipRecord{true, "2.", "Schritt Nr.2:  Aufnahme starten und stoppen"};
  // Step 3: compress and listen.
  ControlState ButtonComprDecomprAndPlay;
  TipPanel PanelTipComprDecomprAndPlay{true, "3.",
                                       "Schritt Nr.3:  Datei komprimieren, evtl. anhören"};
  // Step 4: build the attachment.
  ControlState ButtonCreateOpenMail{true, false, "&4. Fertigstellen ", ""};
  TipPanel PanelTipCreateOpenMail{true, "4.",
                                  "Schritt Nr.4:  Audio-Mail-Anhang (und neue Mail) erstellen !"};

  // Further actions, with the two-line captions the running window gives them.
  ControlState ButtonAndPlayOrig{true, false, "&unkomprimiert \r\nanhören",
                                 "LORIX-Datei anhören (prüfen)"};
  ControlState ButtonAndPlay{true, false, "   komprimiert \r\nan&hören",
                             "LORIX-Datei anhören (prüfen)"};
  ControlState ButtonReset{true, false, "Aufnahme \r\n&zurücksetzen",
                           "Neue Aufnahme starten / Alles zurücksetzen"};
  // Play the compressed version right after step 3.
  bool CBAndPlayLRXFile = true;

  // Playback block.
  ControlState ButtonPlay{true, false, "", "Wiedergabe"};
  ControlState ButtonPause{true, false, "", "Pause"};
  ControlState ButtonStop{true, false, "", "Stop"};
  ControlState ScrollbarPlay{true, false, "", "Start-Position einstellen!"};

  // Expert file buttons and their row.
  ControlState ButtonSaveLRXFile{true, false, "als LRX(!)-Datei speichern", ""};
  ControlState ButtonDecompress{true, false, "<= Dekomprimieren <=", ""};
  ControlState ButtonGraphLRX{true, false, "LRX-Grafik", ""};
  ControlState ButtonSavePCMFile{true, false, "als PCM(WAV)-Datei speichern", ""};
  ControlState ButtonCompress{true, false, "=> Komprimieren =>", ""};
  ControlState ButtonGraphPCM{true, false, "PCM-Grafik", ""};
  ControlState ButtonShowMSINFofMail{true, false, "Infos im\r\nAnhang",
                                     "Infos im LORIX-Mail-Anhang anzeigen"};
  bool PanelButtons_enabled = true;

  // Labels of the recording block and the file-info block.
  std::string LabelSmpsRecorded = " [ 0.00 Sek. ] ";
  std::string LabelRecordedOrLoaded = "Aufnahme/Geladene Datei: ";
  std::string LabelRecordedWAV_File = "(Recorded-WAV-File)";
  std::string LabelKBExpectedLRX = " [ 0 kB ] ";
  std::string LabelLoadedFile = "(Loaded-File)";
  std::string LabelFreq;
  std::string LabelMSLRXInfo;
  std::string LabelMSPCMInfo;
  std::string LabelPCMInfo;

  // Compression block.
  int TBCompressLevel = 3;
  int TBMuteLevel = 4;
  std::string LabelCompressLevel;
  std::string LabelQuality;
  std::string LabelMuteLevel;
  std::string LabelMutePercent = "(wenn unter 10 %  Aussteuerung)";

  // The level meter's position; it may fall below 0 during silence.
  std::int32_t DbMeterRecordLevel = 0;

  // Shown over the window while compressing and decompressing.
  bool PanelWait_visible = false;
  std::string PanelWait = "Moment bitte ...";
  std::string PanelBottom = "Status";

  // The main window's caption, set when a file is handed over.
  std::string Caption;
};

// What UpdateControls derives the window from.
struct ControlInputs {
  bool LevelMeterOn = false;
  bool RecordingActive = false;
  bool PlaybackActive = false;
  bool PlaybackPaused = false;
  int LoadedFileKind = 0;
  std::int32_t CurrentSampleRate = 0;
  std::int32_t SampleCount = 0;
  std::int64_t AttachmentOverhead = 0;
  std::size_t pcm_stream_size = 0;
  std::size_t compressed_stream_size = 0;
  // What an attachment takes of CompressedStream: the payload and its header. A loaded
  // attachment's CompressedStream is the whole file, of which only the stream is re-packed.
  std::int64_t attachment_stream_size = 0;
  std::size_t info_stream_size = 0;
  // The compressed stream no longer matches the recording (it was changed after step 3).
  bool compressed_stale = false;
  std::string AttachmentPath;
  std::string AttachmentFileName;
  // What step 4 writes: 0 the attachment, 1 an MP3 file, 2 both; and about the MP3's size.
  int attachment_kind = 0;
  std::int64_t mp3_size_estimate = 0;
  std::string PlayFile;
};

// Enabled states, pressed states, captions and hints of every control that follows the
// workflow state, the size labels, PanelWait hidden and PanelBottom "ok.".
void UpdateControls(const ControlInputs& in, RecorderControls& c);

// "2049 Bytes  (3 KB )": the size in bytes and in KB rounded up.
std::string SizeText(std::size_t size);

}  // namespace lorix

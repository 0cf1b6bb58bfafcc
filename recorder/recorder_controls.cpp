#include "recorder/recorder_controls.h"

#include "recorder/attachment_names.h"

namespace lorix {
namespace {

void Step1(const ControlInputs& in, RecorderControls& c) {
  ControlState& b = c.ButtonRecordLevelOnOff;
  b.enabled = !in.PlaybackActive && !in.RecordingActive;
  b.hint = (!in.LevelMeterOn || in.RecordingActive)
               ? "1. Aufnahme-Pegel einstellen: Peaks bis etwa zum Anfang des Rot-Bereiches"
               : "1. Pegel-Anzeige wieder ausschalten!";
  // Steps 1 and 2 form one toggle group: while recording only step 2 is shown pressed.
  b.pressed = in.LevelMeterOn && !in.RecordingActive;
  c.PanelTipRecordLevelOnOff.enabled = b.enabled;
  c.PanelTipRecordLevelOnOffMicro.enabled = b.enabled;
}

void Step2(const ControlInputs& in, RecorderControls& c) {
  ControlState& b = c.ButtonRecord;
  b.enabled = (in.LoadedFileKind == 0 || in.LoadedFileKind == 2) && !in.PlaybackActive;
  if (in.RecordingActive) {
    b.hint = std::string("2.  PAUSE ") + kLineBreak + "    / STOP    ";
  } else if (in.pcm_stream_size == 0) {
    b.hint = std::string("2. Neu") + kLineBreak + "aufnehmen ";
  } else {
    b.hint = std::string("2. Weiter") + kLineBreak + "aufnehmen";
  }
  b.caption = "&" + b.hint;
  b.pressed = in.RecordingActive;
  c.PanelTipRecord.enabled = b.enabled;
}

void Step3(const ControlInputs& in, RecorderControls& c) {
  ControlState& b = c.ButtonComprDecomprAndPlay;
  b.enabled = in.RecordingActive ||
              ((c.LabelRecordedWAV_File.size() > 3 || in.PlaybackActive) && !in.LevelMeterOn);
  if (in.PlaybackActive) {
    b.hint = "3. STOP Wiederg.!";
  } else if (c.CBAndPlayLRXFile) {
    b.hint = std::string("3. Komprimieren") + kLineBreak + "und anhören";
  } else {
    b.hint = "3. Komprimieren";
  }
  b.caption = "&" + b.hint;
  c.PanelTipComprDecomprAndPlay.enabled = b.enabled;
}

void Step4(const ControlInputs& in, RecorderControls& c) {
  ControlState& b = c.ButtonCreateOpenMail;
  b.enabled = in.compressed_stream_size > 0 && in.AttachmentPath.size() >= 4 &&
              !in.compressed_stale && !in.PlaybackActive && !in.RecordingActive && !in.LevelMeterOn;
  if (!in.AttachmentPath.empty()) {
    const std::int64_t size = in.attachment_stream_size + in.AttachmentOverhead;
    const std::string program = "Mail-Anhang (" + std::to_string(size / 1024) + " KB)";
    const std::string audio =
        "MP3-Audiodatei (ca. " + std::to_string(in.mp3_size_estimate / 1024 + 1) + " KB)";
    const std::string mp3_name = Mp3PathFor(in.AttachmentFileName);
    if (in.attachment_kind == 1) {
      b.hint = "4. " + audio + " erstellen:  !!!" + kLineBreak + mp3_name;
    } else if (in.attachment_kind == 2) {
      b.hint = "4. " + program + " und " + audio + " erstellen:  !!!" + kLineBreak +
               in.AttachmentFileName + ", " + mp3_name;
    } else {
      // Many mail services refuse executables; the sender learns it before sending, not from a
      // bounce, and learns what gets through.
      b.hint = "4. " + program + " erstellen:  !!!" + kLineBreak + in.AttachmentFileName +
               kLineBreak +
               "Achtung: Viele Mail-Dienste, auch die größten Webmail-Dienste, weisen "
               "Programm-Anhänge zurück." +
               kLineBreak + "Anhang als \"Audiodatei (.MP3)\" erreicht jeden Empfänger.";
    }
  } else {
    b.hint = "4. Audio-Mail-Anhang erstellen !";
  }
  c.PanelTipCreateOpenMail.enabled = b.enabled;
  c.ButtonAndPlay.enabled = b.enabled;
}

void Playback(const ControlInputs& in, RecorderControls& c) {
  const bool devices_free = !in.RecordingActive && !in.LevelMeterOn;
  c.ButtonPlay.enabled = in.PlayFile.size() >= 4 && devices_free;
  c.ButtonPlay.hint = in.PlaybackPaused ? "Weiter" : in.PlaybackActive ? "Da Capo!" : "Wiedergabe";
  c.ButtonPlay.pressed = in.PlaybackActive && !in.PlaybackPaused;
  c.ButtonPause.enabled = in.PlaybackActive;
  c.ButtonPause.hint = in.PlaybackPaused ? "Weiter" : "Pause";
  c.ButtonPause.pressed = in.PlaybackPaused;
  c.ButtonStop.enabled = in.PlaybackActive && devices_free;
  c.ButtonStop.pressed = false;
  c.ScrollbarPlay.enabled = in.PlayFile.size() > 3;
}

void ExpertButtons(const ControlInputs& in, RecorderControls& c) {
  const bool compressed = in.compressed_stream_size > 0;
  const bool pcm = in.pcm_stream_size > 0;
  c.ButtonSaveLRXFile.enabled = compressed;
  c.ButtonDecompress.enabled = compressed;
  c.ButtonGraphLRX.enabled = compressed;
  c.ButtonSavePCMFile.enabled = pcm;
  c.ButtonCompress.enabled = pcm;
  c.ButtonGraphPCM.enabled = pcm;
  c.ButtonShowMSINFofMail.enabled = in.info_stream_size > 0;
  c.PanelButtons_enabled = true;
}

}  // namespace

std::string SizeText(std::size_t size) {
  return std::to_string(size) + " Bytes  (" + std::to_string((size + 1023) / 1024) + " KB )";
}

void UpdateControls(const ControlInputs& in, RecorderControls& c) {
  c.PanelWait_visible = false;
  // Only a recording or a loaded WAV has an uncompressed version to listen to.
  c.ButtonAndPlayOrig.enabled =
      in.SampleCount > 0 && !in.RecordingActive && c.LabelRecordedWAV_File.size() > 3;
  Step1(in, c);
  Step2(in, c);
  Step3(in, c);
  Step4(in, c);
  Playback(in, c);
  c.ButtonReset.enabled = in.pcm_stream_size > 0;
  c.LabelFreq = "(" + std::to_string(in.CurrentSampleRate) + " Hz)";
  ExpertButtons(in, c);
  c.PanelBottom = "ok.";
  c.LabelMSLRXInfo = "LRX: " + SizeText(in.compressed_stream_size);
  c.LabelMSPCMInfo = "WAV: " + SizeText(in.pcm_stream_size);
  c.LabelPCMInfo = std::to_string(in.SampleCount) + " Smps.";
}

}  // namespace lorix

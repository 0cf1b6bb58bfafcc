#include "recorder/form_commands.h"

#include "recorder/help_page.h"

namespace lorix {
namespace {

using C = FormControl;
using M = MenuEntry;

void Run(const std::function<void()>& command) {
  if (command) command();
}

void Start(const WindowCommands& window, SystemProgram program) {
  if (window.start_program) window.start_program(program);
}

void Help(const WindowCommands& window, const char* page) {
  if (window.open_help) window.open_help(page);
}

}  // namespace

bool FormControlClick(RecorderApp& app, FormControl id, bool checked,
                      const WindowCommands& window) {
  RecordingWorkflow& w = app.workflow();
  switch (id) {
    case C::kButtonRecordLevelOnOff:
      w.ButtonRecordClick(RecordSender::kButtonRecordLevelOnOff);
      return true;
    case C::kPanelTipRecordLevelOnOff:
      w.ButtonRecordClick(RecordSender::kPanelTipRecordLevelOnOff);
      return true;
    case C::kPanelTipRecordLevelOnOffMicro:
      w.ButtonRecordClick(RecordSender::kPanelTipRecordLevelOnOffMicro);
      return true;
    case C::kButtonRecord:
      w.ButtonRecordClick(RecordSender::kButtonRecord);
      return true;
    case C::kPanelTipRecord:
      w.ButtonRecordClick(RecordSender::kPanelTipRecord);
      return true;
    case C::kButtonComprDecomprAndPlay:
    case C::kPanelTipComprDecomprAndPlay:
      w.ButtonComprDecomprAndPlayClick();
      return true;
    case C::kButtonCreateOpenMail:
    case C::kPanelTipCreateOpenMail:
      w.ButtonCreateOpenMailClick();
      return true;
    case C::kButtonAndPlayOrig:
      w.ButtonAndPlayOrigClick();
      return true;
    case C::kButtonAndPlay:
      w.ButtonAndPlayClick();
      return true;
    case C::kButtonReset:
      w.ButtonResetClick(ResetSender::kButtonReset);
      return true;
    case C::kButtonExplorer:
      Start(window, SystemProgram::kExplorer);
      return true;
    case C::kButtonWinMixerRecord:
      Start(window, SystemProgram::kMixerRecord);
      return true;
    case C::kButtonWinMixerPlay:
      Start(window, SystemProgram::kMixerPlay);
      return true;
    case C::kCBAndPlayLRXFile:
      w.CBAndPlayLRXFileClick(checked);
      return true;
    case C::kCBMikeToOutEnabled:
      app.CBMikeToOutEnabledClick(checked);
      return true;
    case C::kRBMailAppNo:
      app.RBMailAppClick(MailMethod::kNone);
      return true;
    case C::kRBMailAppMAPI:
      app.RBMailAppClick(MailMethod::kMapi);
      return true;
    case C::kRBMailAppShell:
      app.RBMailAppClick(MailMethod::kSystem);
      return true;
    case C::kRBAttachmentProgram:
      app.RBAttachmentKindClick(AttachmentChoice::kProgram);
      return true;
    case C::kRBAttachmentAudio:
      app.RBAttachmentKindClick(AttachmentChoice::kAudio);
      return true;
    case C::kRBAttachmentBoth:
      app.RBAttachmentKindClick(AttachmentChoice::kBoth);
      return true;
    case C::kButtonMailAppHelp:
      Help(window, kMailHelpPageName);
      return true;
    case C::kButtonPlay:
      w.ButtonPlayClick();
      return true;
    case C::kButtonPause:
      w.ButtonPauseClick();
      return true;
    case C::kButtonStop:
      w.ButtonStopClick();
      return true;
    case C::kButtonStartApplication:
      w.playback().ButtonStartApplicationClick();
      return true;
    case C::kButtonLoadPCMFile:
      w.ButtonLoadSaveAnyFileClick(FileButton::kLoadPCMFile);
      return true;
    case C::kButtonLoadLRXFile:
      w.ButtonLoadSaveAnyFileClick(FileButton::kLoadLRXFile);
      return true;
    case C::kButtonSaveLRXFile:
      w.ButtonLoadSaveAnyFileClick(FileButton::kSaveLRXFile);
      return true;
    case C::kButtonSavePCMFile:
      w.ButtonLoadSaveAnyFileClick(FileButton::kSavePCMFile);
      return true;
    case C::kButtonCompress:
      w.ButtonCompDecompClick(true);
      return true;
    case C::kButtonDecompress:
      w.ButtonCompDecompClick(false);
      return true;
    case C::kButtonShowMSINFofMail:
      w.ButtonShowMSINFofMailClick();
      return true;
    default:
      return false;
  }
}

bool FormTrackBarChange(RecorderApp& app, FormControl id, int position) {
  switch (id) {
    case C::kTBCompressLevel:
      app.workflow().TBCompressLevelChange(position);
      return true;
    case C::kTBMuteLevel:
      app.workflow().TBMuteLevelChange(position);
      return true;
    case C::kScrollBarRecordLevel:
      app.TrackbarAnyChange(VolumeSlider::kScrollBarRecordLevel, position);
      return true;
    case C::kScrollBarMikeOut:
      app.TrackbarAnyChange(VolumeSlider::kScrollBarMikeOut, position);
      return true;
    case C::kScrollbarVolWaveout:
      app.TrackbarAnyChange(VolumeSlider::kScrollbarVolWaveout, position);
      return true;
    case C::kScrollBarVolSpeakers:
      app.TrackbarAnyChange(VolumeSlider::kScrollBarVolSpeakers, position);
      return true;
    default:
      return false;
  }
}

bool MenuEntryClick(RecorderApp& app, MenuEntry id, bool checked, const WindowCommands& window) {
  switch (id) {
    case M::kMDBeenden:
      Run(window.close);
      return true;
    case M::kMIOnStartSelectMike:
      app.MIAnyCheckableClick(OptionItem::kOnStartSelectMike, !checked);
      return true;
    case M::kMIOnStartSetMinVols:
      app.MIAnyCheckableClick(OptionItem::kOnStartSetMinVols, !checked);
      return true;
    case M::kMIConfirmReset:
      app.MIAnyCheckableClick(OptionItem::kConfirmReset, !checked);
      return true;
    case M::kMIAutoSavePrefs:
      app.MIAnyCheckableClick(OptionItem::kAutoSavePrefs, !checked);
      return true;
    case M::kMAPanelRecord:
      app.MABlockClick(Block::kRecord);
      return true;
    case M::kMAPanelPlay:
      app.MABlockClick(Block::kPlay);
      return true;
    case M::kMAPanelOptionsCompress:
      app.MABlockClick(Block::kOptionsCompress);
      return true;
    case M::kMAPanelPlayStatus:
      app.MABlockClick(Block::kPlayStatus);
      return true;
    case M::kMAPanelSpecials:
      app.MABlockClick(Block::kSpecials);
      return true;
    case M::kMAFormLorixSK:
      app.MAFormLorixSKClick();
      return true;
    case M::kMAAlwaysOnTop:
      app.MAAlwaysOnTopClick();
      return true;
    case M::kMTLoadRec:
      app.workflow().MTLoadSaveRecClick(true);
      return true;
    case M::kMTSaveRec:
      app.workflow().MTLoadSaveRecClick(false);
      return true;
    case M::kMSShowWinMixerRecord:
      Start(window, SystemProgram::kMixerRecord);
      return true;
    case M::kMSShowWinMixerPlay:
      Start(window, SystemProgram::kMixerPlay);
      return true;
    case M::kMSShowExplorer:
      Start(window, SystemProgram::kExplorer);
      return true;
    case M::kMSExpertMode:
      app.MSExpertModeClick();
      return true;
    case M::kMIHilfe:
      Help(window, kHelpPageName);
      return true;
    case M::kMIInfo:
      Run(window.show_about);
      return true;
    default:
      return false;
  }
}

}  // namespace lorix

#include "recorder/window/main_window.h"

#include "recorder/window/help_page.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QSignalBlocker>
#include <QUrl>
#include <QVBoxLayout>
#include <array>
#include <utility>

#include "audio/mixer_setup.h"
#include "codec/version.h"
#include "desktop/system_tools.h"
#include "recorder/settings_file.h"
#include "recorder/window/compress_block.h"
#include "recorder/window/file_info_block.h"
#include "recorder/window/form_key_filter.h"
#include "recorder/window/hint_timing.h"
#include "recorder/window/main_window_paint.h"
#include "recorder/window/play_block.h"
#include "recorder/window/record_block.h"

namespace lorix {
namespace {

constexpr const char* kMessageCaption = "LORIX";

}  // namespace

MainWindow::MainWindow(MainWindowParts parts, QWidget* parent)
    : QMainWindow(parent),
      engine_(parts.engine),
      dialogs_(parts.dialogs),
      settings_(parts.settings),
      mixer_(parts.mixer),
      settings_file_(std::move(parts.settings_file)),
      program_name_(std::move(parts.program_name)),
      lorixs_folder_(parts.paths.lorixs_folder),
      mail_handoff_(LoadMailTexts(parts.paths), parts.paths.program_folder, parts.dialogs,
                    std::move(parts.mail)),
      start_time_(parts.start_time),
      window_system_(std::move(parts.window_system)) {
  // The timer's device refresh of the playback also moves the volume sliders.
  WavePlayback::Services playback = std::move(parts.playback);
  playback.refresh_devices = [this, given = std::move(playback.refresh_devices)] {
    if (given) given();
    RefreshMixerControls();
  };
  WorkflowHooks hooks;
  hooks.repaint_now = [this] { RepaintNow(); };
  hooks.focus = [this](FocusTarget target) { Focus(target); };
  hooks.choose_file = std::move(parts.choose_file);
  hooks.open_file = std::move(parts.open_file);
  hooks.show_play_block = [this] { SetBlockVisible(Block::kPlay, true); };
  hooks.open_mail = [this](const MailAttachment& attachment) {
    mail_handoff_.OpenMailProgram(CheckedMailMethod(), attachment);
  };
  workflow_ = std::make_unique<RecordingWorkflow>(engine_, dialogs_, settings_.Options,
                                                  std::move(parts.paths), std::move(playback),
                                                  std::move(hooks), mixer_);
  // Every buffer the device hands back moves the meter and the recording labels at once.
  engine_.OnSoundData = [this](const std::uint8_t* data, std::int32_t count) {
    workflow_->ProcessSoundData(data, count);
    Paint();
  };

  ShowHintsAtOnce();
  caption_ = TitleText() + QStringLiteral("  (Build ") + QString::fromLatin1(kFileVersion) +
             QStringLiteral(")");
  setWindowTitle(caption_);
  BuildWidgets();
  Connect();
  menu_ = new MainMenu(*this);
  ConnectMenu();
  // As when a menu opens: a menu key sees what a click on the menu would see.
  const auto menu_item = [this](const QKeySequence& keys) {
    UpdateMenus();
    return menu_->ItemForKeys(keys);
  };
  new FormKeyFilter(*this, {.space = [this] { SpaceBarPressed(); },
                            .one = [this] { StepOneKeyPressed(); },
                            .menu_item = menu_item});
  setAcceptDrops(true);
  Timer1_.setInterval(100);
  connect(&Timer1_, &QTimer::timeout, this, &MainWindow::Timer1Timer);

  // As at the creation of the form: a silent reset, the compression labels, the focus.
  workflow_->SetAttachmentOverhead(parts.attachment_overhead);
  workflow_->ButtonResetClick(ResetSender::kNone);
  workflow_->UpdateControls();
  workflow_->TBCompressLevelChange(workflow_->controls().TBCompressLevel);
  Paint();
  Focus(FocusTarget::kScrollBarRecordLevel);
}

MainWindow::~MainWindow() {
  // The engine outlives the window; its buffers must not reach a workflow that is gone.
  engine_.OnSoundData = nullptr;
}

QString MainWindow::TitleText() const {
  return QString::fromStdString(program_name_) + QStringLiteral(" V.") +
         QString::fromLatin1(ProgramVersion);
}

void MainWindow::BuildWidgets() {
  auto* central = Named(new QWidget(this), "FormStart");
  setCentralWidget(central);

  PanelTitle_ = Named(new QLabel(TitleText(), central), "PanelTitle");
  PanelTitle_->setAlignment(Qt::AlignCenter);
  PanelTitle_->setMinimumHeight(34);
  QFont title_font = PanelTitle_->font();
  title_font.setBold(true);
  title_font.setPointSizeF(title_font.pointSizeF() * 1.5);
  PanelTitle_->setFont(title_font);
  PanelTitle_->setStyleSheet(QStringLiteral(
      "QLabel#PanelTitle { color: white; background: qlineargradient(x1:0, y1:0, x2:1, y2:0, "
      "stop:0 #16365c, stop:1 #3a6ea5); }"));

  PanelClient_ = Named(new QWidget(central), "PanelClient");
  PanelRecord_ = new RecordBlock(PanelClient_);
  PanelOptionsCompress_ = new CompressBlock(PanelClient_);
  PanelPlay_ = new PlayBlock(PanelClient_);
  PanelPlayStatus_ = new PlayStatusBlock(PanelClient_);
  PanelSpecials_ = new SpecialsBlock(PanelClient_);
  auto* blocks = new QVBoxLayout(PanelClient_);
  blocks->setContentsMargins(4, 4, 4, 4);
  blocks->setSpacing(4);
  for (QWidget* block :
       {static_cast<QWidget*>(PanelRecord_), static_cast<QWidget*>(PanelOptionsCompress_),
        static_cast<QWidget*>(PanelPlay_), static_cast<QWidget*>(PanelPlayStatus_),
        static_cast<QWidget*>(PanelSpecials_)}) {
    blocks->addWidget(block);
  }
  PanelOptionsCompress_->hide();
  PanelPlayStatus_->hide();
  PanelSpecials_->hide();
  auto* description = new QAction(QStringLiteral("Parameter-Beschreibung"), PanelClient_);
  connect(description, &QAction::triggered, this, &MainWindow::MPDescParamsClick);
  PanelClient_->addAction(description);
  PanelClient_->setContextMenuPolicy(Qt::ActionsContextMenu);

  PanelBottom_ = Named(new QLabel(central), "PanelBottom");
  PanelBottom_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  PanelBottom_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  PanelBottom_->setContentsMargins(4, 1, 4, 1);

  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(PanelTitle_);
  column->addWidget(PanelClient_);
  column->addWidget(PanelBottom_);

  // Shown over the blocks while compressing and decompressing.
  PanelWait_ = Named(new QLabel(QStringLiteral("Moment bitte ..."), central), "PanelWait");
  PanelWait_->setAlignment(Qt::AlignCenter);
  PanelWait_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  PanelWait_->setLineWidth(2);
  QFont wait_font = PanelWait_->font();
  wait_font.setBold(true);
  wait_font.setPointSizeF(wait_font.pointSizeF() * 1.6);
  PanelWait_->setFont(wait_font);
  PanelWait_->setStyleSheet(QStringLiteral("QLabel#PanelWait { background: #fff3b0; }"));
  PanelWait_->hide();

  // The window takes exactly the size of the visible blocks.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void MainWindow::Connect() {
  RecordBlock& r = *PanelRecord_;
  const auto route = [this](auto handler) {
    return [this, handler] {
      handler(*workflow_);
      Paint();
    };
  };
  const auto record = [route](RecordSender sender) {
    return route([sender](RecordingWorkflow& w) { w.ButtonRecordClick(sender); });
  };
  connect(r.ButtonRecordLevelOnOff, &QPushButton::clicked, this,
          record(RecordSender::kButtonRecordLevelOnOff));
  connect(r.PanelTipRecordLevelOnOff, &StepTip::clicked, this,
          record(RecordSender::kPanelTipRecordLevelOnOff));
  connect(r.PanelTipRecordLevelOnOffMicro, &StepTip::clicked, this,
          record(RecordSender::kPanelTipRecordLevelOnOffMicro));
  connect(r.ButtonRecord, &QPushButton::clicked, this, record(RecordSender::kButtonRecord));
  connect(r.PanelTipRecord, &StepTip::clicked, this, record(RecordSender::kPanelTipRecord));
  const auto step3 = route([](RecordingWorkflow& w) { w.ButtonComprDecomprAndPlayClick(); });
  connect(r.ButtonComprDecomprAndPlay, &QPushButton::clicked, this, step3);
  connect(r.PanelTipComprDecomprAndPlay, &StepTip::clicked, this, step3);
  const auto step4 = route([](RecordingWorkflow& w) { w.ButtonCreateOpenMailClick(); });
  connect(r.ButtonCreateOpenMail, &QPushButton::clicked, this, step4);
  connect(r.PanelTipCreateOpenMail, &StepTip::clicked, this, step4);
  // The choice is stored at once; the hand-off asks the buttons, not the stored number.
  for (QRadioButton* radio : {r.RBMailAppMAPI, r.RBMailAppNo, r.RBMailAppShell}) {
    connect(radio, &QRadioButton::clicked, this, [this] {
      settings_.Options.MailAppStartSelection = static_cast<int>(CheckedMailMethod());
    });
  }
  // Stored at once too; the step-4 hint names what will be written.
  const std::array<std::pair<QRadioButton*, AttachmentChoice>, 3> kinds{
      {{r.RBAttachmentProgram, AttachmentChoice::kProgram},
       {r.RBAttachmentAudio, AttachmentChoice::kAudio},
       {r.RBAttachmentBoth, AttachmentChoice::kBoth}}};
  for (const auto& radio_and_kind : kinds) {
    const AttachmentChoice kind = radio_and_kind.second;
    connect(radio_and_kind.first, &QRadioButton::clicked, this, [this, kind] {
      settings_.Options.AttachmentKind = static_cast<int>(kind);
      workflow_->UpdateControls();
      Paint();
    });
  }
  connect(r.ButtonMailAppHelp, &QPushButton::clicked, this,
          [this] { OpenHelp(kMailHelpPageName); });
  connect(r.ButtonAndPlayOrig, &QPushButton::clicked, this,
          route([](RecordingWorkflow& w) { w.ButtonAndPlayOrigClick(); }));
  connect(r.ButtonAndPlay, &QPushButton::clicked, this,
          route([](RecordingWorkflow& w) { w.ButtonAndPlayClick(); }));
  connect(r.ButtonReset, &QPushButton::clicked, this,
          route([](RecordingWorkflow& w) { w.ButtonResetClick(ResetSender::kButtonReset); }));
  connect(r.CBAndPlayLRXFile, &QCheckBox::clicked, this, [this](bool checked) {
    workflow_->CBAndPlayLRXFileClick(checked);
    Paint();
  });
  // Also for changes made by the mixer refresh: the mixer then gets the same state back.
  connect(r.CBMikeToOutEnabled, &QCheckBox::toggled, this, [this](bool checked) {
    workflow_->CBMikeToOutEnabledClick(checked);
    PanelRecord_->PanelScrollBarMikeOut->setVisible(checked);
  });
  for (QPushButton* button :
       {r.ButtonExplorer, r.ButtonWinMixerRecord, PanelPlay_->ButtonWinMixerPlay}) {
    connect(button, &QPushButton::clicked, this,
            [this, button] { ButtonAnyShellExecuteClick(button); });
  }

  SpecialsBlock& f = *PanelSpecials_;
  const auto file_button = [route](FileButton sender) {
    return route([sender](RecordingWorkflow& w) { w.ButtonLoadSaveAnyFileClick(sender); });
  };
  connect(f.ButtonLoadPCMFile, &QPushButton::clicked, this, file_button(FileButton::kLoadPCMFile));
  connect(f.ButtonLoadLRXFile, &QPushButton::clicked, this, file_button(FileButton::kLoadLRXFile));
  connect(f.ButtonSaveLRXFile, &QPushButton::clicked, this, file_button(FileButton::kSaveLRXFile));
  connect(f.ButtonSavePCMFile, &QPushButton::clicked, this, file_button(FileButton::kSavePCMFile));
  connect(f.ButtonCompress, &QPushButton::clicked, this,
          route([](RecordingWorkflow& w) { w.ButtonCompDecompClick(true); }));
  connect(f.ButtonDecompress, &QPushButton::clicked, this,
          route([](RecordingWorkflow& w) { w.ButtonCompDecompClick(false); }));
  connect(f.ButtonShowMSINFofMail, &QPushButton::clicked, this,
          route([](RecordingWorkflow& w) { w.ButtonShowMSINFofMailClick(); }));

  CompressBlock& o = *PanelOptionsCompress_;
  connect(o.TBCompressLevel, &QSlider::valueChanged, this, [this](int level) {
    workflow_->TBCompressLevelChange(level);
    Paint();
  });
  connect(o.TBMuteLevel, &QSlider::valueChanged, this, [this](int level) {
    workflow_->TBMuteLevelChange(level);
    Paint();
  });

  PlayBlock& p = *PanelPlay_;
  connect(p.ButtonPlay, &QPushButton::clicked, this,
          route([](RecordingWorkflow& w) { w.ButtonPlayClick(); }));
  connect(p.ButtonPause, &QPushButton::clicked, this,
          route([](RecordingWorkflow& w) { w.ButtonPauseClick(); }));
  connect(p.ButtonStop, &QPushButton::clicked, this,
          route([](RecordingWorkflow& w) { w.ButtonStopClick(); }));
  connect(p.ButtonStartApplication, &QPushButton::clicked, this,
          route([](RecordingWorkflow& w) { w.playback().ButtonStartApplicationClick(); }));
  // The start-position slider speaks the track bar's scroll codes: dragging the thumb, then the
  // end of the scroll, which plays from there; a click beside the thumb is a step and an end.
  connect(p.ScrollbarPlay, &QSlider::sliderMoved, this, [this](int position) {
    workflow_->playback().ScrollbarPlayPosScroll(WavePlayback::kScrollThumbTrack, position);
    Paint();
  });
  connect(p.ScrollbarPlay, &QSlider::sliderReleased, this, [this] {
    workflow_->playback().ScrollbarPlayPosScroll(WavePlayback::kScrollEndScroll,
                                                 PanelPlay_->ScrollbarPlay->sliderPosition());
    Paint();
  });
  connect(p.ScrollbarPlay, &QSlider::actionTriggered, this, [this](int action) {
    if (action == QAbstractSlider::SliderMove || action == QAbstractSlider::SliderNoAction) return;
    constexpr int kScrollPageDown = 3;
    const int position = PanelPlay_->ScrollbarPlay->sliderPosition();
    workflow_->playback().ScrollbarPlayPosScroll(kScrollPageDown, position);
    workflow_->playback().ScrollbarPlayPosScroll(WavePlayback::kScrollEndScroll, position);
    Paint();
  });

  ConnectVolumeSlider(r.ScrollBarRecordLevel, VolumeSlider::kScrollBarRecordLevel);
  ConnectVolumeSlider(r.ScrollBarMikeOut, VolumeSlider::kScrollBarMikeOut);
  ConnectVolumeSlider(p.ScrollbarVolWaveout, VolumeSlider::kScrollbarVolWaveout);
  ConnectVolumeSlider(p.ScrollBarVolSpeakers, VolumeSlider::kScrollBarVolSpeakers);
}

MailMethod MainWindow::CheckedMailMethod() const {
  if (PanelRecord_->RBMailAppMAPI->isChecked()) return MailMethod::kMapi;
  if (PanelRecord_->RBMailAppShell->isChecked()) return MailMethod::kSystem;
  return MailMethod::kNone;
}

QRadioButton* MainWindow::MailAppRadioButton(int tag) const {
  switch (static_cast<MailMethod>(tag)) {
    case MailMethod::kNone:
      return PanelRecord_->RBMailAppNo;
    case MailMethod::kSystem:
      return PanelRecord_->RBMailAppShell;
    case MailMethod::kMapi:
      break;
  }
  return PanelRecord_->RBMailAppMAPI;
}

QRadioButton* MainWindow::AttachmentKindRadioButton(AttachmentChoice kind) const {
  switch (kind) {
    case AttachmentChoice::kAudio:
      return PanelRecord_->RBAttachmentAudio;
    case AttachmentChoice::kBoth:
      return PanelRecord_->RBAttachmentBoth;
    case AttachmentChoice::kProgram:
      break;
  }
  return PanelRecord_->RBAttachmentProgram;
}

void MainWindow::ConnectVolumeSlider(QSlider* slider, VolumeSlider which) {
  // Fires for the user's moves and for the refresh alike, as the track bars did.
  connect(slider, &QSlider::valueChanged, this,
          [this, which](int position) { TrackbarAnyChange(which, position); });
}

void MainWindow::Paint() {
  const RecorderControls& c = workflow_->controls();
  const WavePlayback& playback = workflow_->playback();
  PanelRecord_->Paint(c);
  PanelOptionsCompress_->Paint(c);
  PanelPlay_->Paint(c, playback);
  PanelPlayStatus_->Paint(playback);
  PanelSpecials_->Paint(c);
  PanelBottom_->setText(ToQt(c.PanelBottom));
  setWindowTitle(c.Caption.empty() ? caption_ : ToQt(c.Caption));
  if (c.PanelWait_visible) {
    PanelWait_->resize(qMax(240, PanelClient_->width() / 2), 60);
    const QPoint centre = PanelClient_->geometry().center();
    PanelWait_->move(centre.x() - PanelWait_->width() / 2, centre.y() - PanelWait_->height() / 2);
    PanelWait_->raise();
  }
  PanelWait_->setVisible(c.PanelWait_visible);
}

void MainWindow::RepaintNow() {
  Paint();
  // The compression that follows blocks the event loop: the panel is drawn now or never.
  if (PanelWait_->isVisible()) PanelWait_->repaint();
}

void MainWindow::Focus(FocusTarget target) {
  QSlider* slider = target == FocusTarget::kScrollBarRecordLevel
                        ? PanelRecord_->ScrollBarRecordLevel
                        : PanelPlay_->ScrollBarVolSpeakers;
  slider->setFocus();
}

QWidget* MainWindow::BlockWidget(Block block) const {
  switch (block) {
    case Block::kRecord:
      return PanelRecord_;
    case Block::kOptionsCompress:
      return PanelOptionsCompress_;
    case Block::kPlay:
      return PanelPlay_;
    case Block::kPlayStatus:
      return PanelPlayStatus_;
    case Block::kSpecials:
      return PanelSpecials_;
  }
  return PanelRecord_;
}

void MainWindow::SetBlockVisible(Block block, bool visible) {
  BlockWidget(block)->setVisible(visible);
  FitToBlocks();
}

bool MainWindow::BlockVisible(Block block) const {
  return !BlockWidget(block)->isHidden();
}

void MainWindow::FitToBlocks() {
  // Without waiting for the posted layout request, so that the new size holds at once.
  PanelClient_->layout()->activate();
  centralWidget()->layout()->activate();
  layout()->activate();
}

void MainWindow::ShowInformation(const std::string& text) {
  dialogs_.Show({kMessageCaption, text, DialogIcon::kInformation, DialogButtons::kOk});
}

void MainWindow::SetExpertMode(bool on) {
  if (on && !expert_mode_) ShowInformation("Setze Expertenmodus auf EIN !");
  if (!on && expert_mode_) ShowInformation("Setze Expertenmodus auf AUS !");
  if (on && sound_card_window_ != nullptr) sound_card_window_->show();
  menu_->ShowExpertItems(on);
  PanelSpecials_->PanelExpertButtons->setVisible(on);
  expert_mode_ = on;
  FitToBlocks();
}

void MainWindow::WMSecondInstance(const QString& activation_token) {
  const bool activated =
      window_system_.bring_to_front && window_system_.bring_to_front(this, activation_token);
  // The box comes after the window, so that it opens above a window the user can see; it
  // claims the activation only when it has happened or was asked of the compositor.
  ShowInformation(activated
                      ? "Programm \"LORIX\" wurde schon gestartet! Erst-Instanz aktiviert!"
                      : "Programm \"LORIX\" wurde schon gestartet! Dies ist die Erst-Instanz.");
}

void MainWindow::MPDescParamsClick() {
  ShowInformation("Parameter-Übergabe per Aufruf oder \"Drag-and-Drop\":\n" + std::string(47, '=') +
                  "\n");
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // The first activation starts the program, once the window is on the screen.
  if (!app_started_) {
    app_started_ = true;
    QMetaObject::invokeMethod(this, &MainWindow::AppStart, Qt::QueuedConnection);
  }
}

void MainWindow::AppStart() {
  LoadSettings();
  // The mixer as recording and playback need it.
  workflow_->TBMuteLevelChange(PanelOptionsCompress_->TBMuteLevel->value());
  if (mixer_ != nullptr) StartupMixerSetup(*mixer_, MixerStartupFrom(settings_));
  workflow_->CBMikeToOutEnabledClick(PanelRecord_->CBMikeToOutEnabled->isChecked());
  SetStandardWindows();
  UpdateMenus();
  workflow_->ButtonResetClick(ResetSender::kNone);
  // After the settings, before the command line: a recording a crash left behind comes first.
  workflow_->OfferUnfinishedRecording();
  Timer1_.start();
  for (const QString& argument : arguments_) {
    if (argument.toUpper() == QStringLiteral("/X")) {
      SetExpertMode(true);
    } else {
      // The program works in its own folder by now; the user meant the folder of the start.
      const QString path = QDir::cleanPath(QDir(start_folder_).absoluteFilePath(argument));
      workflow_->AddMoreToList(path.toStdString());
    }
  }
  Paint();
}

void MainWindow::LoadSettings() {
  if (settings_file_.empty()) return;
  SettingsParts parts;
  parts.recording_form = sound_card_window_ != nullptr;
  const SettingsFileResult result =
      LoadSaveIniFile(settings_file_, false, settings_, dialogs_, parts);
  if (!result.ok) dialogs_.ShowError(kMessageCaption, result.error);
  ApplySettings();
}

void MainWindow::SaveSettings() {
  if (settings_file_.empty()) return;
  CollectSettings();
  SettingsParts parts;
  parts.recording_form = sound_card_window_ != nullptr;
  const SettingsFileResult result =
      LoadSaveIniFile(settings_file_, true, settings_, dialogs_, parts);
  if (!result.ok) dialogs_.ShowError(kMessageCaption, result.error);
}

void MainWindow::ApplySettings() {
  const MainWindowSettings& w = settings_.WindowStart;
  move(w.Left, w.Top);
  SetBlockVisible(Block::kRecord, w.ShowRecord);
  SetBlockVisible(Block::kOptionsCompress, w.ShowOptionsCompress);
  SetBlockVisible(Block::kPlay, w.ShowPlay);
  SetBlockVisible(Block::kPlayStatus, w.ShowPlayStatus);
  SetBlockVisible(Block::kSpecials, w.ShowSpecials);
  // The window style follows on the next timer tick.
  always_on_top_ = w.AlwaysOnTop;
  if (sound_card_window_ != nullptr) {
    const RecordingFormSettings& sk = settings_.WindowSK;
    sound_card_window_->setGeometry(sk.Left, sk.Top, sk.Width, sk.Height);
    sound_card_window_->setVisible(sk.Visible);
  }
  const RecorderOptions& o = settings_.Options;
  engine_.RecordDeviceId = o.InDevID;
  engine_.RecordSampleRate = o.SKFixedFreq;
  PanelRecord_->CBMikeToOutEnabled->setChecked(o.MikeToOutEnabled);
  if (const std::optional<int> tag = o.MailAppRadioButton())
    MailAppRadioButton(*tag)->setChecked(true);
  if (const std::optional<AttachmentChoice> kind = o.AttachmentKindRadioButton()) {
    AttachmentKindRadioButton(*kind)->setChecked(true);
  } else {
    // No button stands for the stored number; it stays as it is until the user picks one.
    for (QRadioButton* radio : {PanelRecord_->RBAttachmentProgram, PanelRecord_->RBAttachmentAudio,
                                PanelRecord_->RBAttachmentBoth}) {
      radio->setAutoExclusive(false);
      radio->setChecked(false);
      radio->setAutoExclusive(true);
    }
  }
  workflow_->UpdateControls();
  workflow_->CBAndPlayLRXFileClick(o.AndPlayLRXFile);
  // A changed position runs the slider's change handler.
  PanelOptionsCompress_->TBCompressLevel->setValue(o.CompressLevel);
  PanelOptionsCompress_->TBMuteLevel->setValue(o.MuteLevel);
  Paint();
  UpdateMenus();
}

void MainWindow::CollectSettings() {
  MainWindowSettings& w = settings_.WindowStart;
  // A place the window system does not report stays as it was read: the next start on a
  // system that has one opens the window where it was.
  if (window_system_.reports_window_position) {
    w.Left = x();
    w.Top = y();
  }
  w.ShowRecord = BlockVisible(Block::kRecord);
  w.ShowOptionsCompress = BlockVisible(Block::kOptionsCompress);
  w.ShowPlay = BlockVisible(Block::kPlay);
  w.ShowPlayStatus = BlockVisible(Block::kPlayStatus);
  w.ShowSpecials = BlockVisible(Block::kSpecials);
  w.AlwaysOnTop = always_on_top_;
  if (sound_card_window_ != nullptr) {
    RecordingFormSettings& sk = settings_.WindowSK;
    const QRect frame = sound_card_window_->geometry();
    if (window_system_.reports_window_position) {
      sk.Left = frame.x();
      sk.Top = frame.y();
    }
    sk.Width = frame.width();
    sk.Height = frame.height();
    sk.Visible = sound_card_window_->isVisible();
  }
  RecorderOptions& o = settings_.Options;
  o.InDevID = engine_.RecordDeviceId;
  o.MikeToOutEnabled = PanelRecord_->CBMikeToOutEnabled->isChecked();
  o.AndPlayLRXFile = workflow_->controls().CBAndPlayLRXFile;
  o.CompressLevel = workflow_->controls().TBCompressLevel;
  o.MuteLevel = workflow_->controls().TBMuteLevel;
}

void MainWindow::Timer1Timer() {
  workflow_->PlaybackTick();  // the mixer refresh first, then the position
  // A flag read from the settings takes effect here.
  if (always_on_top_ && window_system_.keeps_window_on_top &&
      !windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
    ApplyAlwaysOnTop();
  }
  Paint();
}

void MainWindow::RefreshMixerControls() {
  if (mixer_ == nullptr) return;
  const std::pair<QSlider*, VolumeSlider> sliders[] = {
      {PanelPlay_->ScrollbarVolWaveout, VolumeSlider::kScrollbarVolWaveout},
      {PanelPlay_->ScrollBarVolSpeakers, VolumeSlider::kScrollBarVolSpeakers},
      {PanelRecord_->ScrollBarMikeOut, VolumeSlider::kScrollBarMikeOut},
      {PanelRecord_->ScrollBarRecordLevel, VolumeSlider::kScrollBarRecordLevel},
  };
  for (const auto& [slider, which] : sliders) {
    // A thumb the user holds stays where the user has put it.
    if (!slider->isSliderDown()) slider->setValue(ReadVolumeSlider(*mixer_, which));
  }
  QCheckBox* monitoring = PanelRecord_->CBMikeToOutEnabled;
  monitoring->setChecked(ReadMikeToOutEnabled(*mixer_));
  PanelRecord_->PanelScrollBarMikeOut->setVisible(monitoring->isChecked());
}

void MainWindow::TrackbarAnyChange(VolumeSlider slider, int position) {
  if (mixer_ != nullptr) WriteVolumeSlider(*mixer_, slider, position);
  workflow_->UpdateControls();
  Paint();
}

void MainWindow::ButtonAnyShellExecuteClick(QObject* sender) {
  ProgramStart started;
  if (sender == PanelPlay_->ButtonWinMixerPlay) {
    started = StartSystemMixer(MixerSide::kPlayback);
  } else if (sender == PanelRecord_->ButtonWinMixerRecord) {
    started = StartSystemMixer(MixerSide::kRecording);
  } else {
    started = OpenFolderInFileManager(lorixs_folder_);
  }
  if (!started.Succeeded()) {
    dialogs_.Show({"Information", std::string(kSystemFunctionUnavailableText), DialogIcon::kError,
                   DialogButtons::kOk});
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  event->accept();
  emit Closed();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  // Loaded one after the other, in the order they were dropped.
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) workflow_->AddMoreToList(url.toLocalFile().toStdString());
  }
  event->acceptProposedAction();
  Paint();
}

}  // namespace lorix

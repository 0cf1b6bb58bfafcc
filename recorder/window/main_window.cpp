#include "recorder/window/main_window.h"

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
#include <chrono>
#include <thread>
#include <utility>
#include <vector>

#include "codec/version.h"
#include "desktop/system_tools.h"
#include "recorder/about_texts.h"
#include "recorder/form_commands.h"
#include "recorder/help_page.h"
#include "recorder/window/compress_block.h"
#include "recorder/window/file_info_block.h"
#include "recorder/window/form_key_filter.h"
#include "recorder/window/hint_timing.h"
#include "recorder/window/main_window_paint.h"
#include "recorder/window/play_block.h"
#include "recorder/window/record_block.h"

namespace lorix {
MainWindow::MainWindow(MainWindowParts parts, QWidget* parent)
    : QMainWindow(parent),
      dialogs_(parts.dialogs),
      program_name_(std::move(parts.program_name)),
      lorixs_folder_(parts.paths.lorixs_folder),
      start_time_(parts.start_time),
      window_system_(std::move(parts.window_system)) {
  app_ = std::make_unique<RecorderApp>(
      RecorderAppParts{.engine = parts.engine,
                       .dialogs = parts.dialogs,
                       .settings = parts.settings,
                       .paths = std::move(parts.paths),
                       .playback = std::move(parts.playback),
                       .mixer = parts.mixer,
                       .settings_file = std::move(parts.settings_file),
                       .attachment_overhead = parts.attachment_overhead,
                       .choose_file = std::move(parts.choose_file),
                       .open_file = std::move(parts.open_file),
                       .mail = std::move(parts.mail)},
      Services());

  ShowHintsAtOnce();
  caption_ = ToQt(MainWindowCaption(program_name_, ProgramVersion, kFileVersion));
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
  app_->FormCreate();
}

// The program logic goes first: its engine sink and playback must not reach these widgets.
MainWindow::~MainWindow() {
  app_.reset();
}

RecorderWindowServices MainWindow::Services() {
  RecorderWindowServices s;
  s.paint = [this] { Paint(); };
  s.repaint_now = [this] { RepaintNow(); };
  s.focus = [this](FocusTarget target) { Focus(target); };
  s.show_blocks = [this] { ShowBlocks(); };
  s.paint_menus = [this](const MenuState& state) { menu_->UpdateMenus(state); };
  s.reports_window_position = window_system_.reports_window_position;
  s.keeps_window_on_top = window_system_.keeps_window_on_top;
  s.window_place = [this] { return WindowPlace{x(), y(), width(), height()}; };
  s.move_window = [this](std::int32_t left, std::int32_t top) { move(left, top); };
  s.window_on_top = [this] { return windowFlags().testFlag(Qt::WindowStaysOnTopHint); };
  s.set_window_on_top = [this](bool on) { SetWindowOnTop(on); };
  s.set_standard_windows = [this] { SetStandardWindows(); };
  s.has_recording_form = [this] { return sound_card_window_ != nullptr; };
  s.recording_form_place = [this] {
    const QRect frame = sound_card_window_->geometry();
    return WindowPlace{frame.x(), frame.y(), frame.width(), frame.height()};
  };
  s.place_recording_form = [this](const WindowPlace& place) {
    sound_card_window_->setGeometry(place.left, place.top, place.width, place.height);
  };
  s.recording_form_visible = [this] {
    return sound_card_window_ != nullptr && sound_card_window_->isVisible();
  };
  s.show_recording_form = [this](bool visible) { sound_card_window_->setVisible(visible); };
  s.run_timer = [this](bool run) {
    if (run) {
      Timer1_.start();
    } else {
      Timer1_.stop();
    }
  };
  s.volume_slider_held = [this](VolumeSlider slider) {
    return VolumeSliderWidget(slider)->isSliderDown();
  };
  s.resolve_argument = [this](const std::string& argument) {
    // The program works in its own folder by now; the user meant the folder of the start.
    return QDir::cleanPath(QDir(start_folder_).absoluteFilePath(QString::fromStdString(argument)))
        .toStdString();
  };
  s.shutdown_wait = [] { std::this_thread::sleep_for(std::chrono::milliseconds(10)); };
  return s;
}

void MainWindow::BuildWidgets() {
  auto* central = Named(new QWidget(this), "FormStart");
  setCentralWidget(central);

  PanelTitle_ = FromTable(new QLabel(ToQt(VersionText(program_name_, ProgramVersion)), central),
                          FormControl::kPanelTitle);
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
  connect(description, &QAction::triggered, this, [this] { app_->MPDescParamsClick(); });
  PanelClient_->addAction(description);
  PanelClient_->setContextMenuPolicy(Qt::ActionsContextMenu);

  PanelBottom_ = FromTable(new QLabel(central), FormControl::kPanelBottom);
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
  PanelWait_ = FromTable(new QLabel(central), FormControl::kPanelWait);
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
  // Every click, check mark and track-bar move of the form's controls runs the handler the
  // shared routing names for its row; the window paints afterwards.
  for (const FormControlRow& row : MainFormControlTable()) {
    QWidget* widget = findChild<QWidget*>(QString::fromUtf8(row.name));
    const FormControl id = row.id;
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      connect(button, &QAbstractButton::clicked, this, [this, id](bool checked) {
        if (FormControlClick(*app_, id, checked, Commands())) Paint();
      });
    } else if (auto* tip = qobject_cast<StepTip*>(widget)) {
      connect(tip, &StepTip::clicked, this, [this, id] {
        if (FormControlClick(*app_, id, false, Commands())) Paint();
      });
    } else if (auto* slider = qobject_cast<QSlider*>(widget);
               slider != nullptr && row.playback != PlaybackPart::kScrollbarPlay) {
      connect(slider, &QSlider::valueChanged, this, [this, id](int position) {
        if (FormTrackBarChange(*app_, id, position)) Paint();
      });
    }
  }

  PlayBlock& p = *PanelPlay_;
  // The start-position slider speaks the track bar's scroll codes: dragging the thumb, then the
  // end of the scroll, which plays from there; a click beside the thumb is a step and an end.
  connect(p.ScrollbarPlay, &QSlider::sliderMoved, this, [this](int position) {
    app_->workflow().playback().ScrollbarPlayPosScroll(WavePlayback::kScrollThumbTrack, position);
    Paint();
  });
  connect(p.ScrollbarPlay, &QSlider::sliderReleased, this, [this] {
    app_->workflow().playback().ScrollbarPlayPosScroll(WavePlayback::kScrollEndScroll,
                                                       PanelPlay_->ScrollbarPlay->sliderPosition());
    Paint();
  });
  connect(p.ScrollbarPlay, &QSlider::actionTriggered, this, [this](int action) {
    if (action == QAbstractSlider::SliderMove || action == QAbstractSlider::SliderNoAction) return;
    constexpr int kScrollPageDown = 3;
    const int position = PanelPlay_->ScrollbarPlay->sliderPosition();
    app_->workflow().playback().ScrollbarPlayPosScroll(kScrollPageDown, position);
    app_->workflow().playback().ScrollbarPlayPosScroll(WavePlayback::kScrollEndScroll, position);
    Paint();
  });
}

QRadioButton* MainWindow::MailAppRadioButton(MailMethod method) const {
  switch (method) {
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

QSlider* MainWindow::VolumeSliderWidget(VolumeSlider slider) const {
  switch (slider) {
    case VolumeSlider::kScrollbarVolWaveout:
      return PanelPlay_->ScrollbarVolWaveout;
    case VolumeSlider::kScrollBarVolSpeakers:
      return PanelPlay_->ScrollBarVolSpeakers;
    case VolumeSlider::kScrollBarMikeOut:
      return PanelRecord_->ScrollBarMikeOut;
    case VolumeSlider::kScrollBarRecordLevel:
      break;
  }
  return PanelRecord_->ScrollBarRecordLevel;
}

void MainWindow::Paint() {
  // Nothing to show while the program logic is being taken down.
  if (!app_) return;
  const RecorderControls& c = app_->workflow().controls();
  const WavePlayback& playback = app_->workflow().playback();
  PanelRecord_->Paint(c);
  PanelOptionsCompress_->Paint(c);
  PanelPlay_->Paint(c, playback);
  PanelPlayStatus_->Paint(playback);
  PanelSpecials_->Paint(c);
  PanelBottom_->setText(ToQt(c.PanelBottom));
  PanelWait_->setText(ToQt(c.PanelWait));
  setWindowTitle(c.Caption.empty() ? caption_ : ToQt(c.Caption));
  if (c.PanelWait_visible) {
    PanelWait_->resize(qMax(240, PanelClient_->width() / 2), 60);
    const QPoint centre = PanelClient_->geometry().center();
    PanelWait_->move(centre.x() - PanelWait_->width() / 2, centre.y() - PanelWait_->height() / 2);
    PanelWait_->raise();
  }
  PanelWait_->setVisible(c.PanelWait_visible);
  PaintWindowState();
}

void MainWindow::PaintWindowState() {
  const RecorderWindowState& w = app_->window();
  RecordBlock& r = *PanelRecord_;
  {
    const QSignalBlocker block(r.CBMikeToOutEnabled);
    r.CBMikeToOutEnabled->setChecked(w.CBMikeToOutEnabled);
  }
  r.PanelScrollBarMikeOut->setVisible(w.CBMikeToOutEnabled);
  MailAppRadioButton(w.mail_method)->setChecked(true);
  if (w.attachment_kind) {
    AttachmentKindRadioButton(*w.attachment_kind)->setChecked(true);
  } else {
    for (QRadioButton* radio : {r.RBAttachmentProgram, r.RBAttachmentAudio, r.RBAttachmentBoth}) {
      radio->setAutoExclusive(false);
      radio->setChecked(false);
      radio->setAutoExclusive(true);
    }
  }
  for (const VolumeSlider which :
       {VolumeSlider::kScrollbarVolWaveout, VolumeSlider::kScrollBarVolSpeakers,
        VolumeSlider::kScrollBarMikeOut, VolumeSlider::kScrollBarRecordLevel}) {
    QSlider* slider = VolumeSliderWidget(which);
    const QSignalBlocker block(slider);
    slider->setValue(w.volume_sliders[static_cast<std::size_t>(which)]);
  }
  menu_->ShowExpertItems(w.expert_items_visible, w.expert_mode);
  PanelSpecials_->PanelExpertButtons->setVisible(w.expert_mode);
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

void MainWindow::ShowBlocks() {
  if (!app_) return;
  for (std::size_t i = 0; i < kBlockCount; ++i) {
    const auto block = static_cast<Block>(i);
    BlockWidget(block)->setVisible(BlockVisible(block));
  }
  FitToBlocks();
}

bool MainWindow::BlockVisible(Block block) const {
  return app_->window().blocks_visible[static_cast<std::size_t>(block)];
}

void MainWindow::FitToBlocks() {
  // Without waiting for the posted layout request, so that the new size holds at once.
  PanelClient_->layout()->activate();
  centralWidget()->layout()->activate();
  layout()->activate();
}

void MainWindow::WMSecondInstance(const QString& activation_token) {
  const bool activated =
      window_system_.bring_to_front && window_system_.bring_to_front(this, activation_token);
  // The box comes after the window, so that it opens above a window the user can see.
  app_->WMSecondInstance(activated);
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // The first activation starts the program, once the window is on the screen.
  if (!start_requested_) {
    start_requested_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          std::vector<std::string> arguments;
          for (const QString& argument : arguments_) arguments.push_back(argument.toStdString());
          app_->FormActivate(arguments);
        },
        Qt::QueuedConnection);
  }
}

void MainWindow::StartProgram(SystemProgram program) {
  ProgramStart started;
  if (program == SystemProgram::kMixerPlay) {
    started = StartSystemMixer(MixerSide::kPlayback);
  } else if (program == SystemProgram::kMixerRecord) {
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
  if (!app_->FormCloseQuery()) {
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
    if (url.isLocalFile()) app_->workflow().AddMoreToList(url.toLocalFile().toStdString());
  }
  event->acceptProposedAction();
  Paint();
}

}  // namespace lorix

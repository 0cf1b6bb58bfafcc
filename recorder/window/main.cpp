// The recorder's program entry: one instance per user, the German translations, the folders
// the recorder works with, the devices, and the main window with the hidden recording form.

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>

#include "audio/alsa_capture_backend.h"
#include "audio/alsa_mixer_backend.h"
#include "audio/alsa_playback_backend.h"
#include "audio/mci_errors.h"
#include "audio/mci_service.h"
#include "audio/mixer.h"
#include "audio/recording_engine.h"
#include "desktop/open_with_desktop.h"
#include "desktop/wav_application.h"
#include "recorder/attachment_overhead.h"
#include "recorder/recorder_paths.h"
#include "recorder/recorder_settings.h"
#include "recorder/window/main_window.h"
#include "recorder/window/qt_dialogs.h"
#include "recorder/window/qt_file_dialog.h"
#include "recorder/window/qt_ui_thread.h"
#include "recorder/window/single_instance.h"
#include "recorder/window/sound_card_window.h"

namespace {

// Qt ends the process with a terse abort when it finds no display; the user gets a reason.
bool DisplayAvailable() {
  return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
         !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// The program file's name up to its first '.'.
std::string ProgramName() {
  return QFileInfo(QCoreApplication::applicationFilePath())
      .fileName()
      .section('.', 0, 0)
      .toStdString();
}

}  // namespace

int main(int argc, char** argv) {
  const auto start_time = lorix::WallClock::now();
  // Relative paths on the command line name files here, not in the program folder.
  const QString start_folder = QDir::currentPath();
  if (!DisplayAvailable()) {
    std::fputs(
        "Lorix: Keine grafische Oberfläche gefunden (weder DISPLAY noch WAYLAND_DISPLAY ist "
        "gesetzt). Bitte Lorix auf dem Desktop starten.\n",
        stderr);
    return 1;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("LORIX"));
  QTranslator qt_german;
  if (qt_german.load(QStringLiteral("qtbase_de"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qt_german);
  }

  lorix::MainWindow* window = nullptr;
  // A second start brings this one to the front and ends; its arguments are not passed on,
  // only its launcher's activation token.
  if (!lorix::ClaimSingleInstance([&window](const QString& activation_token) {
        if (window != nullptr) window->WMSecondInstance(activation_token);
      })) {
    return 0;
  }

  QtDialogs dialogs;
  const QString folder = QCoreApplication::applicationDirPath();
  const bool in_program_folder = QDir::setCurrent(folder);
  lorix::RecorderPaths paths = lorix::RecorderPaths::ForProgram(
      QCoreApplication::applicationFilePath().toStdString(), lorix::UserDocumentsFolder);
  lorix::CreateRecorderFolders(paths);
  if (!in_program_folder) {
    dialogs.Show({"LORIX", "Falsches Arbeitsverzeichnis: " + folder.toStdString() + "/",
                  lorix::DialogIcon::kInformation, lorix::DialogButtons::kOk});
  }

  lorix::AlsaCaptureBackend capture;
  lorix::RecordingEngine engine(capture, lorix::QtPoster(&app), dialogs);
  lorix::AlsaPlaybackBackend output;
  lorix::MciService mci(output);
  lorix::AlsaMixerBackend mixer_device;
  lorix::Mixer mixer(mixer_device);
  lorix::RecorderSettings settings;

  lorix::WavePlayback::Services playback;
  playback.send_command = [&mci](const std::string& command, std::string& reply) {
    return mci.MciSendString(command, reply);
  };
  playback.error_text = lorix::MciGetErrorString;
  playback.find_application = [](const std::string&) {
    return lorix::WaveApplicationPath(lorix::FindExecutableForWav());
  };
  playback.open_file = [](const std::string& file) { lorix::OpenWithDesktop(file); };

  // Made before the main window, so that it outlives the window that holds its address.
  SoundCardWindow sound_card(engine);
  lorix::MainWindow main_window({
      .engine = engine,
      .dialogs = dialogs,
      .settings = settings,
      .paths = paths,
      .playback = std::move(playback),
      .mixer = &mixer,
      .settings_file = paths.settings_file,
      .program_name = ProgramName(),
      .attachment_overhead = lorix::MeasureAttachmentOverhead(paths, dialogs),
      .choose_file =
          [&window](const lorix::FileDialogRequest& request) {
            return lorix::ShowQtFileDialog(window, request);
          },
      .open_file = [](const std::string& file) { lorix::OpenWithDesktop(file); },
      .mail = {},
      .start_time = start_time,
  });
  window = &main_window;
  dialogs.SetParent(&main_window);
  main_window.SetSoundCardWindow(&sound_card);

  QStringList arguments = QCoreApplication::arguments();
  arguments.removeFirst();
  main_window.SetCommandLine(arguments, start_folder);
  QObject::connect(&main_window, &lorix::MainWindow::Closed, &app, &QCoreApplication::quit);
  main_window.show();
  return QApplication::exec();
}

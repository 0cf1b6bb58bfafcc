#pragma once

#include <filesystem>
#include <string_view>

#include "desktop/program_start.h"

namespace lorix {

// What the programs say when the desktop's own tools cannot be started (caption "Information").
inline constexpr std::string_view kSystemFunctionUnavailableText =
    "System-Funktion nicht verfügbar !!";
inline constexpr std::string_view kSystemMixerUnavailableText = "Systemmixer nicht verfügbar !!";

enum class MixerSide { kPlayback, kRecording };

// Starts the desktop's volume control on the playback or the recording side, trying in turn:
// pavucontrol on its output-devices or input-devices tab, gnome-control-center's sound panel,
// alsamixer (playback or capture view) in the default terminal. The first one installed that
// starts wins; when none does, the result is the last failure (kStartFileNotFound when nothing is
// installed).
ProgramStart StartSystemMixer(MixerSide side);

// Shows a folder in the desktop's file manager (through xdg-open).
ProgramStart OpenFolderInFileManager(const std::filesystem::path& folder);

}  // namespace lorix

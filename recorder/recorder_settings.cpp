#include "recorder/recorder_settings.h"

namespace lorix {

std::optional<int> RecorderOptions::MailAppRadioButton() const {
  if (MailAppStartSelection < 0 || MailAppStartSelection > 2) return std::nullopt;
  return MailAppStartSelection;
}

StartupMixerSettings MixerStartupFrom(const RecorderSettings& settings) {
  return {.MIOnStartSetMinVols = settings.Options.OnStartSetMinVols,
          .MIOnStartSelectMike = settings.Options.OnStartSelectMike,
          .MinVolWaveOut = settings.Options.MinVolWaveOut,
          .MinVolSpeakers = settings.Options.MinVolSpeakers};
}

}  // namespace lorix

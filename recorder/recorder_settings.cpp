#include "recorder/recorder_settings.h"

namespace lorix {

std::optional<int> RecorderOptions::MailAppRadioButton() const {
  if (MailAppStartSelection < 0 || MailAppStartSelection > 2) return std::nullopt;
  return MailAppStartSelection;
}

std::optional<AttachmentChoice> RecorderOptions::AttachmentKindRadioButton() const {
  if (AttachmentKind < 0 || AttachmentKind > 2) return std::nullopt;
  return static_cast<AttachmentChoice>(AttachmentKind);
}

StartupMixerSettings MixerStartupFrom(const RecorderSettings& settings) {
  return {.MIOnStartSetMinVols = settings.Options.OnStartSetMinVols,
          .MIOnStartSelectMike = settings.Options.OnStartSelectMike,
          .MinVolWaveOut = settings.Options.MinVolWaveOut,
          .MinVolSpeakers = settings.Options.MinVolSpeakers};
}

}  // namespace lorix

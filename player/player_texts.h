#pragma once

// The fixed texts of the player's window: captions of the information and link buttons, the
// label above the links and the help box. The addresses come from the codec's one place.

#include <string>

namespace lorix {

inline constexpr const char* kPlayerInternetLabel =
    " ... oder für weitere Infos und Download übers Internet auf:";

// Captions with accelerator marks ('&') as the controls carry them; the window shows them
// without the marks (the player has no dialog navigation).
std::string InfoCaption();
std::string WebPageCaption();
std::string DownloadCaption();
std::string MailCaption();

// The help box's text, lines joined by CR LF.
std::string HelpText();

// A caption without its accelerator marks ("Exter&ne A&nwdg." -> "Externe Anwdg.").
std::string WithoutAccelerators(const std::string& caption);

}  // namespace lorix

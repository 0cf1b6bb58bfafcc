#pragma once

// Texts as FLTK labels take them. FLTK breaks lines at LF alone and reads '@' as the start of a
// symbol, so carriage returns go and every '@' is doubled (the mail button names an address).

#include <string>

namespace lorix {

// A label showing `text` as it is, CR LF line ends as line breaks.
std::string LabelText(const std::string& text);

// A control's caption as the player shows it: without its accelerator marks ('&'), then as
// LabelText.
std::string CaptionLabel(const std::string& caption);

}  // namespace lorix

#pragma once

// A line of text shortened in its middle so that both of its ends stay in view: the file line
// names long paths, but its label in front and the recording's length behind must always show.
// Measuring is left to the caller (the toolkit's font metrics), so the decision is testable.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace lorix {

// The width of a text in pixels, in the font it is drawn in.
using TextWidth = std::function<double(std::string_view text)>;

// `text` as it fits into `width` pixels. A text too wide loses as few characters as needed from
// the middle of the part between its first `keep_front` and its last `keep_back` bytes; "…"
// stands in their place. The kept ends stay whole even when they alone are too wide. Cuts fall
// between UTF-8 characters.
std::string CutInTheMiddle(std::string_view text, std::size_t keep_front, std::size_t keep_back,
                           double width, const TextWidth& text_width);

}  // namespace lorix

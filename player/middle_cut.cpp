#include "player/middle_cut.h"

#include <algorithm>
#include <vector>

namespace lorix {
namespace {

constexpr std::string_view kEllipsis = "…";

bool StartsCharacter(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}

}  // namespace

std::string CutInTheMiddle(std::string_view text, std::size_t keep_front, std::size_t keep_back,
                           double width, const TextWidth& text_width) {
  if (text_width(text) <= width) return std::string(text);
  keep_front = std::min(keep_front, text.size());
  keep_back = std::min(keep_back, text.size() - keep_front);
  const std::string_view front = text.substr(0, keep_front);
  const std::string_view middle = text.substr(keep_front, text.size() - keep_front - keep_back);
  const std::string_view back = text.substr(text.size() - keep_back);

  // Where the middle's characters begin, and its end.
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < middle.size(); ++i) {
    if (StartsCharacter(middle[i])) starts.push_back(i);
  }
  const std::size_t count = starts.size();
  if (count == 0) return std::string(text);  // nothing that may go
  starts.push_back(middle.size());

  // The middle with `kept` of its characters left, half of them from its start, half from its
  // end.
  const auto shortened = [&](std::size_t kept) {
    std::string line(front);
    line += middle.substr(0, starts[(kept + 1) / 2]);
    line += kEllipsis;
    line += middle.substr(starts[count - kept / 2]);
    line += back;
    return line;
  };
  // The most characters that still fit; fewer characters never make the line wider.
  std::size_t fits = 0;
  std::size_t too_many = count;
  while (too_many - fits > 1) {
    const std::size_t kept = fits + (too_many - fits) / 2;
    if (text_width(shortened(kept)) <= width) {
      fits = kept;
    } else {
      too_many = kept;
    }
  }
  return shortened(fits);
}

}  // namespace lorix

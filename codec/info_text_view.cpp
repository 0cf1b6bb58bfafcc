#include "codec/info_text_view.h"

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "codec/bytes.h"
#include "codec/file_io.h"
#include "codec/text_encoding.h"

namespace lorix {

std::filesystem::path WriteInfoTextView(const std::filesystem::path& info_file) {
  try {
    const Bytes bytes = ReadWholeFile(info_file);
    const std::string utf8 =
        Cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    const std::filesystem::path view = info_file.parent_path() / kInfoViewName;
    WriteFileAtomically(view,
                        ByteSpan(reinterpret_cast<const std::uint8_t*>(utf8.data()), utf8.size()));
    return view;
  } catch (const std::exception&) {
    return info_file;
  }
}

}  // namespace lorix

#include "recorder/attachment_overhead.h"

#include "codec/codec_error.h"
#include "codec/file_io.h"
#include "codec/info_text.h"

namespace lorix {

std::int64_t MeasureAttachmentOverhead(const RecorderPaths& paths, Dialogs& dialogs) {
  try {
    const InputFile player(paths.player_program);
    return player.size() + InfoTextLength();
  } catch (const CodecError& error) {
    dialogs.ShowError("LORIX", error.what());
    return InfoTextLength();
  }
}

}  // namespace lorix

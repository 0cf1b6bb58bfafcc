#pragma once

#include <filesystem>

namespace lorix {

// Whether a file given to the player or to lorix-tool is a WAV file (played or compressed as it
// is) or a recording to unpack (an attachment, a ".lrx" file, anything that ends in a stream).
// The content decides: the stream's magic in the last 44 bytes makes it a recording, else a
// RIFF/WAVE header at its start makes it a WAV file. Only a file that shows neither (or cannot
// be read) goes by its last extension: ".wav" in any case is a WAV file. Folder names and
// earlier extensions ("Nachrichten.wav-Archiv/gruss.wav.EXE") never count.
bool IsWavFile(const std::filesystem::path& path);

}  // namespace lorix

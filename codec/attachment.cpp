#include "codec/attachment.h"

#include "codec/codec_error.h"
#include "codec/file_io.h"
#include "codec/file_system.h"
#include "codec/own_folder.h"
#include "codec/wav_header.h"

namespace lorix {
namespace {

ExtractResult WrongFormat(const std::filesystem::path& file, const ExtractOptions& options) {
  ExtractResult result;
  result.outcome = ExtractOutcome::kWrongFormat;
  if (ShouldReportWrongFormat(file, options.own_executable)) {
    result.message = WrongFormatMessage(file);
  }
  return result;
}

ExtractResult Failed(const std::string& message) {
  ExtractResult result;
  result.outcome = ExtractOutcome::kFailed;
  result.message = message;
  return result;
}

bool HasPlausibleLengths(const StreamHeader& header, std::int64_t file_size) {
  try {
    CheckStreamHeader(header, file_size);
    return true;
  } catch (const CodecError&) {
    return false;
  }
}

}  // namespace

Bytes BuildAttachment(ByteSpan player, std::string_view info_text, ByteSpan compressed_stream,
                      std::int32_t payload_size) {
  const auto stream_size = static_cast<std::int64_t>(compressed_stream.size());
  if (payload_size < 0 || stream_size < kStreamHeaderSize ||
      payload_size > stream_size - kStreamHeaderSize) {
    throw CodecError("Die komprimierten Daten sind unvollständig: " + std::to_string(payload_size) +
                     " Bytes Aufnahme passen nicht in " + std::to_string(stream_size) + " Bytes.");
  }
  const auto block_size = static_cast<std::size_t>(std::int64_t{payload_size} + kStreamHeaderSize);
  // The player refuses files from 2 GB on, so no such attachment is written.
  const std::uint64_t total = std::uint64_t{player.size()} + info_text.size() + block_size;
  if (total > static_cast<std::uint64_t>(kMaxInputBytes)) {
    throw CodecError("Der Anhang wäre 2 GB groß oder größer und wird nicht geschrieben.");
  }
  Bytes attachment;
  attachment.reserve(static_cast<std::size_t>(total));
  AppendBytes(attachment, player);
  attachment.insert(attachment.end(), info_text.begin(), info_text.end());
  AppendBytes(attachment, compressed_stream.last(block_size));
  return attachment;
}

void WriteAttachment(const std::filesystem::path& target, ByteSpan player,
                     std::string_view info_text, ByteSpan compressed_stream,
                     std::int32_t payload_size) {
  const Bytes attachment = BuildAttachment(player, info_text, compressed_stream, payload_size);
  WriteFileAtomically(target, attachment, kProgramFileMode);
}

bool ShouldReportWrongFormat(const std::filesystem::path& file,
                             const std::filesystem::path& own_executable) {
  return file.string() != own_executable.string();
}

std::string WrongFormatMessage(const std::filesystem::path& file) {
  return "Die Datei  \"" + file.string() + "\"  hat nicht das LORIX-Format !!";
}

ExtractResult ExtractPayload(const std::filesystem::path& file, PlayerExtraction& state,
                             const CodecTables& tables, const ExtractOptions& options) {
  state.SourceFileName = file;
  try {
    InputFile input(file);
    state.SourceFileSize = input.size();
    if (input.size() < kStreamHeaderSize) return WrongFormat(file, options);

    StreamHeader header;
    const Bytes header_bytes = input.ReadRange(input.size() - kStreamHeaderSize, kStreamHeaderSize);
    std::copy(header_bytes.begin(), header_bytes.end(), header.bytes.begin());
    state.Header = header;
    state.PayloadSize = header.PayloadSize();
    state.SampleCount = header.SampleCount();
    state.InfoLength = header.InfoLength();
    // A rate the player cannot play is refused here, before a playback is closed or a
    // temporary file written: a refused file leaves the player as it was.
    if (!HasStreamMagic(header) || !HasPlausibleLengths(header, input.size()) ||
        !IsPlayerSampleRate(header.SampleRate())) {
      return WrongFormat(file, options);
    }
    const StreamLayout layout = LocateStream(header, input.size());

    // Payload and header in one block; the output is sized by what the tokens really produce.
    const Bytes block = input.ReadRange(layout.payload_start, header.PayloadAndHeaderSize());
    const std::int64_t samples = CountPlayerSamples(block, state.SampleCount);
    if (samples > kMaxDecodedSamples) {
      return Failed("Die Aufnahme in der Datei \"" + file.string() +
                    "\" ist zu lang und kann nicht abgespielt werden.");
    }

    if (options.close_playback) options.close_playback();
    const std::filesystem::path folder =
        options.temp_folder.empty() ? options.base_dir / kTempFolder : options.temp_folder;
    MakeDirectories(folder.parent_path());  // a failure shows when the folder is opened
    // Held open until the last write, so the checked folder is the one written into.
    const OwnFolder temps(folder);
    if (!temps.ok()) {
      return Failed("Der Ordner \"" + folder.string() +
                    "\" kann nicht benutzt werden: " + temps.ErrorText());
    }

    state.InfoFile.clear();
    if (state.InfoLength > 0 && layout.info_start >= 0) {
      const Bytes info = input.ReadRange(layout.info_start, state.InfoLength);
      const std::filesystem::path info_path = folder / kTempInfoName;
      WriteFileAtomically(temps.fd(), info_path, info);
      state.InfoFile = info_path;
    }
    state.SampleRate = header.SampleRate();

    Bytes output(kWavHeaderSize + static_cast<std::size_t>(samples));
    std::int32_t written = 0;
    if (!PlayerDecode(block, output, written, tables, options.progress)) {
      return WrongFormat(file, options);
    }
    state.SampleCount = written;
    output.resize(kWavHeaderSize + static_cast<std::size_t>(written));

    ExtractResult result;
    result.wav_path = folder / kTempWaveName;
    WriteFileAtomically(temps.fd(), result.wav_path, output);
    result.outcome = ExtractOutcome::kExtracted;
    return result;
  } catch (const CodecError& error) {
    return Failed(error.what());
  } catch (const std::bad_alloc&) {
    return Failed("Nicht genug Arbeitsspeicher, um die Datei \"" + file.string() +
                  "\" zu entpacken.");
  }
}

}  // namespace lorix

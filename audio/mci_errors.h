#pragma once

#include <string>

namespace lorix {

// Results of the media-control commands. 0 is success; the others follow the numbering
// media-control services use, so that a number in a report means the same thing everywhere.
enum MciError : int {
  kMciNoError = 0,
  kMciUnrecognizedKeyword = 259,    // a word the command does not know, or one too many
  kMciUnrecognizedCommand = 261,    // the first word is no command
  kMciHardware = 262,               // the output device failed while playing
  kMciUnknownAlias = 263,           // nothing is open under this name
  kMciOutOfMemory = 264,            // the file does not fit into memory
  kMciMissingCommandString = 267,   // empty command
  kMciBadInteger = 270,             // a number is no non-negative decimal integer
  kMciMissingParameter = 273,       // a required word or value is missing
  kMciFileNotFound = 275,           // the file does not exist
  kMciOutOfRange = 282,             // a position beyond the end of the sound
  kMciDuplicateAlias = 289,         // something is already open under this name
  kMciNotWaveFile = 296,            // the file is no RIFF/WAVE file
  kMciNoClosingQuote = 297,         // a quoted word without its closing quote
  kMciUnsupportedDeviceType = 298,  // a device type other than waveaudio
  kMciCannotReadFile = 299,         // the file exists but cannot be read
  kMciDamagedWaveFile = 300,        // a WAV file without a complete format or data chunk
  kMciUnsupportedFormat = 301,      // a WAV format other than 8/16-bit PCM, mono or stereo
  kMciNoOutputDevice = 320,         // no playback device could be opened for the format
};

// The German text for a result, as shown to the user behind a short prefix.
std::string MciGetErrorString(int code);

}  // namespace lorix

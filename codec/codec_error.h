#pragma once

#include <stdexcept>
#include <string>

namespace lorix {

// A file or stream the codec cannot take. The text is German and meant for the user.
class CodecError : public std::runtime_error {
 public:
  explicit CodecError(const std::string& message) : std::runtime_error(message) {}
};

// Decoding stopped in the middle of a stream; the text names the sample where it stopped.
class DecodeError : public CodecError {
 public:
  using CodecError::CodecError;
};

}  // namespace lorix

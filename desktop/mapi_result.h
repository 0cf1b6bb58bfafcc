#pragma once

#include <string_view>

namespace lorix {

// Result codes of the mail hand-off, numbered like the classic Simple MAPI interface, so that the
// recorder reports them with the messages users know from it.
inline constexpr int kMapiSuccess = 0;
inline constexpr int MAPI_USER_ABORT = 1;
inline constexpr int MAPI_E_FAILURE = 2;
inline constexpr int MAPI_E_LOGIN_FAILURE = 3;
inline constexpr int MAPI_E_INSUFFICIENT_MEMORY = 5;
inline constexpr int MAPI_E_TOO_MANY_FILES = 9;
inline constexpr int MAPI_E_TOO_MANY_RECIPIENTS = 10;
inline constexpr int MAPI_E_ATTACHMENT_NOT_FOUND = 11;
inline constexpr int MAPI_E_ATTACHMENT_OPEN_FAILURE = 12;
inline constexpr int MAPI_E_UNKNOWN_RECIPIENT = 14;
inline constexpr int MAPI_E_BAD_RECIPTYPE = 15;
inline constexpr int MAPI_E_TEXT_TOO_LARGE = 18;
inline constexpr int MAPI_E_AMBIGUOUS_RECIPIENT = 21;

// The German message for a result code; empty for success and for codes without a message.
std::string_view MapiResultMessage(int code);

}  // namespace lorix

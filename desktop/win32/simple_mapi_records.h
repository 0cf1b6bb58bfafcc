#pragma once

// The message record Simple MAPI's MAPISendMail (8-bit texts) and MAPISendMailW (UTF-16 texts)
// take, laid out as the system's mapi.h lays it out. Defined here rather than taken from mapi.h:
// that header defines the result codes as macros, which would clash with the names in
// desktop/mapi_result.h.

// windows.h first: the other system headers build on it.
#include <windows.h>

namespace lorix {

inline constexpr ULONG kMapiOriginator = 0;  // MAPI_ORIG
inline constexpr ULONG kMapiTo = 1;          // MAPI_TO
inline constexpr ULONG kMapiLogonUi = 0x1;   // MAPI_LOGON_UI
inline constexpr ULONG kMapiDialog = 0x8;    // MAPI_DIALOG
// nPosition of a file that is not placed in the note text.
inline constexpr ULONG kMapiNoPosition = 0xFFFFFFFF;
// The library answers that it cannot send mail: no mail program stands behind it.
inline constexpr int kMapiNotSupported = 26;  // MAPI_E_NOT_SUPPORTED

template <typename Char>
struct MapiRecipDescOf {
  ULONG ulReserved;
  ULONG ulRecipClass;
  Char* lpszName;
  Char* lpszAddress;
  ULONG ulEIDSize;
  void* lpEntryID;
};

template <typename Char>
struct MapiFileDescOf {
  ULONG ulReserved;
  ULONG flFlags;
  ULONG nPosition;
  Char* lpszPathName;
  Char* lpszFileName;
  void* lpFileType;
};

template <typename Char>
struct MapiMessageOf {
  ULONG ulReserved;
  Char* lpszSubject;
  Char* lpszNoteText;
  Char* lpszMessageType;
  Char* lpszDateReceived;
  Char* lpszConversationID;
  ULONG flFlags;
  MapiRecipDescOf<Char>* lpOriginator;
  ULONG nRecipCount;
  MapiRecipDescOf<Char>* lpRecips;
  ULONG nFileCount;
  MapiFileDescOf<Char>* lpFiles;
};

template <typename Char>
using MapiSendMailOf = ULONG(WINAPI*)(ULONG_PTR session, ULONG_PTR ui_param,
                                      MapiMessageOf<Char>* message, ULONG flags, ULONG reserved);

}  // namespace lorix

#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "desktop/mapi_result.h"

namespace lorix {

// A new mail for the user to complete: no recipient, the subject, the body and the attached
// files. Texts are UTF-8; line breaks may be CR LF.
struct MailDraft {
  std::string subject;
  std::string body;
  std::vector<std::filesystem::path> attachments;
};

struct MailComposerResult {
  int code = kMapiSuccess;  // a Simple-MAPI-style code (mapi_result.h)
  // The composer was opened, but by a mail program whose way of attaching files we do not know:
  // the files may be missing from the mail, and the user has to attach them by hand.
  bool attach_by_hand = false;
  // No mail program takes files from this system (on Windows: no Simple MAPI client), so nothing
  // was handed over; the user has to start a mail and attach the files by hand.
  bool no_mail_program = false;
};

// Opens the user's mail composer with the draft, every file attached. The default mailto handler of
// the desktop is used with its own compose-with-attachment command line when it is Thunderbird,
// Evolution, KMail or Claws Mail (xdg-email attaches files for some clients only); any other
// handler, or one that is not installed, is reached through xdg-email, whose exit code is waited
// for (it returns at once) and which gets the body with LF line ends (it turns each LF into
// CR LF). The files stay where they are.
// The code is kMapiSuccess when the composer was started, MAPI_E_ATTACHMENT_NOT_FOUND /
// MAPI_E_ATTACHMENT_OPEN_FAILURE when one of the files is missing / unreadable, MAPI_USER_ABORT
// when there is no mail program to ask, MAPI_E_FAILURE when it fails.
MailComposerResult OpenMailComposer(const MailDraft& draft);

}  // namespace lorix

#include "desktop/mail_composer.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <system_error>
#include <vector>

#include "desktop/default_application.h"
#include "desktop/desktop_entry.h"
#include "desktop/mailto_url.h"
#include "desktop/mapi_result.h"
#include "desktop/path_search.h"
#include "desktop/program_start.h"

namespace lorix {

namespace fs = std::filesystem;

namespace {

enum class MailClient { kOther, kThunderbird, kEvolution, kKMail, kClawsMail };

struct ClientName {
  const char* part;  // found in the desktop id or the program name
  MailClient client;
  const char* program;  // the usual program when the entry itself cannot be read
};

constexpr ClientName kClients[] = {
    {"thunderbird", MailClient::kThunderbird, "thunderbird"},
    {"icedove", MailClient::kThunderbird, "icedove"},
    {"evolution", MailClient::kEvolution, "evolution"},
    {"kmail", MailClient::kKMail, "kmail"},
    {"claws-mail", MailClient::kClawsMail, "claws-mail"},
};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

const ClientName* Identify(const std::string& name) {
  const std::string lower = Lower(name);
  for (const ClientName& known : kClients) {
    if (lower.find(known.part) != std::string::npos) return &known;
  }
  return nullptr;
}

// The default mail handler as the command that starts it (its Exec line without field codes)
// and which client it is; empty when it is none we know.
struct Handler {
  MailClient client = MailClient::kOther;
  std::vector<std::string> command;
};

Handler DefaultMailHandler() {
  const std::string id = DefaultApplicationId("x-scheme-handler/mailto");
  if (id.empty()) return {};
  const std::optional<DesktopEntry> entry = FindDesktopEntry(id);
  std::vector<std::string> command;
  if (entry) command = ExecArguments(*entry);
  const ClientName* known = Identify(id);
  if (known == nullptr && !command.empty()) known = Identify(fs::path(command.front()).filename());
  if (known == nullptr) return {};
  if (command.empty()) command = {known->program};
  return {known->client, command};
}

// Thunderbird's -compose takes key=value pairs separated by commas. A value in single quotes is
// taken literally up to a quote followed by a comma, with no way to escape that; an unquoted
// value is percent-decoded. So every value goes unquoted and percent-encoded, which carries any
// quote, comma or line break safely. The attachment is a file: URL, encoded once more.
std::string ThunderbirdComposeArgument(const MailDraft& draft) {
  return "subject=" + PercentEncode(draft.subject) + ",body=" + PercentEncode(draft.body) +
         ",attachment=" + PercentEncode(FileUrl(draft.attachment));
}

std::string MailtoWithoutRecipient(const MailDraft& draft) {
  return MailtoUrl("", draft.subject, draft.body);
}

std::vector<std::string> ComposeCommand(const Handler& handler, const MailDraft& draft) {
  std::vector<std::string> argv = handler.command;
  const std::string file = draft.attachment.string();
  switch (handler.client) {
    case MailClient::kThunderbird:
      argv.insert(argv.end(), {"-compose", ThunderbirdComposeArgument(draft)});
      break;
    case MailClient::kEvolution:
      argv.push_back(MailtoWithoutRecipient(draft) + "&attach=" + PercentEncode(FileUrl(file)));
      break;
    case MailClient::kKMail:
      argv.insert(argv.end(), {"--subject", draft.subject, "--body", draft.body, "--attach", file});
      break;
    case MailClient::kClawsMail:
      argv.insert(argv.end(), {"--compose", MailtoWithoutRecipient(draft), "--attach", file});
      break;
    case MailClient::kOther:
      argv = {"xdg-email", "--subject", draft.subject, "--body", draft.body, "--attach", file};
      break;
  }
  return argv;
}

}  // namespace

int OpenMailComposer(const MailDraft& draft) {
  std::error_code error;
  const fs::path file = fs::absolute(draft.attachment, error).lexically_normal();
  if (error || !fs::is_regular_file(file, error)) return MAPI_E_ATTACHMENT_NOT_FOUND;
  if (access(file.c_str(), R_OK) != 0) return MAPI_E_ATTACHMENT_OPEN_FAILURE;
  const MailDraft absolute{draft.subject, draft.body, file};

  Handler handler = DefaultMailHandler();
  if (handler.client != MailClient::kOther && FindInPath(handler.command.front()).empty()) {
    handler = {};  // a stale association: let xdg-email find what is there
  }
  const std::vector<std::string> argv = ComposeCommand(handler, absolute);
  if (FindInPath(argv.front()).empty()) return MAPI_USER_ABORT;
  return StartProgram(argv).Succeeded() ? kMapiSuccess : MAPI_E_FAILURE;
}

}  // namespace lorix

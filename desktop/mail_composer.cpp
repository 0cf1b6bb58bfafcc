#include "desktop/mail_composer.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <optional>
#include <system_error>
#include <vector>

#include "desktop/default_application.h"
#include "desktop/desktop_entry.h"
#include "desktop/mailto_url.h"
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
// quote, comma or line break safely. The attachments are file: URLs, encoded once more, so that
// the commas between them are the only ones the decoded list holds.
std::string ThunderbirdComposeArgument(const MailDraft& draft) {
  std::string urls;
  for (const fs::path& file : draft.attachments) {
    if (!urls.empty()) urls += ',';
    urls += FileUrl(file);
  }
  return "subject=" + PercentEncode(draft.subject) + ",body=" + PercentEncode(draft.body) +
         ",attachment=" + PercentEncode(urls);
}

std::string MailtoWithoutRecipient(const MailDraft& draft) {
  return MailtoUrl("", draft.subject, draft.body);
}

// The text with every CR LF and every lone CR turned into LF.
std::string WithLfLineEnds(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      result += text[i];
    } else if (i + 1 >= text.size() || text[i + 1] != '\n') {
      result += '\n';
    }
  }
  return result;
}

// "--attach a --attach b": the option before every file.
void AppendEachWith(std::vector<std::string>& argv, const char* option,
                    const std::vector<fs::path>& files) {
  for (const fs::path& file : files) argv.insert(argv.end(), {option, file.string()});
}

std::vector<std::string> XdgEmailCommand(const MailDraft& draft) {
  std::vector<std::string> argv = {"xdg-email", "--subject", draft.subject};
  // xdg-email refuses an empty text as a wrong call.
  const std::string body = WithLfLineEnds(draft.body);
  if (!body.empty()) argv.insert(argv.end(), {"--body", body});
  AppendEachWith(argv, "--attach", draft.attachments);
  return argv;
}

std::vector<std::string> ComposeCommand(const Handler& handler, const MailDraft& draft) {
  std::vector<std::string> argv = handler.command;
  switch (handler.client) {
    case MailClient::kThunderbird:
      argv.insert(argv.end(), {"-compose", ThunderbirdComposeArgument(draft)});
      break;
    case MailClient::kEvolution: {
      std::string url = MailtoWithoutRecipient(draft);
      for (const fs::path& file : draft.attachments)
        url += "&attach=" + PercentEncode(FileUrl(file));
      argv.push_back(url);
      break;
    }
    case MailClient::kKMail:
      argv.insert(argv.end(), {"--subject", draft.subject, "--body", draft.body});
      AppendEachWith(argv, "--attach", draft.attachments);
      break;
    case MailClient::kClawsMail:
      // Claws takes every file after one --attach.
      argv.insert(argv.end(), {"--compose", MailtoWithoutRecipient(draft), "--attach"});
      for (const fs::path& file : draft.attachments) argv.push_back(file.string());
      break;
    case MailClient::kOther:
      argv = XdgEmailCommand(draft);
      break;
  }
  return argv;
}

// xdg-email's exit codes: 0 done, 1 a wrong call, 2 a file that does not exist, 3 no way to
// open a mail (no mail program), 4 the mail program failed, 5 a file that cannot be read.
int MapiCodeOfXdgEmail(const ProgramRun& run) {
  if (!run.start.Succeeded()) return MAPI_E_FAILURE;
  if (!run.exit_status) return kMapiSuccess;  // still running: the mail program shows the mail
  switch (*run.exit_status) {
    case 0:
      return kMapiSuccess;
    case 2:
      return MAPI_E_ATTACHMENT_NOT_FOUND;
    case 3:
      return MAPI_USER_ABORT;
    case 5:
      return MAPI_E_ATTACHMENT_OPEN_FAILURE;
    default:
      return MAPI_E_FAILURE;
  }
}

// xdg-email returns at once, except where it runs a mail program in the foreground: that one is
// left running after this wait and counts as a shown mail.
constexpr std::chrono::milliseconds kXdgEmailWait{3000};

}  // namespace

MailComposerResult OpenMailComposer(const MailDraft& draft) {
  MailDraft absolute{draft.subject, draft.body, {}};
  for (const fs::path& attachment : draft.attachments) {
    std::error_code error;
    const fs::path file = fs::absolute(attachment, error).lexically_normal();
    if (error || !fs::is_regular_file(file, error)) return {MAPI_E_ATTACHMENT_NOT_FOUND};
    if (access(file.c_str(), R_OK) != 0) return {MAPI_E_ATTACHMENT_OPEN_FAILURE};
    absolute.attachments.push_back(file);
  }

  Handler handler = DefaultMailHandler();
  if (handler.client != MailClient::kOther && FindInPath(handler.command.front()).empty()) {
    handler = {};  // a stale association: let xdg-email find what is there
  }
  const std::vector<std::string> argv = ComposeCommand(handler, absolute);
  if (FindInPath(argv.front()).empty()) return {MAPI_USER_ABORT};
  if (handler.client != MailClient::kOther) {
    return {StartProgram(argv).Succeeded() ? kMapiSuccess : MAPI_E_FAILURE};
  }
  const int code = MapiCodeOfXdgEmail(StartProgramAndWait(argv, kXdgEmailWait));
  return {code, code == kMapiSuccess};
}

}  // namespace lorix

#include <gtest/gtest.h>
#include <unistd.h>

#include "desktop/mail_composer.h"
#include "desktop/mailto_url.h"
#include "desktop/mapi_result.h"
#include "desktop_rig.h"

namespace lorix::testing {
namespace {

using Call = DesktopRig::Call;

TEST(MailtoUrl, PercentEncodesUtf8AndKeepsUnreserved) {
  EXPECT_EQ(PercentEncode("aZ09-._~ /\r\nüß%&=?'\","),
            "aZ09-._~%20%2F%0D%0A%C3%BC%C3%9F%25%26%3D%3F%27%22%2C");
  EXPECT_EQ(MailtoUrl("info@lorix.example", "LORIX-Player(V.1.5.0.1)", "Hallo Welt\r\n"),
            "mailto:info@lorix.example?subject=LORIX-Player%28V.1.5.0.1%29"
            "&body=Hallo%20Welt%0D%0A");
  EXPECT_EQ(MailtoUrl("", "a&b", ""), "mailto:?subject=a%26b&body=");
  EXPECT_EQ(FileUrl("/tmp/Mein Ordner/a#b.EXE"), "file:///tmp/Mein%20Ordner/a%23b.EXE");
  const std::string relative = FileUrl("x.EXE");
  EXPECT_EQ(relative, "file://" + PercentEncode((fs::current_path() / "x.EXE").string(), "/"));
}

TEST(MailtoUrl, MapiMessagesVerbatim) {
  EXPECT_EQ(MapiResultMessage(MAPI_USER_ABORT),
            "Benutzer hat Senden abgebrochen oder MAPI nicht installiert.");
  EXPECT_EQ(MapiResultMessage(2), "Unbekannter Fehler.");
  EXPECT_EQ(MapiResultMessage(11), "Datei zum Anhängen nicht gefunden");
  EXPECT_EQ(MapiResultMessage(12), "Datei zum Anhängen konnte nicht geöffnet werden.");
  EXPECT_EQ(MapiResultMessage(21),
            "Empfänger nicht eindeutig. (Nur möglich, wenn Emailadresse nicht angegeben.)");
  for (int silent : {0, 4, 13, 22, -1}) EXPECT_EQ(MapiResultMessage(silent), "") << silent;
}

// A rig with a written attachment and MP3 file in a folder whose name has a blank, an umlaut and
// a comma.
struct MailRig : DesktopRig {
  fs::path file = WriteFile(root() / "LORIXs Ä," / "LORIX_20240131_174502.EXE", "MZ");
  fs::path mp3 = WriteFile(root() / "LORIXs Ä," / "LORIX_20240131_174502.mp3", "ID3");
  MailDraft draft{"LORIX-Sprachanhang (40 KB) ", kHostileText, {file}};
  std::string file_url = "file://" + PercentEncode(file.string(), "/");
  std::string mp3_url = "file://" + PercentEncode(mp3.string(), "/");

  // Makes `id` the mailto handler with a desktop entry running `exec`.
  void Handler(const std::string& id, const std::string& name, const std::string& exec) {
    MimeDefaults({{"x-scheme-handler/mailto", id}});
    Entry(id, name, exec);
  }
  // The command the composer started; `attach_by_hand` is what it must say about the file.
  Call Composed(bool attach_by_hand = false) {
    fs::remove(log());
    const MailComposerResult result = OpenMailComposer(draft);
    EXPECT_EQ(result.code, kMapiSuccess);
    EXPECT_EQ(result.attach_by_hand, attach_by_hand);
    const std::vector<Call> started = Started(1);
    EXPECT_TRUE(fs::exists(file));  // the attachment stays where it is
    return started.empty() ? Call{} : started.front();
  }
};

TEST(MailComposer, EachClientGetsItsOwnCommandLineWithEveryFile) {
  const std::string subject = PercentEncode("LORIX-Sprachanhang (40 KB) ");
  const std::string body = PercentEncode(kHostileText);
  {
    MailRig rig;
    rig.Handler("thunderbird.desktop", "Thunderbird", "thunderbird %u");
    rig.Recorder("thunderbird");
    EXPECT_EQ(rig.Composed(), (Call{"thunderbird", "-compose",
                                    "subject=" + subject + ",body=" + body +
                                        ",attachment=" + PercentEncode(rig.file_url)}));
    // The list decodes to the URLs separated by commas; a comma of a path stays encoded.
    rig.draft.attachments = {rig.file, rig.mp3};
    EXPECT_EQ(rig.Composed()[2], "subject=" + subject + ",body=" + body + ",attachment=" +
                                     PercentEncode(rig.file_url + "," + rig.mp3_url));
  }
  {
    MailRig rig;
    rig.Handler("org.gnome.Evolution.desktop", "Evolution", "evolution %U");
    rig.Recorder("evolution");
    rig.draft.attachments = {rig.file, rig.mp3};
    EXPECT_EQ(rig.Composed(), (Call{"evolution", "mailto:?subject=" + subject + "&body=" + body +
                                                     "&attach=" + PercentEncode(rig.file_url) +
                                                     "&attach=" + PercentEncode(rig.mp3_url)}));
  }
  {
    MailRig rig;
    rig.Handler("org.kde.kmail2.desktop", "KMail", "kmail -caption %c %u");
    rig.Recorder("kmail");
    rig.draft.attachments = {rig.file, rig.mp3};
    EXPECT_EQ(rig.Composed(),
              (Call{"kmail", "-caption", "KMail", "--subject", rig.draft.subject, "--body",
                    kHostileText, "--attach", rig.file.string(), "--attach", rig.mp3.string()}));
  }
  {
    MailRig rig;
    rig.Handler("claws-mail.desktop", "Claws Mail", "claws-mail %u");
    rig.Recorder("claws-mail");
    rig.draft.attachments = {rig.file, rig.mp3};
    EXPECT_EQ(rig.Composed(),
              (Call{"claws-mail", "--compose", "mailto:?subject=" + subject + "&body=" + body,
                    "--attach", rig.file.string(), rig.mp3.string()}));
  }
  {
    // The handler's entry is gone, but its id still names the client.
    MailRig rig;
    rig.MimeDefaults({{"x-scheme-handler/mailto", "mozilla-thunderbird.desktop"}});
    rig.Recorder("thunderbird");
    EXPECT_EQ(rig.Composed().front(), "thunderbird");
  }
}

TEST(MailComposer, OtherHandlersGoThroughXdgEmail) {
  // xdg-email turns each LF into CR LF, so it gets LF line ends; an empty body it refuses.
  const std::string body = "Grüße an 'alle', \"x\" $HOME `id` 50% & so;\nZeile 2\\n ende ";
  const auto xdg_email = [&](const MailRig& rig) {
    return Call{"xdg-email", "--subject", rig.draft.subject, "--body",
                body,        "--attach",  rig.file.string()};
  };
  {
    MailRig rig;  // no handler at all
    rig.Recorder("xdg-email");
    EXPECT_EQ(rig.Composed(true), xdg_email(rig));
    rig.draft.body = "\r\nA\rB\r\n";
    EXPECT_EQ(rig.Composed(true)[4], "\nA\nB\n");
    rig.draft.body.clear();
    rig.draft.attachments = {rig.file, rig.mp3};
    EXPECT_EQ(rig.Composed(true), (Call{"xdg-email", "--subject", rig.draft.subject, "--attach",
                                        rig.file.string(), "--attach", rig.mp3.string()}));
  }
  {
    MailRig rig;  // a client without a compose command line of its own
    rig.Handler("mutt.desktop", "Mutt", "x-terminal-emulator -e mutt %u");
    rig.Recorder("xdg-email");
    rig.Recorder("x-terminal-emulator");
    EXPECT_EQ(rig.Composed(true), xdg_email(rig));
  }
  {
    MailRig rig;  // Thunderbird is the handler but not installed
    rig.Handler("thunderbird.desktop", "Thunderbird", "/opt/thunderbird/thunderbird %u");
    rig.Recorder("xdg-email");
    EXPECT_EQ(rig.Composed(true), xdg_email(rig));
  }
}

TEST(MailComposer, FailuresMapOntoMapiCodes) {
  MailRig rig;
  rig.Recorder("xdg-email");
  rig.Handler("thunderbird.desktop", "Thunderbird", "thunderbird %u");
  // One file that is missing or no file fails the whole mail.
  rig.draft.attachments = {rig.file, rig.root() / "LORIXs Ä," / "missing.mp3"};
  EXPECT_EQ(OpenMailComposer(rig.draft).code, MAPI_E_ATTACHMENT_NOT_FOUND);
  rig.draft.attachments = {rig.root()};  // a folder is no attachment
  EXPECT_EQ(OpenMailComposer(rig.draft).code, MAPI_E_ATTACHMENT_NOT_FOUND);
  rig.draft.attachments = {rig.file};
  if (geteuid() != 0) {  // root reads every file
    fs::permissions(rig.file, fs::perms::none);
    EXPECT_EQ(OpenMailComposer(rig.draft).code, MAPI_E_ATTACHMENT_OPEN_FAILURE);
    fs::permissions(rig.file, fs::perms::owner_read);
  }
  // A client that is installed but cannot start.
  rig.WriteFile(rig.bin() / "thunderbird", "not a program", true);
  EXPECT_EQ(OpenMailComposer(rig.draft).code, MAPI_E_FAILURE);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_TRUE(rig.Started(0).empty());
  // xdg-email's exit code is the outcome: 3 when it finds no mail program, 4 when it fails.
  fs::remove(rig.bin() / "thunderbird");
  for (const auto& [status, code] : {std::pair{3, MAPI_USER_ABORT}, std::pair{4, MAPI_E_FAILURE}}) {
    rig.Recorder("xdg-email", status);
    const MailComposerResult result = OpenMailComposer(rig.draft);
    EXPECT_EQ(result.code, code) << status;
    EXPECT_FALSE(result.attach_by_hand) << status;
  }
  // No mail program anywhere.
  fs::remove(rig.bin() / "xdg-email");
  EXPECT_EQ(OpenMailComposer(rig.draft).code, MAPI_USER_ABORT);
  EXPECT_TRUE(fs::exists(rig.file));
}

}  // namespace
}  // namespace lorix::testing

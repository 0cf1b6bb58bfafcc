#include "recorder/window_win32/about_box_win32.h"

#include <initializer_list>
#include <utility>

#include "codec/info_text.h"
#include "codec/version.h"
#include "codec/win32/wide_text.h"
#include "desktop/mailto_url.h"
#include "desktop/win32/shell_win32.h"
#include "desktop/win32/ui/child_control.h"
#include "desktop/win32/ui/clipboard_win32.h"
#include "desktop/win32/ui/dpi_scale.h"

namespace lorix {
namespace {

constexpr wchar_t kClassName[] = L"TFormAbout";

enum ControlId : int {
  kPanelTitle = 100,
  kLabelVersion,
  kLabel1,
  kLabelRunTimeMinutes,
  kLabel2,
  kLabel3,
  kLabel5,
  kLabelEMailAdr1,
  kLabelEMailAdr2,
  kLabel8,
  kLabelWebsite,
  kButtonRecommand,
  kButtonClose = IDCANCEL,  // Escape closes the box as the button does
};

// The box's client area at 96 DPI.
constexpr int kWidth = 380;
constexpr int kHeight = 300;

}  // namespace

Win32AboutBox::Win32AboutBox(HINSTANCE instance, HWND owner, Dialogs& dialogs, AboutBoxTexts texts)
    : instance_(instance), owner_(owner), dialogs_(dialogs), texts_(std::move(texts)) {
  WNDCLASSW window_class{};
  window_class.hInstance = instance;
  window_class.lpszClassName = kClassName;
  window_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  RegisterWindowClass(window_class);
  const DpiScale scale = DpiScale::OfSystem();
  RECT frame{0, 0, scale(kWidth), scale(kHeight)};
  constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  AdjustWindowRectEx(&frame, kStyle, FALSE, WS_EX_DLGMODALFRAME);
  CreateOwnWindow(WS_EX_DLGMODALFRAME, kClassName, "Programm-Informationen", kStyle, CW_USEDEFAULT,
                  CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, owner,
                  instance);
  CreateControls();
}

Win32AboutBox::~Win32AboutBox() {
  if (handle() != nullptr) DestroyWindow(handle());
  for (HFONT font : {font_, bold_font_, title_font_}) {
    if (font != nullptr) DeleteObject(font);
  }
}

void Win32AboutBox::CreateControls() {
  const DpiScale scale = DpiScale::OfSystem();
  font_ = CreateMessageFont(100, false);
  bold_font_ = CreateMessageFont(100, true);
  title_font_ = CreateMessageFont(180, true);
  const std::string tag_version = VersionText(texts_.program_name, kFileVersion);
  struct Row {
    int id;
    const wchar_t* class_name;
    DWORD style;
    std::string caption;
    int x, y, width, height;
    HFONT font;
  };
  constexpr DWORD kLeft = SS_LEFT | SS_NOTIFY;
  constexpr DWORD kRight = SS_RIGHT | SS_NOTIFY;
  constexpr DWORD kCentre = SS_CENTER | SS_NOTIFY;
  const Row rows[] = {
      {kPanelTitle, L"Static", SS_CENTER | SS_CENTERIMAGE, PanelTitleText(ProgramVersion), 0, 0,
       kWidth, 64, title_font_},
      {kLabelVersion, L"Static", kCentre, tag_version, 20, 76, kWidth - 40, 18, bold_font_},
      {kLabel1, L"Static", kRight, "Programm-Laufzeit:", 20, 104, 160, 18, font_},
      {kLabelRunTimeMinutes, L"Static", kLeft, "0:00", 192, 104, 160, 18, font_},
      {kLabel2, L"Static", kCentre, kMakerNameLine1, 20, 134, kWidth - 40, 18, bold_font_},
      {kLabel3, L"Static", kCentre, kMakerNameLine2, 20, 152, kWidth - 40, 18, font_},
      {kLabel5, L"Static", kRight, "eMail:", 20, 182, 160, 18, font_},
      {kLabelEMailAdr1, L"Static", kLeft, std::string(kAuthorMail), 192, 182, 180, 18, font_},
      {kLabelEMailAdr2, L"Static", kLeft, "", 192, 200, 180, 0, font_},
      {kLabel8, L"Static", kRight, "Website:", 20, 204, 160, 18, font_},
      {kLabelWebsite, L"Static", kLeft, std::string(kWebPageUrl), 192, 204, 180, 18, font_},
      {kButtonRecommand, L"Button", BS_PUSHBUTTON | BS_MULTILINE, "LORIX\r\n weiterempfehlen ...",
       20, 244, 150, 40, font_},
      {kButtonClose, L"Button", BS_DEFPUSHBUTTON, "Schließen", kWidth - 132, 252, 112, 32, font_},
  };
  for (const Row& row : rows) {
    const bool button = row.class_name[0] == L'B';
    const HWND control =
        CreateChildControl(handle(), instance_,
                           {.class_name = row.class_name,
                            .style = row.style,
                            .caption = row.caption,
                            .x = row.x,
                            .y = row.y,
                            .width = row.width,
                            .height = row.height,
                            .id = row.id,
                            .tab_stop = button,
                            // The empty second address line leaves no gap between the contact rows.
                            .visible = row.id != kLabelEMailAdr2},
                           scale);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(row.font), FALSE);
  }
}

void Win32AboutBox::ShowModal() {
  if (handle() == nullptr) return;
  // Centred over the owner, which waits until the box is closed.
  RECT owner_frame{};
  RECT frame{};
  GetWindowRect(owner_, &owner_frame);
  GetWindowRect(handle(), &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(handle(), nullptr,
               owner_frame.left + ((owner_frame.right - owner_frame.left) - width) / 2,
               owner_frame.top + ((owner_frame.bottom - owner_frame.top) - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
  EnableWindow(owner_, FALSE);
  open_ = true;
  ShowWindow(handle(), SW_SHOW);
  FormActivate();
  MSG message;
  while (open_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(handle(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  // A WM_QUIT taken here belongs to the program's own loop.
  if (open_) PostQuitMessage(static_cast<int>(message.wParam));
  open_ = false;
  EnableWindow(owner_, TRUE);
  ShowWindow(handle(), SW_HIDE);
  SetActiveWindow(owner_);
}

void Win32AboutBox::FormActivate() {
  LabelRunTimeMinutesClick();
  SetFocus(Control(kButtonClose));
}

void Win32AboutBox::LabelRunTimeMinutesClick() {
  const std::string text = RunTimeText(RunTimeMinutes(texts_.start_time, WallClock::now()));
  SetWindowTextW(Control(kLabelRunTimeMinutes), Widen(text).c_str());
}

void Win32AboutBox::LabelWebsiteClick() {
  ShellOpen(std::string(kWebPageUrl));
}

void Win32AboutBox::LabelEMailsClick(int id) {
  const std::string tag = EMailTag(texts_.program_name, kFileVersion);
  const std::string address = id == kLabelEMailAdr1 ? std::string(kAuthorMail) : std::string();
  ShellOpen(MailtoUrl(address, tag, tag));
}

void Win32AboutBox::ButtonRecommandClick() {
  const std::string link = RecommendationMailLink(
      texts_.program_folder, dialogs_,
      [this](const std::string& text) { CopyTextToClipboard(handle(), text); });
  if (!link.empty()) ShellOpen(link);
}

void Win32AboutBox::ButtonCloseClick() {
  open_ = false;
}

bool Win32AboutBox::HandleMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(w);
      const int code = HIWORD(w);
      if (id == kButtonClose) {
        ButtonCloseClick();
      } else if (id == kButtonRecommand && code == BN_CLICKED) {
        ButtonRecommandClick();
      } else if (code == STN_CLICKED && (id == kLabel1 || id == kLabelRunTimeMinutes)) {
        LabelRunTimeMinutesClick();
      } else if (code == STN_CLICKED && id == kLabelWebsite) {
        LabelWebsiteClick();
      } else if (code == STN_CLICKED && (id == kLabelEMailAdr1 || id == kLabelEMailAdr2)) {
        LabelEMailsClick(id);
      } else {
        return false;
      }
      result = 0;
      return true;
    }
    case WM_CTLCOLORSTATIC: {
      // The title panel is white on blue; the links are drawn in the link colour.
      const HWND control = reinterpret_cast<HWND>(l);
      const HDC dc = reinterpret_cast<HDC>(w);
      const int id = GetDlgCtrlID(control);
      if (id == kPanelTitle) {
        static const HBRUSH title_brush = CreateSolidBrush(RGB(0x1c, 0x4f, 0x7c));
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkColor(dc, RGB(0x1c, 0x4f, 0x7c));
        result = reinterpret_cast<LRESULT>(title_brush);
        return true;
      }
      if (id == kLabelEMailAdr1 || id == kLabelWebsite) {
        SetTextColor(dc, RGB(0x1a, 0x5f, 0xb4));
        SetBkMode(dc, TRANSPARENT);
        result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        return true;
      }
      return false;
    }
    case WM_CLOSE:
      ButtonCloseClick();
      result = 0;
      return true;
    default:
      return false;
  }
}

}  // namespace lorix

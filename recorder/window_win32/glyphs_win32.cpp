#include "recorder/window_win32/glyphs_win32.h"

#include <algorithm>
#include <functional>

#include "recorder/window_win32/form_controls_win32.h"

namespace lorix {
namespace {

// An icon of `size` pixels drawn by `draw` on a transparent square.
HICON DrawnIcon(int size, const std::function<void(HDC)>& draw) {
  const HDC screen = GetDC(nullptr);
  const HDC dc = CreateCompatibleDC(screen);
  const HBITMAP colour = CreateCompatibleBitmap(screen, size, size);
  const HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
  // The mask: white (transparent) everywhere, black where the picture is.
  const HGDIOBJ previous = SelectObject(dc, mask);
  PatBlt(dc, 0, 0, size, size, WHITENESS);
  SelectObject(dc, GetStockObject(BLACK_BRUSH));
  SelectObject(dc, GetStockObject(BLACK_PEN));
  SetROP2(dc, R2_BLACK);
  draw(dc);
  SetROP2(dc, R2_COPYPEN);
  SelectObject(dc, colour);
  PatBlt(dc, 0, 0, size, size, BLACKNESS);
  draw(dc);
  SelectObject(dc, previous);
  ICONINFO info{TRUE, 0, 0, mask, colour};
  const HICON icon = CreateIconIndirect(&info);
  DeleteObject(colour);
  DeleteObject(mask);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return icon;
}

// A grey microphone: head, holder and stand.
void DrawMicrophone(HDC dc, int size) {
  const auto at = [size](int unit) { return MulDiv(unit, size, 32); };
  const HBRUSH head = CreateSolidBrush(RGB(96, 96, 104));
  const HPEN line = CreatePen(PS_SOLID, std::max(1, at(2)), RGB(64, 64, 72));
  const HGDIOBJ old_brush = SelectObject(dc, head);
  const HGDIOBJ old_pen = SelectObject(dc, line);
  RoundRect(dc, at(11), at(2), at(21), at(20), at(10), at(10));
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  Arc(dc, at(7), at(8), at(25), at(24), at(25), at(16), at(7), at(16));
  MoveToEx(dc, at(16), at(24), nullptr);
  LineTo(dc, at(16), at(29));
  MoveToEx(dc, at(10), at(29), nullptr);
  LineTo(dc, at(23), at(29));
  SelectObject(dc, old_brush);
  SelectObject(dc, old_pen);
  DeleteObject(head);
  DeleteObject(line);
}

void SetGlyph(const Win32FormControls& form, FormControl id, HICON icon) {
  const HWND button = form.Handle(id);
  if (button == nullptr || icon == nullptr) return;
  // The picture alone, which every button style draws (a pressed toggle too).
  SetWindowLongPtrW(button, GWL_STYLE, GetWindowLongPtrW(button, GWL_STYLE) | BS_ICON);
  SendMessageW(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}

HICON ResourceIcon(HINSTANCE instance, const wchar_t* name, int size) {
  return static_cast<HICON>(LoadImageW(instance, name, IMAGE_ICON, size, size, 0));
}

}  // namespace

void SetButtonGlyphs(const Win32FormControls& form, HINSTANCE instance) {
  const DpiScale& scale = form.scale();
  const int big = scale(32);
  const int media = scale(20);
  SetGlyph(form, FormControl::kButtonRecordLevelOnOff,
           DrawnIcon(big, [big](HDC dc) { DrawMicrophone(dc, big); }));
  SetGlyph(form, FormControl::kButtonPlay, ResourceIcon(instance, L"PLAY", media));
  SetGlyph(form, FormControl::kButtonPause, ResourceIcon(instance, L"PAUSE", media));
  SetGlyph(form, FormControl::kButtonStop, ResourceIcon(instance, L"STOP", media));
  SetGlyph(form, FormControl::kButtonWinMixerRecord, ResourceIcon(instance, L"MIXER", media));
  SetGlyph(form, FormControl::kButtonWinMixerPlay, ResourceIcon(instance, L"MIXER", media));
}

}  // namespace lorix

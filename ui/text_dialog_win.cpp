// A scrollable read-only text with "Copy to Clipboard" and "Close".
#include <algorithm>

#include "ui/controls_win.h"
#include "ui/dialog_win.h"
#include "ui/dialogs_win.h"
#include "ui/language.h"
#include "ui/text_view_win.h"

namespace ui {
namespace {

constexpr int kCopyId = 11;

class TextDialogImpl final : public Dialog {
 public:
  TextDialogImpl(const std::wstring& text, int width, int height) : text_(text), width_(width), height_(height) {}

  void OnCreate() override {
    view_ = CreateTextView(hwnd, 10);
    if (view_) {
      SetText(view_, text_);
      auto& lines = view_->content.lines;
      while (!lines.empty() && lines.back().empty()) lines.pop_back();
      while (!lines.empty() && lines.front().empty()) lines.erase(lines.begin());
      MoveWindow(view_->hwnd, ScaleDpi(16), ScaleDpi(16), width_ - ScaleDpi(32), height_ - ScaleDpi(64) - ScaleDpi(32),
                 FALSE);
      Rewrap(view_);
      view_->content.scroll.scrollPos = 0;
    }
    ButtonStyle copy;
    copy.variant = ButtonVariant::Default;
    copy.icon = 21;
    copy.surface = 3;
    copy.font = Semibold12;
    copy_ = CreateOwnerButton(hwnd, kCopyId, zel::Pick(L"Sao chép toàn bộ", L"Copy to Clipboard"), copy);
    const int closeLeft = width_ - ScaleDpi(20) - ScaleDpi(110);
    MoveWindow(copy_, closeLeft - ScaleDpi(8) - ScaleDpi(170), FooterButtonTop(height_), ScaleDpi(170),
               FooterButtonHeight(), FALSE);
    ButtonStyle close = copy;
    close.variant = ButtonVariant::Primary;
    close.icon = 0;
    HWND closeButton = CreateOwnerButton(hwnd, IDCANCEL, zel::Pick(L"Đóng", L"Close"), close);
    MoveWindow(closeButton, closeLeft, FooterButtonTop(height_), ScaleDpi(110), FooterButtonHeight(), FALSE);
  }

  void OnPaint(Canvas&, int, int) override {}

  void OnCommand(int id, int) override {
    if (id != kCopyId || !CopyTextToClipboard(hwnd, text_)) return;
    SetWindowTextW(copy_, zel::Pick(L"Đã sao chép!", L"Copied!"));
    SetButtonIcon(copy_, 25);
  }

  HWND InitialFocus() override { return view_ ? view_->hwnd : nullptr; }

 private:
  const std::wstring& text_;
  int width_;
  int height_;
  TextView* view_ = nullptr;
  HWND copy_ = nullptr;
};

}  // namespace

void ShowText(HWND owner, const std::wstring& title, const std::wstring& text) {
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  const int width = std::min<int>(area.right - area.left - ScaleDpi(40), ScaleDpi(820));
  const int height = std::min<int>(area.bottom - area.top - ScaleDpi(70), ScaleDpi(600));
  TextDialogImpl dialog(text, width, height);
  RunModal(dialog, owner, title, width, height);
}

}  // namespace ui

// A message with an icon by kind and a right-aligned row of buttons.
#include <algorithm>

#include "ui/controls_win.h"
#include "ui/dialog_win.h"
#include "ui/dialogs_win.h"
#include "ui/icon_table.h"

namespace ui {
namespace {

class MessageDialogImpl final : public Dialog {
 public:
  MessageDialogImpl(const std::wstring& text, MessageKind kind, const std::vector<std::wstring>& buttons, int danger,
                    int defaultIndex)
      : text_(text), kind_(kind), buttonTexts_(buttons), dangerIndex_(danger), defaultIndex_(defaultIndex) {
    clientWidth = ScaleDpi(500);
    textLeft_ = ScaleDpi(22) + ScaleDpi(36) + ScaleDpi(14);
    textHeight_ = MessageTextHeight(MeasureTextHeight(text_, Regular13, clientWidth - textLeft_ - ScaleDpi(22)));
    clientHeight = ScaleDpi(22) + textHeight_ + ScaleDpi(22) + ScaleDpi(64);
  }

  int clientWidth = 0;
  int clientHeight = 0;

  void OnCreate() override {
    std::vector<int> widths;
    for (const auto& text : buttonTexts_) {
      widths.push_back(std::max(ScaleDpi(100), MeasureTextWidth(text, Semibold12).width + ScaleDpi(34)));
    }
    const std::vector<int> lefts = ButtonRowLefts(widths, clientWidth - ScaleDpi(20), ScaleDpi(8));
    for (size_t i = 0; i < buttonTexts_.size(); ++i) {
      ButtonStyle style;
      style.variant = static_cast<int>(i) == dangerIndex_ ? ButtonVariant::Danger
                      : i == 0                            ? ButtonVariant::Primary
                                                          : ButtonVariant::Default;
      style.surface = 3;
      style.font = Semibold12;
      HWND button = CreateOwnerButton(hwnd, 100 + static_cast<int>(i), buttonTexts_[i], style);
      MoveWindow(button, lefts[i], FooterButtonTop(clientHeight), widths[i], FooterButtonHeight(), FALSE);
      buttons_.push_back(button);
    }
  }

  void OnPaint(Canvas& canvas, int width, int) override {
    static constexpr int kIcons[] = {kIconInfo, kIconQuestion, kIconWarning, kIconError};
    const int kindIndex = static_cast<int>(kind_);
    const Colour colour = kind_ == MessageKind::Warning ? Warning : kind_ == MessageKind::Error ? Danger : Accent;
    const Rect box{ScaleDpi(22), ScaleDpi(20), ScaleDpi(22) + ScaleDpi(36), ScaleDpi(20) + ScaleDpi(36)};
    canvas.FillRoundRect(box, ScaleDpi(10), colour, colour, 1, 36, 96);
    const int side = ScaleDpi(20);
    canvas.DrawIcon(kIcons[kindIndex], box.left + (box.Width() - side) / 2, box.top + (box.Height() - side) / 2, side,
                    colour);
    canvas.DrawText(text_, Rect{textLeft_, ScaleDpi(22), width - ScaleDpi(22), ScaleDpi(22) + textHeight_}, Regular13,
                    CurrentPalette().Text, kWrapped);
  }

  void OnCommand(int id, int) override {
    if (id >= 100 && id < 100 + static_cast<int>(buttons_.size())) Close(id - 100);
  }

  HWND InitialFocus() override {
    if (buttons_.empty()) return nullptr;
    const bool inRange = defaultIndex_ >= 0 && defaultIndex_ < static_cast<int>(buttons_.size());
    return buttons_[inRange ? static_cast<size_t>(defaultIndex_) : 0];
  }

 private:
  std::wstring text_;
  MessageKind kind_;
  std::vector<std::wstring> buttonTexts_;
  int dangerIndex_;
  int defaultIndex_;
  int textLeft_ = 0;
  int textHeight_ = 0;
  std::vector<HWND> buttons_;
};

}  // namespace

int ShowMessage(HWND owner, const std::wstring& title, const std::wstring& text, MessageKind kind,
                const std::vector<std::wstring>& buttonTexts, int dangerIndex, int defaultIndex) {
  MessageDialogImpl dialog(text, kind, buttonTexts, dangerIndex, defaultIndex);
  return RunModal(dialog, owner, title, dialog.clientWidth, dialog.clientHeight);
}

}  // namespace ui

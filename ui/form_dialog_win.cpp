// An input form: an optional description, then text inputs, check boxes,
// rows of choices and read-only values, with OK and Cancel.
#include <algorithm>

#include "core/text.h"
#include "ui/controls_win.h"
#include "ui/dialog_win.h"
#include "ui/dialogs_win.h"

namespace ui {
namespace {

class FormDialogImpl final : public Dialog {
 public:
  explicit FormDialogImpl(FormSpec& form) : form_(form) {
    clientWidth = ScaleDpi(form_.width);
    const int m = ScaleDpi(22);
    const bool hasDescription = !form_.description.empty();
    const int descriptionHeight = hasDescription ? MeasureTextHeight(form_.description, Regular12, clientWidth - 2 * m) : 0;
    std::vector<FieldType> types;
    for (const auto& field : form_.fields) types.push_back(field.type);
    layout_ = LayOutForm(clientWidth, descriptionHeight, hasDescription, types);
    clientHeight = layout_.clientHeight;
    controls_.assign(form_.fields.size(), nullptr);
    segments_.resize(form_.fields.size());
  }

  int clientWidth = 0;
  int clientHeight = 0;

  void OnCreate() override {
    // Painted text is invisible to screen readers and UI automation, which read
    // the texts of child windows: the description is also there, unseen.
    if (!form_.description.empty()) {
      CreateWindowExW(0, L"STATIC", form_.description.c_str(), WS_CHILD | SS_NOPREFIX, 0, 0, 0, 0, hwnd,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFormDescriptionId)), UiInstance(), nullptr);
    }
    for (size_t i = 0; i < form_.fields.size(); ++i) {
      const FormField& field = form_.fields[i];
      const Rect input = layout_.inputs[i];
      const int id = kFormFieldFirstId + static_cast<int>(i);
      if (field.type == FieldType::Text) {
        HWND edit = CreateWindowExW(0, L"EDIT", field.value.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                                    0, 0, 0, 0, hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), UiInstance(),
                                    nullptr);
        SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(Font(Regular13)), FALSE);
        const int fontHeight = FontHeight(Regular13);
        MoveWindow(edit, input.left + ScaleDpi(10), input.top + (input.Height() - fontHeight) / 2,
                   input.Width() - ScaleDpi(20), fontHeight, FALSE);
        controls_[i] = edit;
      } else if (field.type == FieldType::CheckBox) {
        ButtonStyle style;
        style.variant = ButtonVariant::CheckBox;
        style.surface = 2;
        style.font = Regular13;
        HWND box = CreateOwnerButton(hwnd, id, field.label, style);
        MoveWindow(box, input.left, input.top, input.Width(), input.Height(), FALSE);
        SetChecked(box, field.checked);
        controls_[i] = box;
      } else if (field.type == FieldType::Choice) {
        ButtonStyle style;
        style.variant = ButtonVariant::Segment;
        style.surface = 2;
        style.font = Regular12;
        const int count = std::min(static_cast<int>(field.choices.size()), kFormMaxSegments);
        const std::vector<Rect> rects = SegmentRects(input, count, ScaleDpi(6));
        for (int k = 0; k < count; ++k) {
          HWND segment = CreateOwnerButton(hwnd, SegmentId(i, k), field.choices[static_cast<size_t>(k)], style);
          const Rect r = rects[static_cast<size_t>(k)];
          MoveWindow(segment, r.left, r.top, r.Width(), r.Height(), FALSE);
          SetChecked(segment, k == field.choice);
          segments_[i].push_back(segment);
        }
        if (!segments_[i].empty()) controls_[i] = segments_[i].front();
      }
    }
    ButtonStyle ok;
    ok.variant = ButtonVariant::Primary;
    ok.surface = 3;
    ok.font = Semibold12;
    ok_ = CreateOwnerButton(hwnd, IDOK, form_.okText, ok);
    const int okWidth = std::max(ScaleDpi(110), MeasureTextWidth(form_.okText, Semibold12).width + ScaleDpi(36));
    const int okLeft = clientWidth - ScaleDpi(20) - okWidth;
    MoveWindow(ok_, okLeft, FooterButtonTop(clientHeight), okWidth, FooterButtonHeight(), FALSE);
    ButtonStyle cancel = ok;
    cancel.variant = ButtonVariant::Default;
    HWND cancelButton = CreateOwnerButton(hwnd, IDCANCEL, form_.cancelText, cancel);
    const int cancelWidth = std::max(ScaleDpi(100), MeasureTextWidth(form_.cancelText, Semibold12).width + ScaleDpi(34));
    MoveWindow(cancelButton, okLeft - ScaleDpi(8) - cancelWidth, FooterButtonTop(clientHeight), cancelWidth,
               FooterButtonHeight(), FALSE);
  }

  void OnPaint(Canvas& canvas, int, int) override {
    const Palette& p = CurrentPalette();
    if (!form_.description.empty()) canvas.DrawText(form_.description, layout_.description, Regular12, p.MutedText, kWrapped);
    for (size_t i = 0; i < form_.fields.size(); ++i) {
      const FormField& field = form_.fields[i];
      if (field.type == FieldType::CheckBox) continue;
      canvas.DrawText(field.label, layout_.labels[i], Semibold12, p.Text, kSingleLine);
      if (field.type == FieldType::Choice) continue;
      const Rect input = layout_.inputs[i];
      if (field.type == FieldType::Text) {
        const bool focused = GetFocus() == controls_[i];
        canvas.FillRoundRect(input, ScaleDpi(8), p.Input, focused ? Accent : p.Border, 1, 255, 255);
      } else {
        canvas.FillRoundRect(input, ScaleDpi(8), p.Card, p.Border, 1, 255, 255);
        canvas.DrawText(field.value, Rect{input.left + ScaleDpi(10), input.top, input.right - ScaleDpi(10), input.bottom},
                        Regular13, p.MutedText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_PATH_ELLIPSIS);
      }
    }
  }

  void OnCommand(int id, int notification) override {
    if (id == IDOK) {
      Accept();
      return;
    }
    if (id >= kFormSegmentFirstId) {
      if (notification == BN_CLICKED) Choose(static_cast<size_t>((id - kFormSegmentFirstId) / kFormMaxSegments), (id - kFormSegmentFirstId) % kFormMaxSegments);
      return;
    }
    const int index = id - kFormFieldFirstId;
    if (index < 0 || index >= static_cast<int>(form_.fields.size())) return;
    const FormField& field = form_.fields[static_cast<size_t>(index)];
    HWND control = controls_[static_cast<size_t>(index)];
    if (field.type == FieldType::CheckBox && notification == BN_CLICKED) {
      SetChecked(control, !IsChecked(control));
    } else if (field.type == FieldType::Text && (notification == EN_SETFOCUS || notification == EN_KILLFOCUS)) {
      RECT r = ToRECT(layout_.inputs[static_cast<size_t>(index)]);
      InvalidateRect(hwnd, &r, FALSE);  // the focus border
    }
  }

  HWND InitialFocus() override {
    for (size_t i = 0; i < form_.fields.size(); ++i) {
      if (form_.fields[i].type == FieldType::Text) {
        SendMessageW(controls_[i], EM_SETSEL, 0, -1);
        return controls_[i];
      }
    }
    return ok_;
  }

 private:
  void Accept() {
    for (size_t i = 0; i < form_.fields.size(); ++i) {
      if (form_.fields[i].type == FieldType::Text && form_.fields[i].required &&
          zel::Trim(GetWindowTextString(controls_[i])).empty()) {
        MessageBeep(MB_ICONEXCLAMATION);
        SetFocus(controls_[i]);
        return;
      }
    }
    for (size_t i = 0; i < form_.fields.size(); ++i) {
      FormField& field = form_.fields[i];
      if (field.type == FieldType::Text) field.value = zel::Trim(GetWindowTextString(controls_[i]));
      if (field.type == FieldType::CheckBox) field.checked = IsChecked(controls_[i]);
      for (size_t k = 0; k < segments_[i].size(); ++k) {
        if (IsChecked(segments_[i][k])) field.choice = static_cast<int>(k);
      }
    }
    Close(1);
  }

  static int SegmentId(size_t field, int segment) {
    return kFormSegmentFirstId + static_cast<int>(field) * kFormMaxSegments + segment;
  }

  void Choose(size_t field, int segment) {
    if (field >= segments_.size() || segment >= static_cast<int>(segments_[field].size())) return;
    for (size_t k = 0; k < segments_[field].size(); ++k) SetChecked(segments_[field][k], static_cast<int>(k) == segment);
  }

  FormSpec& form_;
  FormLayout layout_;
  std::vector<HWND> controls_;                // a choice's first segment
  std::vector<std::vector<HWND>> segments_;  // per field; empty but for choices
  HWND ok_ = nullptr;
};

}  // namespace

bool ShowForm(HWND owner, FormSpec& form) {
  FormDialogImpl dialog(form);
  return RunModal(dialog, owner, form.title, dialog.clientWidth, dialog.clientHeight) == 1;
}

}  // namespace ui

#pragma once
// The program's only dialogs: a message with buttons, an input form, and a text
// viewer. Modal, built in code (no templates), placed on the owner's monitor.
#include <windows.h>

#include <string>
#include <vector>

#include "core/language.h"
#include "ui/dialog_layout.h"

namespace ui {

enum class MessageKind { Information = 0, Question = 1, Warning = 2, Error = 3 };

// The chosen button's index (0 = the rightmost), or -1 when closed without a choice.
int ShowMessage(HWND owner, const std::wstring& title, const std::wstring& text, MessageKind kind,
                const std::vector<std::wstring>& buttonTexts, int dangerIndex, int defaultIndex);

struct FormField {
  FieldType type = FieldType::Text;
  std::wstring label;
  std::wstring value;    // initial text; on OK the trimmed text typed
  bool checked = false;  // check boxes: initial and resulting state
  bool required = false;
  std::vector<std::wstring> choices;  // choices: the segments' texts, left to right
  int choice = 0;                     // choices: the chosen segment, initial and resulting
};

struct FormSpec {
  std::wstring title;
  std::wstring description;
  std::vector<FormField> fields;
  std::wstring okText = L"OK";
  std::wstring cancelText = zel::Pick(L"Huỷ bỏ", L"Cancel");
  int width = 540;  // of the client area, at 96 DPI
};

// The form's description, also held by a hidden child window of this id.
constexpr int kFormDescriptionId = 199;
// Field i's control is kFormFieldFirstId + i; segment k of a choice field i is
// kFormSegmentFirstId + i * kFormMaxSegments + k.
constexpr int kFormFieldFirstId = 200;
constexpr int kFormSegmentFirstId = 400;
constexpr int kFormMaxSegments = 16;

// True when accepted with OK; the fields then hold the results. Cancel leaves the form as it was.
bool ShowForm(HWND owner, FormSpec& form);

void ShowText(HWND owner, const std::wstring& title, const std::wstring& text);

}  // namespace ui

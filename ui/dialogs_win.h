#pragma once
// The program's only dialogs: a message with buttons, an input form, and a text
// viewer. Modal, built in code (no templates), placed on the owner's monitor.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/dialog_layout.h"
#include "ui/language.h"
#include "ui/palette.h"

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

// A list to pick a row from, with the actions on it in a column beside it.
struct ListRow {
  std::wstring title;
  std::wstring details;  // a second, muted line
  std::wstring badge;    // drawn at the right in `badgeColour`; empty for none
  Colour badgeColour = 0;
  bool header = false;  // a group's title: not selectable
};

struct ListSpec {
  std::wstring title;
  std::wstring description;
  std::wstring emptyText;  // shown when there are no rows
  std::vector<ListRow> rows;
  struct Action {
    std::wstring text;
    int icon = 0;
  };
  std::vector<Action> actions;  // top to bottom; Enter and a double click run the first that is enabled
  // Whether action `action` can run on row `row` (-1: none selected); null: on any row.
  std::function<bool(int action, int row)> enabled;
  int selected = -1;  // the row selected at first, and when an action was chosen
  std::wstring closeText = zel::Pick(L"Đóng", L"Close");
};

// Control ids: the list, then the actions in order.
constexpr int kListBoxId = 300;
constexpr int kListFirstActionId = 310;

// The chosen action's index (the row is in `selected`), or -1 when closed.
int ShowList(HWND owner, ListSpec& list);

}  // namespace ui

// The decisions behind the owner-drawn controls, the text view and the dialogs.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "tests/support/ui_geometry.h"

#include "ui/button_look.h"
#include "ui/dialog_layout.h"
#include "ui/palette.h"
#include "ui/scroll.h"
#include "ui/text_rows.h"

namespace ui {
namespace {

using test::DpiGuard;

// Each row as (line, start, length).
std::vector<std::array<int64_t, 3>> Rows(const TextRows& text) {
  std::vector<std::array<int64_t, 3>> out;
  for (const TextRow& r : text.rows) out.push_back({r.line, r.start, r.length});
  return out;
}

// An empty line still takes a row, and a row never holds fewer than 20 columns.
TEST(TextRows, HardWrapsAtTheColumnCount) {
  TextRows text;
  text.AppendText(std::wstring(45, L'x') + L"\r\n\r\nshort");
  const std::vector<std::array<int64_t, 3>> rows = {{0, 0, 20}, {0, 20, 20}, {0, 40, 5}, {1, 0, 0}, {2, 0, 5}};
  text.Rewrap(20, 10);
  EXPECT_EQ(Rows(text), rows);
  text.Rewrap(5, 10);
  EXPECT_EQ(Rows(text), rows);
  EXPECT_EQ(text.AllText(), std::wstring(45, L'x') + L"\r\n\r\nshort\r\n");

  TextRows empty;
  empty.AppendText(L"");
  empty.AppendText(L"a\n");
  EXPECT_EQ(empty.lines, (std::vector<std::wstring>{L"", L"a", L""}));
}

// A view at the end follows new lines; one scrolled up keeps its place, clamped when the view grows.
TEST(TextRows, FollowsTheEndUnlessScrolledUp) {
  const struct {
    int newLines, scrollTo, visibleRows, want;
  } steps[] = {{30, -1, 10, 20}, {1, -1, 10, 21}, {1, 5, 10, 5}, {0, -1, 30, 2}, {0, -1, 40, 0}};
  TextRows log;
  for (const auto& step : steps) {
    if (step.scrollTo >= 0) log.scroll.scrollPos = step.scrollTo;
    for (int i = 0; i < step.newLines; ++i) log.lines.push_back(L"line " + std::to_wstring(log.lines.size()));
    log.Rewrap(80, step.visibleRows);
    EXPECT_EQ(log.scroll.scrollPos, step.want) << &step - steps;
  }
}

TEST(Scroll, ThumbFollowsThePositionAndTheDrag) {
  DpiGuard dpi(96);
  ListScroll s{1000, 100, 0, false, 0};
  const Rect track{90, 0, 96, 400};
  EXPECT_EQ(ThumbRect(s, track).Height(), 40);
  s.scrollPos = 900;
  EXPECT_EQ(ThumbRect(s, track).bottom, 400);
  ListScroll tiny{100000, 10, 0, false, 0};
  EXPECT_EQ(ThumbRect(tiny, track).Height(), 28);  // never thinner than a finger's worth

  // A press on the track away from the thumb centres it on the point.
  s.scrollPos = 0;
  ASSERT_TRUE(PressThumb(s, Point{86, 200}, track));  // within the widened track
  EXPECT_TRUE(s.dragging);
  EXPECT_EQ(s.dragOffset, 20);
  EXPECT_EQ(s.scrollPos, MulDivRound(200 - 20, 900, 360));
  EXPECT_TRUE(DragThumb(s, Point{0, 1000}, track));
  EXPECT_EQ(s.scrollPos, 900);
  EXPECT_FALSE(DragThumb(s, Point{0, 2000}, track));  // clamped, unchanged
  EXPECT_FALSE(PressThumb(s, Point{70, 200}, track));
  ListScroll fits{50, 100, 0, false, 0};
  EXPECT_FALSE(PressThumb(fits, Point{92, 10}, track));
}

// Disabled blends toward the surface and never presses; a danger button is quiet until pointed at; a
// check box has no ring; only the chosen segment is filled, and its focus ring stays visible on the fill.
TEST(ButtonLook, VariantsAndStates) {
  using V = ButtonVariant;
  const auto look = [](V variant, ButtonFlags flags, int surface = 2) {
    const ButtonLook l = ResolveButtonLook(ButtonStyle{variant, 0, surface, 0, false}, flags, kDarkPalette);
    return std::array{l.fill, l.text, l.border};
  };
  const ButtonFlags none, hovered{false, true}, focused{false, false, true}, chosen{false, false, true, false, true};
  const ButtonFlags disabled{false, false, false, true}, disabledPressed{true, true, false, true};
  EXPECT_EQ(look(V::Primary, disabledPressed), look(V::Primary, disabled));
  EXPECT_EQ(look(V::Primary, disabled)[0], Blend(kDarkPalette.Surface, Accent, 112));
  EXPECT_EQ(look(V::Danger, none, 1)[0], Blend(kDarkPalette.Sidebar, Danger, 32));  // on its own surface
  EXPECT_EQ(look(V::Danger, hovered), (std::array{Danger, White, kNoColour}));
  EXPECT_EQ(look(V::Default, focused)[2], Accent);
  EXPECT_EQ(look(V::CheckBox, focused)[2], kNoColour);
  EXPECT_EQ(look(V::Subtle, none)[0], kNoColour);
  EXPECT_NE(look(V::Subtle, hovered), look(V::Subtle, none));
  EXPECT_EQ(look(V::Segment, none)[0], kDarkPalette.Surface);
  EXPECT_EQ(look(V::Segment, chosen), (std::array{Accent, White, kDarkPalette.Text}));
}

TEST(DialogLayout, ButtonRowsAndForms) {
  EXPECT_EQ(ButtonRowLefts({100, 120}, 480, 8), (std::vector<int>{380, 252}));  // first button rightmost
  DpiGuard dpi(144);
  // Top to bottom and apart: the description at its measured height, then each field's label (none
  // for a check box) and input; the button row's S(64) below the last one.
  const FormLayout form = LayOutForm(810, 40, true, {FieldType::Text, FieldType::CheckBox, FieldType::ReadOnly});
  const Rect stack[] = {form.description, form.labels[0], form.inputs[0],
                        form.inputs[1],   form.labels[2], form.inputs[2]};
  for (size_t i = 1; i < std::size(stack); ++i) EXPECT_GT(stack[i].top, stack[i - 1].bottom) << i;
  EXPECT_EQ(form.description.Height(), 40);
  EXPECT_TRUE(form.labels[1].IsEmpty());
  EXPECT_GE(form.clientHeight, form.inputs[2].bottom + ScaleDpi(64));
  EXPECT_EQ(MessageTextHeight(5000), 570);
  // Segments fill their row exactly, in order, without overlapping.
  const std::vector<Rect> segments = SegmentRects(Rect{10, 5, 507, 39}, 5, 6);
  ASSERT_EQ(segments.size(), 5u);
  EXPECT_EQ(segments.front().left, 10);
  EXPECT_EQ(segments.back().right, 507);
  for (size_t i = 1; i < segments.size(); ++i) {
    EXPECT_EQ(segments[i].left, segments[i - 1].right + 6);
    EXPECT_LE(std::abs(segments[i].Width() - segments[0].Width()), 1);
  }
  EXPECT_EQ(MessageTextHeight(3), 54);
}

}  // namespace
}  // namespace ui

#include <gtest/gtest.h>

#include <set>

#include "drawing/tools.h"
#include "fake_ui.h"

namespace rv {
namespace {

TEST(ParseInteger, AcceptsDecimalIntegersOnly) {
  struct Case {
    const char* text;
    int want;
  };
  for (Case c : {Case{"7", 7}, {"0", 0}, {"-3", -3}, {"+12", 12}, {" 20 ", 20}, {"007", 7},
                 {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}}) {
    EXPECT_EQ(ParseInteger(c.text), c.want) << c.text;
  }
  for (const char* bad : {"", " ", "abc", "5a", "1.5", "-", "+", "2147483648", "-2147483649",
                          "99999999999999999999999", "1 2", "０", "0x10"}) {
    try {
      ParseInteger(bad);
      ADD_FAILURE() << "accepted '" << bad << "'";
    } catch (const EngineError& e) {
      EXPECT_EQ(std::string(e.what()), std::string("'") + bad + "' は整数ではありません");
    }
  }
}

TEST(SizeBox, ChangeAndClick) {
  DrawingState s;
  test::FakeUi ui;
  ui.tatami_enabled = true;
  s.CurrentTool = toolThickLine;
  // Typed without a list pick: the saved tool is none.
  EXPECT_EQ(SizeBoxChange(s, ui, "5"), "5");
  EXPECT_EQ(s.PenSize, 5);
  EXPECT_EQ(s.CurrentTool, toolNone);
  // A list pick saves the tool first, so the change restores it.
  s.CurrentTool = toolEraser;
  SizeBoxClick(s);
  EXPECT_EQ(SizeBoxChange(s, ui, "20"), "20");
  EXPECT_EQ(s.PenSize, 20);
  EXPECT_EQ(s.CurrentTool, toolEraser);
  EXPECT_TRUE(ui.tatami_enabled);
  // Emptied: back to 7, tatami off, tool kept.
  s.CurrentTool = toolFrame;
  EXPECT_EQ(SizeBoxChange(s, ui, ""), "7");
  EXPECT_EQ(s.PenSize, 7);
  EXPECT_EQ(s.CurrentTool, toolFrame);
  EXPECT_FALSE(ui.tatami_enabled);
  // Not a number: nothing changes.
  EXPECT_THROW(SizeBoxChange(s, ui, "abc"), EngineError);
  EXPECT_EQ(s.PenSize, 7);
  EXPECT_EQ(s.CurrentTool, toolFrame);
}

TEST(ColorGridModel, ButtonsAndChanges) {
  ColorGridModel g;
  EXPECT_EQ(g.ForegroundIndex(), 2);
  EXPECT_EQ(g.BackgroundIndex(), 1);
  auto p = g.Press(9, TMouseButton::mbLeft);
  EXPECT_TRUE(p.changed);
  EXPECT_TRUE(p.clicked);
  EXPECT_EQ(g.ForegroundColor(), TColor{0x0000FF});
  p = g.Press(9, TMouseButton::mbLeft);  // same cell: a click, no change
  EXPECT_FALSE(p.changed);
  EXPECT_TRUE(p.clicked);
  p = g.Press(12, TMouseButton::mbRight);
  EXPECT_TRUE(p.changed);
  EXPECT_FALSE(p.clicked);
  EXPECT_EQ(g.BackgroundColor(), TColor{0xFF0000});
  p = g.Press(0, TMouseButton::mbMiddle);  // any other button is the background
  EXPECT_TRUE(p.changed);
  EXPECT_EQ(g.BackgroundIndex(), 0);
  EXPECT_EQ(g.ForegroundIndex(), 9);
  for (int bad : {-1, 16, 1 << 30}) {
    p = g.Press(bad, TMouseButton::mbLeft);
    EXPECT_FALSE(p.changed || p.clicked);
  }
  EXPECT_EQ(g.ForegroundIndex(), 9);
}

TEST(ColorGridModel, CellAt) {
  EXPECT_EQ(ColorGridModel::CellAt(0, 0, 184, 30), 0);
  EXPECT_EQ(ColorGridModel::CellAt(183, 0, 184, 30), 7);
  EXPECT_EQ(ColorGridModel::CellAt(0, 15, 184, 30), 8);
  EXPECT_EQ(ColorGridModel::CellAt(183, 29, 184, 30), 15);
  EXPECT_EQ(ColorGridModel::CellAt(184, 0, 184, 30), -1);
  EXPECT_EQ(ColorGridModel::CellAt(-1, 0, 184, 30), -1);
  EXPECT_EQ(ColorGridModel::CellAt(2147483647, 1, 184, 30), -1);
  EXPECT_EQ(ColorGridModel::CellAt(0, 0, 0, 0), -1);
}

TEST(ColorGridChange, SetsFillToolAndColours) {
  DrawingState s;
  test::FakeUi ui;
  ui.tatami_enabled = true;
  ColorGridChange(s, ui, 2, 1);
  EXPECT_EQ(s.CurrentTool, toolFill);
  EXPECT_FALSE(ui.tatami_enabled);
  EXPECT_EQ(s.ForeColor, TColor{0x008000});
  EXPECT_EQ(s.BackColor, TColor{0x000080});
  EXPECT_TRUE(ui.tool_prompt.empty());
}

TEST(ToolCatalogue, ButtonsAreComplete) {
  const auto buttons = ToolButtons();
  ASSERT_EQ(buttons.size(), 16u);
  std::set<std::string> names;
  std::set<int> tools;
  int right = 0;
  for (const auto& b : buttons) {
    names.insert(b.name);
    tools.insert(b.select.tool);
    EXPECT_GE(b.left, right) << b.name;  // in tool-bar order, never overlapping
    right = b.left + b.width;
    EXPECT_NE(b.select.prompt, nullptr);
    EXPECT_EQ(FindToolButton(b.name), &b);
  }
  EXPECT_EQ(names.size(), 16u);
  EXPECT_EQ(tools, (std::set<int>{7, 10, 11, 15, 17, 19, 20, 21, 22, 23, 24, 26, 27, 28, 29, 32}));
  EXPECT_EQ(FindToolButton("ToolButton9"), nullptr);
  EXPECT_STREQ(FindToolButton("ToolButton15")->hint, "車を描きます。");
  EXPECT_STREQ(FindToolButton("ToolButton15")->select.prompt, "車を上下方向に描きます。");
}

TEST(ToolCatalogue, SelectionEffects) {
  DrawingState s;
  test::FakeUi ui;
  auto surface = std::make_shared<Surface>("newimage1");
  s.ActiveImage = surface;
  ApplySelection(s, ui, FindToolButton("ToolButton1")->select);
  EXPECT_EQ(s.CurrentTool, toolFrame);
  EXPECT_TRUE(ui.tatami_enabled);
  EXPECT_EQ(ui.tool_prompt, "間取枠を描画します。");
  ApplySelection(s, ui, FindToolButton("ToolButton2")->select);
  EXPECT_EQ(ui.cursors.at(surface.get()), TCursor::crArrow);
  EXPECT_FALSE(ui.tatami_enabled);
  // A list pick in the text box: tool only.
  ui.tatami_enabled = true;
  ApplySelection(s, ui, kSelectTextFromList);
  EXPECT_EQ(s.CurrentTool, toolText);
  EXPECT_TRUE(ui.tatami_enabled);
  EXPECT_EQ(ui.tool_prompt, "細い直線を描画します。");
  // The grid's click: prompt, tatami untouched.
  ApplySelection(s, ui, kSelectFillFromGrid);
  EXPECT_EQ(ui.tool_prompt, "図形の内部を指定された色で塗りつぶします。");
  EXPECT_TRUE(ui.tatami_enabled);
  // Once the surface is gone its cursor is not touched.
  ui.cursors.clear();
  surface.reset();
  ApplySelection(s, ui, FindToolButton("ToolButton21")->select);
  EXPECT_TRUE(ui.cursors.empty());
  EXPECT_EQ(s.CurrentTool, toolCarSide);
}

TEST(ApplyCanvasFont, ActiveImageOnly) {
  DrawingState s;
  TFont f;
  f.Height = 30;
  ApplyCanvasFont(s, f);  // no surface: nothing
  auto surface = std::make_shared<Surface>();
  surface->SetControlSize(10, 10);
  s.ActiveImage = surface;
  ApplyCanvasFont(s, f);
  EXPECT_EQ(surface->Canvas().Font.Height, 30);
}

}  // namespace
}  // namespace rv

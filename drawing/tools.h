// The tool catalogue and the controls that pick a tool, a size, colours or a font, without
// any widget: each handler of the main window hands its event to one of these.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "state.h"
#include "ui_port.h"

namespace rv {

enum class TatamiEffect { Keep, Enable, Disable };

// What one tool-selecting control does: the prompt for Label5 (null leaves it), the tool,
// the cursor for ActiveImage (when hasCursor) and the tatami button.
struct ToolSelection {
  int tool = toolNone;
  const char* prompt = nullptr;
  bool hasCursor = false;
  TCursor cursor = TCursor::crDefault;
  TatamiEffect tatami = TatamiEffect::Keep;
};

// One tool button of ToolBar1, in tool-bar order.
struct ToolButtonInfo {
  const char* name;  // component name, e.g. "ToolButton1"
  int left;
  int width;
  int image;         // index into ImageList1
  const char* hint;
  ToolSelection select;
};

std::span<const ToolButtonInfo> ToolButtons();
// Null for an unknown name.
const ToolButtonInfo* FindToolButton(std::string_view name);

inline constexpr const char* kTextPrompt = "文字を描画します。";
inline constexpr const char* kFillPrompt = "図形の内部を指定された色で塗りつぶします。";

// BitBtn1Click and ComboBox2Change.
inline constexpr ToolSelection kSelectText{toolText, kTextPrompt, false, TCursor::crDefault,
                                           TatamiEffect::Disable};
// ComboBox2Click: a list pick only sets the tool; the change event that follows does the rest.
inline constexpr ToolSelection kSelectTextFromList{toolText, nullptr, false, TCursor::crDefault,
                                                   TatamiEffect::Keep};
// ColorGrid1Click.
inline constexpr ToolSelection kSelectFillFromGrid{toolFill, kFillPrompt, false,
                                                   TCursor::crDefault, TatamiEffect::Keep};
// Panel3Click, Panel4Click.
inline constexpr ToolSelection kSelectFillFromPanel{toolFill, nullptr, false, TCursor::crDefault,
                                                    TatamiEffect::Disable};

void ApplySelection(DrawingState& s, UiPort& ui, const ToolSelection& sel);

// ---- The size box (ComboBox1) ----

inline constexpr std::array<const char*, 11> kSizeBoxItems = {"1", "2", "3",  "4",  "5", "6",
                                                              "7", "8", "10", "20", "30"};
inline constexpr const char* kSizeBoxDefault = "7";

// Decimal 32-bit integer with optional sign and surrounding blanks; anything else throws
// EngineError("'<text>' は整数ではありません").
int ParseInteger(const std::string& text);

// A list pick: remembers the tool so the change that follows can restore it.
void SizeBoxClick(DrawingState& s);
// The box's text changed. Returns the text the box must show afterwards: the same text, or
// "7" when it was emptied. Throws (state untouched) when the text is not an integer.
std::string SizeBoxChange(DrawingState& s, UiPort& ui, const std::string& text);

// ---- The colour grid (ColorGrid1) and the swatch ----

// The 16 cells, 8 columns by 2 rows, as TColor.
inline constexpr std::array<TColor, 16> kGridColors = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
    0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

// Selection of the grid: the left button picks the foreground cell, any other the background.
class ColorGridModel {
 public:
  static constexpr int kColumns = 8;
  static constexpr int kRows = 2;

  struct Pick {
    bool changed = false;  // an index really changed: raise the change event
    bool clicked = false;  // the left button: raise the click event
  };

  int ForegroundIndex() const { return fg_; }
  int BackgroundIndex() const { return bg_; }
  TColor ForegroundColor() const { return kGridColors[fg_]; }
  TColor BackgroundColor() const { return kGridColors[bg_]; }

  // A press on a cell; a cell outside 0..15 picks nothing.
  Pick Press(int cell, TMouseButton button);

  // The cell under (x, y) in a grid of the given size, or -1 outside it.
  static int CellAt(int x, int y, int width, int height);

 private:
  int fg_ = 2;
  int bg_ = 1;
};

// ColorGrid1Change: fill tool, tatami off, both colours from the grid's cells.
void ColorGridChange(DrawingState& s, UiPort& ui, int foregroundIndex, int backgroundIndex);

// ---- Font (BitBtn2) ----

// Puts the font on ActiveImage's canvas; nothing when that surface is gone. Throws for a
// surface whose picture is an icon or metafile.
void ApplyCanvasFont(DrawingState& s, const TFont& font);

}  // namespace rv

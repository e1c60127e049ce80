#include "tools.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

namespace rv {

namespace {

constexpr ToolSelection Pick(int tool, const char* prompt, TatamiEffect tatami) {
  return ToolSelection{tool, prompt, false, TCursor::crDefault, tatami};
}
constexpr ToolSelection PickWithCursor(int tool, const char* prompt, TCursor cursor) {
  return ToolSelection{tool, prompt, true, cursor, TatamiEffect::Disable};
}

constexpr auto D = TatamiEffect::Disable;

// The label texts of the two car buttons are longer than their hints on purpose.
constexpr std::array<ToolButtonInfo, 16> kButtons = {{
    {"ToolButton1", 0, 23, 1, "間取枠を描画します。",
     Pick(toolFrame, "間取枠を描画します。", TatamiEffect::Enable)},
    {"ToolButton6", 23, 23, 8, "矩形を描画します。", Pick(toolRectangle, "矩形を描画します。", D)},
    {"ToolButton3", 46, 23, 2, "間口の開き戸を描画します。",
     Pick(toolHingedDoor, "間口の開き戸を描画します。", D)},
    {"ToolButton20", 69, 23, 19, "間口の開口部を描きます。",
     Pick(toolOpening, "間口の開口部を描きます。", D)},
    {"ToolButton4", 92, 23, 3, "便器を左右方向に描画します。",
     Pick(toolToiletSide, "便器を左右方向に描画します。", D)},
    {"ToolButton16", 115, 23, 13, "便器を上下方向に描画します。",
     Pick(toolToiletUpright, "便器を上下方向に描画します。", D)},
    {"ToolButton2", 138, 23, 0, "細い直線を描画します。",
     PickWithCursor(toolThinLine, "細い直線を描画します。", TCursor::crArrow)},
    {"ToolButton5", 161, 23, 7, "円形または楕円形を描画します。",
     Pick(toolEllipse, "円形または楕円形を描画します。", D)},
    {"ToolButton7", 184, 23, 9, "角無し矩形を描画します。",
     Pick(toolRoundRect, "角無し矩形を描画します。", D)},
    {"ToolButton8", 207, 23, 10, "植木を描きます、始点と終点を矩形で指定してください。",
     Pick(toolPlants, "植木を描きます、始点と終点を矩形で指定してください。", D)},
    {"ToolButton14", 230, 23, 17, "ドアを描画します。", Pick(toolDoorA, "ドアを描画します。", D)},
    {"ToolButton19", 253, 23, 18, "ドアを描画します。", Pick(toolDoorB, "ドアを描画します。", D)},
    {"ToolButton15", 276, 23, 12, "車を描きます。",
     Pick(toolCarUpright, "車を上下方向に描きます。", D)},
    {"ToolButton21", 299, 23, 22, "車を描きます。",
     PickWithCursor(toolCarSide, "車を左右方向に描きます。", TCursor::crCross)},
    {"ToolButton11", 346, 23, 5, "消しゴムです。", Pick(toolEraser, "消しゴムです。", D)},
    {"ToolButton10", 369, 23, 4, "任意の太さの直線を描画します。",
     Pick(toolThickLine, "任意の太さの直線を描画します。", D)},
}};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::span<const ToolButtonInfo> ToolButtons() { return kButtons; }

const ToolButtonInfo* FindToolButton(std::string_view name) {
  for (const auto& b : kButtons) {
    if (name == b.name) return &b;
  }
  return nullptr;
}

void ApplySelection(DrawingState& s, UiPort& ui, const ToolSelection& sel) {
  if (sel.prompt) ui.SetToolPrompt(sel.prompt);
  s.CurrentTool = sel.tool;
  if (sel.hasCursor) {
    // A surface whose window has closed is left alone.
    if (auto surface = s.ActiveImage.lock()) ui.SetSurfaceCursor(*surface, sel.cursor);
  }
  if (sel.tatami == TatamiEffect::Enable) ui.SetTatamiEnabled(true);
  if (sel.tatami == TatamiEffect::Disable) ui.SetTatamiEnabled(false);
}

int ParseInteger(const std::string& text) {
  std::size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  std::size_t i = b;
  if (i < e && (text[i] == '+' || text[i] == '-')) ++i;
  bool ok = i < e;
  std::int64_t magnitude = 0;
  for (; ok && i < e; ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') {
      ok = false;
      break;
    }
    magnitude = magnitude * 10 + (c - '0');
    // Past every 32-bit value: stop before the 64-bit sum can overflow.
    if (magnitude > std::int64_t{1} << 31) ok = false;
  }
  if (ok) {
    const std::int64_t v = text[b] == '-' ? -magnitude : magnitude;
    if (v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max()) {
      return static_cast<int>(v);
    }
  }
  throw EngineError("'" + text + "' は整数ではありません");
}

void SizeBoxClick(DrawingState& s) { s.SavedTool = s.CurrentTool; }

std::string SizeBoxChange(DrawingState& s, UiPort& ui, const std::string& text) {
  if (text.empty()) {
    s.PenSize = 7;
    ui.SetTatamiEnabled(false);
    return kSizeBoxDefault;
  }
  s.PenSize = ParseInteger(text);
  s.CurrentTool = s.SavedTool;
  return text;
}

ColorGridModel::Pick ColorGridModel::Press(int cell, TMouseButton button) {
  Pick p;
  if (cell < 0 || cell >= static_cast<int>(kGridColors.size())) return p;
  if (button == TMouseButton::mbLeft) {
    p.changed = fg_ != cell;
    fg_ = cell;
    p.clicked = true;
  } else {
    p.changed = bg_ != cell;
    bg_ = cell;
  }
  return p;
}

int ColorGridModel::CellAt(int x, int y, int width, int height) {
  if (width <= 0 || height <= 0 || x < 0 || y < 0 || x >= width || y >= height) return -1;
  const int col = static_cast<int>(static_cast<std::int64_t>(x) * kColumns / width);
  const int row = static_cast<int>(static_cast<std::int64_t>(y) * kRows / height);
  return row * kColumns + col;
}

void ColorGridChange(DrawingState& s, UiPort& ui, int foregroundIndex, int backgroundIndex) {
  ui.SetTatamiEnabled(false);
  s.CurrentTool = toolFill;
  auto color = [](int i) {
    return i >= 0 && i < static_cast<int>(kGridColors.size()) ? kGridColors[i] : clBlack;
  };
  s.ForeColor = color(foregroundIndex);
  s.BackColor = color(backgroundIndex);
}

void ApplyCanvasFont(DrawingState& s, const TFont& font) {
  auto surface = s.ActiveImage.lock();
  if (!surface) return;
  surface->Canvas().Font = font;
}

}  // namespace rv

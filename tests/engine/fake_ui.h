// A UiPort that records what the engine asked of the user interface.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "drawing/ui_port.h"

namespace rv::test {

struct EraserOutline {
  std::string name;
  bool visible = false;
  int left = 0, top = 0, width = 0, height = 0;
};

class FakeUi : public UiPort {
 public:
  std::string pointer_readout, tool_prompt, status_text;
  bool undo_enabled = false, tatami_enabled = false;
  std::map<const Surface*, TCursor> cursors;
  std::vector<TRect> repaints;
  std::string text_source = "文字を入力してください。";
  std::map<int, EraserOutline> outlines;  // live ones only
  int next_handle = 1;
  int destroyed = 0;

  void SetPointerReadout(const std::string& t) override { pointer_readout = t; }
  void SetToolPrompt(const std::string& t) override { tool_prompt = t; }
  void SetStatusText(const std::string& t) override { status_text = t; }
  void SetUndoEnabled(bool e) override { undo_enabled = e; }
  void SetTatamiEnabled(bool e) override { tatami_enabled = e; }
  void SetSurfaceCursor(Surface& s, TCursor c) override { cursors[&s] = c; }
  void RepaintSurface(Surface&, const TRect& r) override { repaints.push_back(r); }
  std::string TextSource() override { return text_source; }
  int CreateEraserOutline(const std::string& name) override {
    outlines[next_handle] = EraserOutline{name};
    return next_handle++;
  }
  bool EraserOutlineExists(int h) override { return outlines.count(h) != 0; }
  void ShowEraserOutline(int h, int l, int t, int w, int hh) override {
    auto& o = outlines.at(h);  // throws if the engine touches a missing outline
    o.visible = true;
    o.left = l;
    o.top = t;
    o.width = w;
    o.height = hh;
  }
  void DestroyEraserOutline(int h) override {
    if (outlines.erase(h) == 0) throw std::logic_error("destroying a missing outline");
    ++destroyed;
  }
};

}  // namespace rv::test

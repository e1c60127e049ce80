// The main window: the frame of the document windows, its panel, tool bar, menus and
// status line, and every event handler of the program. The handlers are thin: the drawing
// logic lives in drawing/ and is reached with the drawing state and this window as UiPort.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <optional>

#include "drawing/state.h"
#include "drawing/ui_port.h"

class QAction;
class QButtonGroup;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPushButton;
class QStatusBar;
class QToolButton;

namespace rv {

class TAboutBox;
class TClickPanel;
class TColorGrid;
class TMDIChild;
class TStaticText;
class TSurfaceView;

// The program's font: "ＭＳ Ｐゴシック" at 12 pixels, or IPA P Gothic where it is missing.
QFont ProgramFont(int pixelSize = 12);

class TMainForm : public QMainWindow, public UiPort {
  Q_OBJECT
 public:
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  DrawingState& State() { return state_; }

  // The active document window, or null.
  QMdiSubWindow* ActiveDocumentWindow() const;
  // Shows the whole surface again (after its picture was replaced).
  void RefreshSurface(Surface& surface);
  // The widget showing the surface, or null.
  QWidget* SurfaceWidget(Surface& surface);

  QMdiArea* MdiArea() const { return mdi_area_; }
  // The document windows not yet closed, in creation order.
  QList<TMDIChild*> DocumentWindows() const;
  TMDIChild* CreateChildWindow(const QString& caption);

  // The application's hint: what the pointer rests on or the highlighted menu item shows.
  // ShowStatusHint runs only when it really changes.
  void SetApplicationHint(const QString& hint);
  QString ApplicationHint() const { return hint_; }
  // The status line's one line of text.
  QString StatusText() const;

  int RadioGroup1ItemIndex() const;
  QToolButton* ToolButton(const char* name) const;

  // The font dialog of BitBtn2: returns the chosen font, or nothing when cancelled.
  using FontDialogFn = std::function<std::optional<TFont>(const TFont& initial)>;
  void SetFontDialog(FontDialogFn dialog) { font_dialog_ = std::move(dialog); }
  const TFont& FontDialogFont() const { return dialog_font_; }

  TAboutBox* AboutBox() const { return about_box_; }

  // UiPort
  void SetPointerReadout(const std::string& text) override;
  void SetToolPrompt(const std::string& text) override;
  void SetStatusText(const std::string& text) override;
  void SetUndoEnabled(bool enabled) override;
  void SetTatamiEnabled(bool enabled) override;
  void SetSurfaceCursor(Surface& surface, TCursor cursor) override;
  void RepaintSurface(Surface& surface, const TRect& rect) override;
  std::string TextSource() override;
  int CreateEraserOutline(const std::string& name) override;
  bool EraserOutlineExists(int handle) override;
  void ShowEraserOutline(int handle, int left, int top, int width, int height) override;
  void DestroyEraserOutline(int handle) override;

  // Controls, named as on the form.
  QFrame* SpeedPanel;
  TStaticText* StaticText1;
  QLabel* Label4;
  QToolButton* SpeedButton1;
  QGroupBox* RadioGroup1;
  QButtonGroup* RadioGroup1Items;
  QPushButton* BitBtn1;
  QPushButton* BitBtn2;
  QComboBox* ComboBox2;
  QLabel* Label5;
  QFrame* ToolBar1;
  QButtonGroup* ToolButtonGroup;
  QComboBox* ComboBox1;
  TClickPanel* Panel3;
  TClickPanel* Panel4;
  TColorGrid* ColorGrid1;
  QStatusBar* StatusBar;
  QLabel* StatusLine;

  QMenu* File1;
  QMenu* Edit1;
  QMenu* Window1;
  QMenu* Help1;
  QAction* FileNewItem;
  QAction* FileOpenItem;
  QAction* FileCloseItem;
  QAction* FileSaveItem;
  QAction* FileSaveAsItem;
  QAction* Print1;
  QAction* FileExitItem;
  QAction* CopyItem;
  QAction* WindowCascadeItem;
  QAction* WindowTileItem;
  QAction* WindowArrangeItem;
  QAction* WindowMinimizeItem;
  QAction* HelpAboutItem;

 public slots:
  void FormShow();
  void FormClose();
  void FormDestroy();
  void ShowStatusHint();
  void UpdateMenuItems();

  void FileNewItemClick();
  void FileOpenItemClick();
  void FileCloseItemClick();
  void FileSaveItemClick();
  void FileSaveAsItemClick();
  void Print1Click();
  void FileExitItemClick();
  void CopyItemClick();
  void WindowCascadeItemClick();
  void WindowTileItemClick();
  void WindowArrangeItemClick();
  void WindowMinimizeItemClick();
  void HelpAboutItemClick();

  void ToolButton1Click();
  void ToolButton2Click();
  void ToolButton3Click();
  void ToolButton4Click();
  void ToolButton5Click();
  void ToolButton6Click();
  void ToolButton7Click();
  void ToolButton8Click();
  void ToolButton10Click();
  void ToolButton11Click();
  void ToolButton14Click();
  void ToolButton15Click();
  void ToolButton16Click();
  void ToolButton19Click();
  void ToolButton20Click();
  void ToolButton21Click();

  void ComboBox1Click();
  void ComboBox1Change();
  void ComboBox2Click();
  void ComboBox2Change();
  void ColorGrid1Change();
  void ColorGrid1Click();
  void Panel3Click();
  void Panel4Click();
  void BitBtn1Click();
  void BitBtn2Click();
  void SpeedButton1Click();
  void StaticText1Click();

  void Image1MouseDown(TSurfaceView* Sender, TMouseButton Button, int X, int Y);
  void Image1MouseMove(TSurfaceView* Sender, int X, int Y);
  void Image1MouseUp(TSurfaceView* Sender, TMouseButton Button, int X, int Y);
  void Image1Click(TSurfaceView* Sender);

 protected:
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void BuildMenus();
  void BuildSpeedPanel(QWidget* parent);
  void BuildToolBar(QWidget* parent);
  void SelectToolButton(const char* name);
  void RebuildWindowList();
  void PointerRestsOn(QWidget* w);
  TSurfaceView* ViewOf(Surface& surface) const;
  static bool OwnedByClosedWindow(QWidget* w);

  DrawingState state_;
  QMdiArea* mdi_area_ = nullptr;
  TAboutBox* about_box_ = nullptr;
  QList<QAction*> window_list_actions_;
  QString hint_;
  QPointer<QWidget> pending_leave_;
  bool shown_once_ = false;
  bool destroying_ = false;
  FontDialogFn font_dialog_;
  TFont dialog_font_;
  std::map<int, QPointer<QWidget>> outlines_;
  int next_outline_ = 1;
};

}  // namespace rv

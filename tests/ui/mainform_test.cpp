// The main window as a user meets it: start-up, enabling, documents, size box, colour grid,
// hint line, font and the commands once the surface they act on has gone.
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolButton>

#include "app/aboutbox.h"
#include "app/mainform.h"
#include "app/messages.h"
#include "app/tool_images.h"
#include "app/widgets.h"
#include "documents/childwin.h"
#include "documents/graphics.h"
#include "documents/surface_view.h"
#include "drawing/tools.h"

using namespace rv;

namespace {

// An icon: it refuses any new size.
class FakeIcon : public ForeignGraphic {
 public:
  GraphicKind Kind() const override { return GraphicKind::Icon; }
  int Width() const override { return 32; }
  int Height() const override { return 32; }
  void SetSize(int, int) override { throw EngineError(kMsgIconResize); }
  std::unique_ptr<ForeignGraphic> Clone() const override { return std::make_unique<FakeIcon>(); }
};

// A metafile that paints itself as a solid blue block of its size.
class FakeMetafile : public DisplayableGraphic {
 public:
  GraphicKind Kind() const override { return GraphicKind::Metafile; }
  int Width() const override { return w; }
  int Height() const override { return h; }
  void SetSize(int nw, int nh) override { w = nw, h = nh; }
  std::unique_ptr<ForeignGraphic> Clone() const override {
    return std::make_unique<FakeMetafile>(*this);
  }
  void Paint(QPainter& p, QPoint at) const override { p.fillRect(QRect(at, QSize(w, h)), Qt::blue); }
  QImage Render() const override { return QImage(); }
  const QByteArray& FileBytes() const override { return bytes; }
  int w = 20, h = 10;
  QByteArray bytes;
};

QString U(const char* s) { return QString::fromUtf8(s); }

}  // namespace

class MainFormTest : public QObject {
  Q_OBJECT

 private:
  TMainForm* form = nullptr;
  QStringList messages;

  TMDIChild* Window(int i) { return form->DocumentWindows().at(i); }
  TSurfaceView* View(int i) { return Window(i)->View(); }
  std::shared_ptr<Surface> SurfaceOf(int i) { return View(i)->SurfacePtr(); }
  std::shared_ptr<Surface> Active() { return form->State().ActiveImage.lock(); }

  QList<bool> NineEnabled() {
    return {form->BitBtn2->isEnabled(),           form->BitBtn1->isEnabled(),
            form->ColorGrid1->isEnabled(),        form->SpeedButton1->isEnabled(),
            form->FileCloseItem->isEnabled(),     form->WindowCascadeItem->isEnabled(),
            form->WindowTileItem->isEnabled(),    form->WindowArrangeItem->isEnabled(),
            form->WindowMinimizeItem->isEnabled()};
  }

  void CloseAndSettle(QMdiSubWindow* w) {
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
  }

  void TypeIntoSizeBox(const QString& text) {
    QLineEdit* edit = form->ComboBox1->lineEdit();
    edit->selectAll();
    if (text.isEmpty()) {
      QTest::keyClick(edit, Qt::Key_Backspace);
    } else {
      QTest::keyClicks(edit, text);
    }
  }

  QPoint GridCell(int cell) {
    const int w = form->ColorGrid1->width(), h = form->ColorGrid1->height();
    return QPoint((cell % 8) * w / 8 + w / 16, (cell / 8) * h / 2 + h / 4);
  }

 private slots:
  void init() {
    messages.clear();
    SetMessageHook([this](const QString& m) { messages.append(m); });
    form = new TMainForm;
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
  }

  void cleanup() {
    delete form;
    form = nullptr;
    SetMessageHook({});
  }

  void startUp() {
    QCOMPARE(form->windowTitle(), QStringLiteral("Ranoveh"));
    QVERIFY(form->windowState() & Qt::WindowMaximized);
    QCOMPARE(form->DocumentWindows().size(), 1);
    QCOMPARE(Window(0)->windowTitle(), U("新規1"));
    QCOMPARE(View(0)->objectName(), QStringLiteral("newimage1"));
    QCOMPARE(SurfaceOf(0)->Name(), std::string("newimage1"));
    QCOMPARE(Active(), SurfaceOf(0));
    const DrawingState& s = form->State();
    QCOMPARE(s.CurrentTool, toolFrame);
    QCOMPARE(s.PenSize, 7);
    QCOMPARE(s.DocumentCount, 1);
    QCOMPARE(s.ForeColor, TColor{0x008000});
    QCOMPARE(s.BackColor, TColor{0x000080});
    QCOMPARE(form->Panel3->Color(), QColor(0, 128, 0));
    QCOMPARE(form->Panel4->Color(), QColor(128, 0, 0));
    QVERIFY(form->Label5->text().isEmpty());
    QVERIFY(form->ToolButton("ToolButton1")->isChecked());
    QCOMPARE(form->ToolButtonGroup->buttons().size(), 16);
    QCOMPARE(NineEnabled(), QList<bool>(9, true));
    QVERIFY(!form->StaticText1->isEnabled());
    QCOMPARE(form->ComboBox1->currentText(), QStringLiteral("7"));
    QCOMPARE(form->ComboBox1->count(), 11);
    QCOMPARE(form->ComboBox2->count(), 27);
    QCOMPARE(form->ComboBox2->currentText(), U("文字を入力してください。"));
    QCOMPARE(form->RadioGroup1ItemIndex(), 2);
    const QFontInfo font(form->Label5->font());
    QCOMPARE(font.pixelSize(), 12);
    QVERIFY2(font.family() == U("ＭＳ Ｐゴシック") || font.family() == QStringLiteral("IPAPGothic"),
             qPrintable(font.family()));
    QCOMPARE(QFontInfo(form->Label4->font()).pixelSize(), 16);
    QCOMPARE(form->SpeedPanel->height(), 57);
    QCOMPARE(form->ToolBar1->height(), 35);
    // Surface control size follows the client area.
    QCOMPARE(SurfaceOf(0)->ControlWidth(), View(0)->width());
    QCOMPARE(SurfaceOf(0)->ControlHeight(), View(0)->height());
    QVERIFY(messages.isEmpty());
  }

  void toolButtonsInOrderWithImages() {
    int x = -1;
    for (const ToolButtonInfo& info : ToolButtons()) {
      QToolButton* b = form->ToolButton(info.name);
      QVERIFY2(b, info.name);
      QVERIFY(b->geometry().left() > x);
      x = b->geometry().left();
      QVERIFY(!b->icon().isNull());
    }
    for (int i = 0; i < kToolImageCount; ++i) {
      const QImage img = ToolImage(i);
      QCOMPARE(img.size(), QSize(16, 16));
      // Each picture has something drawn and a transparent background somewhere.
      bool ink = false, clear = false;
      for (int y = 0; y < 16; ++y)
        for (int xx = 0; xx < 16; ++xx) (qAlpha(img.pixel(xx, y)) ? ink : clear) = true;
      QVERIFY2(ink && clear, qPrintable(QString::number(i)));
    }
  }

  void toolButtonsSelectTheirTools() {
    QTest::mouseClick(form->ToolButton("ToolButton21"), Qt::LeftButton);
    QCOMPARE(form->State().CurrentTool, toolCarSide);
    QCOMPARE(form->Label5->text(), U("車を左右方向に描きます。"));
    QCOMPARE(View(0)->cursor().shape(), Qt::CrossCursor);
    QVERIFY(!form->SpeedButton1->isEnabled());
    QVERIFY(form->ToolButton("ToolButton21")->isChecked());
    QVERIFY(!form->ToolButton("ToolButton1")->isChecked());
    QTest::mouseClick(form->ToolButton("ToolButton1"), Qt::LeftButton);
    QCOMPARE(form->State().CurrentTool, toolFrame);
    QVERIFY(form->SpeedButton1->isEnabled());
    // Text from the other controls keeps the pressed tool button.
    QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    QCOMPARE(form->State().CurrentTool, toolText);
    QCOMPARE(form->Label5->text(), U("文字を描画します。"));
    QVERIFY(form->ToolButton("ToolButton1")->isChecked());
  }

  void enablingFollowsDocuments() {
    CloseAndSettle(Window(0));
    QVERIFY(form->DocumentWindows().isEmpty());
    QCOMPARE(NineEnabled(), QList<bool>(9, false));
    for (QAction* a : {form->FileNewItem, form->FileOpenItem, form->FileSaveItem,
                       form->FileSaveAsItem, form->Print1, form->FileExitItem, form->CopyItem,
                       form->HelpAboutItem}) {
      QVERIFY(a->isEnabled());
    }
    form->FileNewItemClick();
    QCOMPARE(NineEnabled(), QList<bool>(9, true));
    // A later focus change enables the tatami button whatever the tool.
    form->FileNewItemClick();
    form->ToolButton6Click();
    QVERIFY(!form->SpeedButton1->isEnabled());
    form->MdiArea()->setActiveSubWindow(Window(0));
    QVERIFY(form->SpeedButton1->isEnabled());
  }

  void numbersAreNeverReused() {
    form->FileNewItemClick();
    CloseAndSettle(Window(1));
    CloseAndSettle(Window(0));
    form->FileNewItemClick();
    QCOMPARE(form->DocumentWindows().size(), 1);
    QCOMPARE(Window(0)->windowTitle(), U("新規3"));
    QCOMPARE(View(0)->objectName(), QStringLiteral("newimage3"));
    QCOMPARE(form->State().DocumentCount, 3);
  }

  void firstClickGrowsToOuterSizeWithWhiteStrips() {
    auto surface = SurfaceOf(0);
    TCanvas& canvas = surface->Canvas();  // what the first press does
    (void)canvas;
    TBitmap* bmp = surface->Picture().Bitmap();
    QCOMPARE(bmp->Width(), View(0)->width());
    QCOMPARE(bmp->Height(), View(0)->height());
    const int clientW = bmp->Width(), clientH = bmp->Height();
    bmp->ScanLine(0)[0] = ColorToPixel(clBlack);
    QTest::mouseClick(View(0), Qt::LeftButton, {}, QPoint(10, 10));
    const QSize outer = Window(0)->frameGeometry().size();
    QVERIFY(outer.width() > clientW && outer.height() > clientH);
    QCOMPARE(bmp->Width(), outer.width());
    QCOMPARE(bmp->Height(), outer.height());
    QCOMPARE(PixelToColor(bmp->ScanLine(0)[0]), clBlack);
    QCOMPARE(PixelToColor(bmp->ScanLine(outer.height() - 1)[outer.width() - 1]), clWhite);
    QCOMPARE(PixelToColor(bmp->ScanLine(0)[outer.width() - 1]), clWhite);
    QCOMPARE(PixelToColor(bmp->ScanLine(outer.height() - 1)[0]), clWhite);
  }

  void shrinkThenClickCuts() {
    auto surface = SurfaceOf(0);
    surface->Canvas();
    QTest::mouseClick(View(0), Qt::LeftButton, {}, QPoint(10, 10));
    const QSize grown(surface->Picture().Width(), surface->Picture().Height());
    Window(0)->resize(200, 150);
    QTest::mouseClick(View(0), Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(surface->Picture().Width(), 200);
    QCOMPARE(surface->Picture().Height(), 150);
    // The press before the cut took the whole picture for undo.
    QVERIFY(form->State().UndoBitmap);
    QCOMPARE(QSize(form->State().UndoBitmap->Width(), form->State().UndoBitmap->Height()), grown);
  }

  void clickOnAnInactiveWindowUsesThatWindowsSize() {
    form->FileNewItemClick();
    Window(0)->resize(300, 200);
    Window(1)->resize(420, 330);
    QCOMPARE(form->ActiveDocumentWindow(), static_cast<QMdiSubWindow*>(Window(1)));
    QTest::mouseClick(View(0), Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(form->ActiveDocumentWindow(), static_cast<QMdiSubWindow*>(Window(0)));
    QCOMPARE(Active(), SurfaceOf(0));
    QCOMPARE(SurfaceOf(0)->Picture().Width(), 300);
    QCOMPARE(SurfaceOf(0)->Picture().Height(), 200);
  }

  void onlyALeftClickInsideResizes() {
    auto surface = SurfaceOf(0);
    surface->Canvas();
    const QSize before(surface->Picture().Width(), surface->Picture().Height());
    QTest::mouseClick(View(0), Qt::RightButton, {}, QPoint(10, 10));
    QTest::mouseClick(View(0), Qt::MiddleButton, {}, QPoint(10, 10));
    // A left drag released outside the surface: no click.
    QTest::mousePress(View(0), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(View(0), Qt::LeftButton, {}, QPoint(-20, -20));
    // A left release inside without a left press there (the press closed a dialog).
    QTest::mouseRelease(View(0), Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(QSize(surface->Picture().Width(), surface->Picture().Height()), before);
  }

  void clickOnIconShowsMessageAndKeepsSize() {
    auto surface = SurfaceOf(0);
    surface->Picture().SetForeign(std::make_unique<FakeIcon>());
    QTest::mouseClick(View(0), Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(messages.contains(U(kMsgIconResize)));
    QCOMPARE(surface->Picture().Width(), 32);
  }

  void activeImageStaysOnLastCreated() {
    auto first = SurfaceOf(0);
    form->FileNewItemClick();
    auto second = SurfaceOf(1);
    QCOMPARE(Active(), second);
    // Activating another window by the window system does not move it.
    form->MdiArea()->setActiveSubWindow(Window(0));
    QCOMPARE(Active(), second);
    QVERIFY(first != second);
  }

  void pressMakesSurfaceActiveAndEnablesUndo() {
    auto first = SurfaceOf(0);
    form->FileNewItemClick();
    QCOMPARE(Active(), SurfaceOf(1));
    // A right press on the older surface makes it the active one.
    QTest::mouseClick(View(0), Qt::RightButton, {}, QPoint(5, 5));
    QCOMPARE(Active(), first);
    QVERIFY(form->StaticText1->isEnabled());
    // Undo through the button disables it again.
    QTest::mouseClick(form->StaticText1, Qt::LeftButton);
    QVERIFY(!form->StaticText1->isEnabled());
  }

  void leftDragKeepsReportingOutsideTheSurface() {
    form->ToolButton6Click();
    TSurfaceView* v = View(0);
    QTest::mousePress(v, Qt::LeftButton, {}, QPoint(20, 20));
    QVERIFY(form->State().PenDown);
    QTest::mouseMove(v, QPoint(-15, -25));
    QCOMPARE(form->Label4->text(), QStringLiteral("X:-15  Y:-25"));
    QTest::mouseRelease(v, Qt::LeftButton, {}, QPoint(-15, -25));
    QVERIFY(!form->State().PenDown);
    QCOMPARE(form->State().FrameRight, -15);
    QCOMPARE(form->State().FrameBottom, -25);
  }

  void failedClickSkipsTheRelease() {
    auto surface = SurfaceOf(0);
    surface->Canvas();
    form->ToolButton6Click();
    QTest::mousePress(View(0), Qt::LeftButton, {}, QPoint(20, 20));
    QVERIFY(form->State().PenDown);
    // The picture turns into an icon mid-gesture: the click fails, the release never runs.
    surface->Picture().SetForeign(std::make_unique<FakeIcon>());
    QTest::mouseRelease(View(0), Qt::LeftButton, {}, QPoint(30, 30));
    QCOMPARE(messages, QStringList{U(kMsgIconResize)});
    QVERIFY(form->State().PenDown);
    QCOMPARE(form->State().FrameRight, 0);
  }

  void sizeBox_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("penSize");
    QTest::addColumn<QString>("shown");
    QTest::newRow("five") << "5" << 5 << "5";
    QTest::newRow("zero") << "0" << 0 << "0";
    QTest::newRow("negative") << "-3" << -3 << "-3";
  }
  void sizeBox() {
    QFETCH(QString, typed);
    QFETCH(int, penSize);
    QFETCH(QString, shown);
    form->ToolButton10Click();
    TypeIntoSizeBox(typed);
    QCOMPARE(form->State().PenSize, penSize);
    QCOMPARE(form->ComboBox1->currentText(), shown);
    // Typing without a list pick restores the tool saved by no pick: none.
    QCOMPARE(form->State().CurrentTool, toolNone);
    QCOMPARE(form->Label5->text(), U("任意の太さの直線を描画します。"));
  }

  void sizeBoxListPickKeepsTool() {
    form->ToolButton11Click();
    form->ComboBox1->setCurrentIndex(9);
    emit form->ComboBox1->activated(9);
    QCOMPARE(form->State().PenSize, 20);
    QCOMPARE(form->State().CurrentTool, toolEraser);
    QCOMPARE(form->State().SavedTool, toolEraser);
  }

  void sizeBoxEmptiedGoesBackToSeven() {
    TypeIntoSizeBox("20");
    form->ToolButton1Click();
    QVERIFY(form->SpeedButton1->isEnabled());
    TypeIntoSizeBox("");
    QCOMPARE(form->ComboBox1->currentText(), QStringLiteral("7"));
    QCOMPARE(form->State().PenSize, 7);
    QVERIFY(!form->SpeedButton1->isEnabled());
    QCOMPARE(form->State().CurrentTool, toolFrame);
  }

  void sizeBoxRejectsText() {
    TypeIntoSizeBox("12");
    form->ToolButton1Click();
    messages.clear();
    TypeIntoSizeBox("abc");
    QCOMPARE(messages.size(), 3);
    QCOMPARE(messages.last(), U("'abc' は整数ではありません"));
    QCOMPARE(form->State().PenSize, 12);
    QCOMPARE(form->State().CurrentTool, toolFrame);
  }

  void colorGridButtons() {
    form->ToolButton1Click();
    // Right button: background, no prompt.
    QTest::mouseClick(form->ColorGrid1, Qt::RightButton, {}, GridCell(12));
    QCOMPARE(form->State().BackColor, TColor{0xFF0000});
    QCOMPARE(form->Panel4->Color(), QColor(0, 0, 255));
    QCOMPARE(form->State().CurrentTool, toolFill);
    QVERIFY(!form->SpeedButton1->isEnabled());
    QCOMPARE(form->Label5->text(), U("間取枠を描画します。"));
    QCOMPARE(form->State().ForeColor, TColor{0x008000});
    // Left button: foreground and the fill prompt.
    form->ToolButton1Click();
    QTest::mouseClick(form->ColorGrid1, Qt::LeftButton, {}, GridCell(9));
    QCOMPARE(form->State().ForeColor, TColor{0x0000FF});
    QCOMPARE(form->Panel3->Color(), QColor(255, 0, 0));
    QCOMPARE(form->Label5->text(), U("図形の内部を指定された色で塗りつぶします。"));
    QCOMPARE(form->State().CurrentTool, toolFill);
    QVERIFY(!form->SpeedButton1->isEnabled());
    // The same cell again: no change event (tatami stays on), the click still selects fill.
    form->ToolButton1Click();
    QTest::mouseClick(form->ColorGrid1, Qt::LeftButton, {}, GridCell(9));
    QCOMPARE(form->State().CurrentTool, toolFill);
    QVERIFY(form->SpeedButton1->isEnabled());
    QCOMPARE(form->Label5->text(), U("図形の内部を指定された色で塗りつぶします。"));
    // The swatch selects fill and turns tatami off without a prompt.
    form->ToolButton6Click();
    form->ToolButton1Click();
    QTest::mouseClick(form->Panel4, Qt::LeftButton);
    QCOMPARE(form->State().CurrentTool, toolFill);
    QVERIFY(!form->SpeedButton1->isEnabled());
    QCOMPARE(form->Label5->text(), U("間取枠を描画します。"));
  }

  void textList() {
    form->ToolButton1Click();
    form->ComboBox2->setCurrentIndex(2);
    emit form->ComboBox2->activated(2);
    QCOMPARE(form->State().CurrentTool, toolText);
    QVERIFY(!form->SpeedButton1->isEnabled());
    QCOMPARE(form->TextSource(), std::string("仏間"));
    form->ToolButton1Click();
    QTest::keyClicks(form->ComboBox2->lineEdit(), "x");
    QCOMPARE(form->State().CurrentTool, toolText);
    QCOMPARE(form->Label5->text(), U("文字を描画します。"));
  }

  void hintLine() {
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(form->ToolButton("ToolButton15"), &enter);
    QCOMPARE(form->StatusText(), U("車を描きます。"));
    // A read-out written later stays while the hint does not change.
    form->SetStatusText("readout");
    QCoreApplication::sendEvent(form->ToolButton("ToolButton21"), &enter);
    QCOMPARE(form->StatusText(), QStringLiteral("readout"));
    // The line edit inside the size box has no hint of its own: the box's counts.
    QCoreApplication::sendEvent(form->ComboBox1->lineEdit(), &enter);
    QCOMPARE(form->StatusText(), U("消しゴムと任意サイズの直線の大きさを決めます。"));
    // A control without a hint in the panel clears the line.
    QCoreApplication::sendEvent(form->Label4, &enter);
    QCOMPARE(form->StatusText(), QString());
    // Leaving a control for its bare parent clears the line too.
    QCoreApplication::sendEvent(form->BitBtn1, &enter);
    QCOMPARE(form->StatusText(), U("任意の位置に下の文字を描画します。"));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(form->BitBtn1, &leave);
    QCoreApplication::processEvents();
    QCOMPARE(form->StatusText(), QString());
    // A highlighted menu item shows its hint.
    form->FileSaveItem->showStatusText(form->menuBar());
    QCOMPARE(form->StatusText(), U("直前に描画した図を上書き保存します。"));
    // Tool tips only on the panel's controls.
    QCOMPARE(form->BitBtn2->toolTip(), U("文字フォントを変更します。"));
    QVERIFY(form->ToolButton("ToolButton1")->toolTip().isEmpty());
  }

  void fontDialog() {
    TFont chosen;
    chosen.Name = "IPAPGothic";
    chosen.Height = 20;
    QList<TFont> offered;
    bool confirm = true;
    form->SetFontDialog([&](const TFont& initial) -> std::optional<TFont> {
      offered.append(initial);
      if (!confirm) return std::nullopt;
      return chosen;
    });
    form->ToolButton1Click();
    form->BitBtn2Click();
    QCOMPARE(form->State().CurrentTool, toolText);
    QVERIFY(!form->SpeedButton1->isEnabled());
    QVERIFY(SurfaceOf(0)->Canvas().Font == chosen);
    QCOMPARE(offered.at(0).Name, std::string("ＭＳ Ｐゴシック"));
    QCOMPARE(offered.at(0).Height, 12);
    // Cancelled: the text tool all the same, the last choice offered again.
    confirm = false;
    form->ToolButton1Click();
    form->BitBtn2Click();
    QVERIFY(offered.at(1) == chosen);
    QCOMPARE(form->State().CurrentTool, toolText);
    QVERIFY(!form->SpeedButton1->isEnabled());
  }

  void commandsAfterActiveImageWindowClosed() {
    form->SetFontDialog([](const TFont&) {
      TFont f;
      f.Height = 30;
      return std::optional<TFont>(f);
    });
    auto first = SurfaceOf(0);
    first->Canvas();
    form->FileNewItemClick();
    QCOMPARE(Active(), SurfaceOf(1));
    Window(1)->close();
    // Gone at once, before the window is actually deleted.
    QVERIFY(!Active());
    QCoreApplication::processEvents();
    form->StaticText1Click();
    form->SpeedButton1Click();
    form->BitBtn2Click();
    form->ToolButton2Click();
    form->Image1Click(View(0));
    form->FileSaveItemClick();
    form->CopyItemClick();
    QCOMPARE(first->Canvas().Font.Height, 12);
    QVERIFY(View(0)->cursor().shape() != Qt::CrossCursor);
    QVERIFY(messages.isEmpty());
  }

  void eraserOutlines() {
    const int h = form->CreateEraserOutline("newsahpe1");
    QVERIFY(h > 0);
    auto* outline = View(0)->findChild<QWidget*>("newsahpe1");
    QVERIFY(outline);
    QVERIFY(!outline->isVisible());
    form->ShowEraserOutline(h, 105, 55, 7, 7);
    QVERIFY(outline->isVisible());
    QCOMPARE(outline->geometry(), QRect(105, 55, 7, 7));
    QVERIFY(form->EraserOutlineExists(h));
    // Extreme values are kept away from overflow.
    form->ShowEraserOutline(h, INT_MAX, INT_MIN, -5, INT_MAX);
    Window(0)->close();
    QVERIFY(!form->EraserOutlineExists(h));
    form->ShowEraserOutline(h, 1, 1, 1, 1);
    form->DestroyEraserOutline(h);
    QCoreApplication::processEvents();
    QCOMPARE(form->CreateEraserOutline("newsahpe2"), 0);
  }

  void repaintRectanglesAreClipped() {
    form->RepaintSurface(*SurfaceOf(0), TRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX});
    form->RepaintSurface(*SurfaceOf(0), TRect{5, 5, 2, 2});
    Surface stranger;
    form->RepaintSurface(stranger, TRect{0, 0, 10, 10});
    QVERIFY(!form->SurfaceWidget(stranger));
    QCOMPARE(form->SurfaceWidget(*SurfaceOf(0)), static_cast<QWidget*>(View(0)));
  }

  void windowCommands() {
    form->FileNewItemClick();
    form->FileNewItemClick();
    form->WindowMinimizeItemClick();
    for (TMDIChild* w : form->DocumentWindows()) QVERIFY(w->isMinimized());
    form->WindowArrangeItemClick();
    const int bottom = form->MdiArea()->viewport()->height();
    for (TMDIChild* w : form->DocumentWindows()) QCOMPARE(w->geometry().bottom() + 1, bottom);
    for (TMDIChild* w : form->DocumentWindows()) w->showNormal();
    form->WindowTileItemClick();
    const QList<TMDIChild*> ws = form->DocumentWindows();
    for (int i = 1; i < ws.size(); ++i) {
      QVERIFY(!ws[i]->geometry().intersects(ws[i - 1]->geometry()));
    }
    form->WindowCascadeItemClick();
    form->FileCloseItemClick();
    QCOMPARE(form->DocumentWindows().size(), 2);
  }

  void formCloseClosesActiveDocument() {
    form->FileNewItemClick();
    form->FileNewItemClick();
    auto* active = qobject_cast<TMDIChild*>(form->ActiveDocumentWindow());
    QVERIFY(active);
    form->FormClose();
    QVERIFY(active->Closed());
    QCOMPARE(form->DocumentWindows().size(), 2);
    // Another window becomes active, so Close keeps working down to the last one.
    QCoreApplication::processEvents();
    form->FileCloseItemClick();
    form->FileCloseItemClick();
    QVERIFY(form->DocumentWindows().isEmpty());
    QVERIFY(!form->ActiveDocumentWindow());
    form->FileCloseItemClick();
  }

  void surfaceShowsPictureUnscaledAtTopLeft() {
    TSurfaceView* v = View(0);
    auto surface = SurfaceOf(0);
    // No picture yet: the window colour only.
    QImage shot = v->grab().toImage();
    QCOMPARE(shot.pixelColor(3, 3), v->palette().color(QPalette::Base));
    auto bmp = std::make_unique<TBitmap>(30, 20, clBlack);
    bmp->ScanLine(19)[29] = ColorToPixel(0x0000FF);
    surface->Picture().SetBitmap(std::move(bmp));
    form->RefreshSurface(*surface);
    shot = v->grab().toImage();
    QCOMPARE(shot.pixelColor(0, 0), QColor(Qt::black));
    QCOMPARE(shot.pixelColor(29, 19), QColor(Qt::red));
    QCOMPARE(shot.pixelColor(30, 5), v->palette().color(QPalette::Base));
    QCOMPARE(shot.pixelColor(5, 20), v->palette().color(QPalette::Base));
    // A metafile paints itself at its display size.
    surface->Picture().SetForeign(std::make_unique<FakeMetafile>());
    shot = v->grab().toImage();
    QCOMPARE(shot.pixelColor(19, 9), QColor(Qt::blue));
    QCOMPARE(shot.pixelColor(20, 9), v->palette().color(QPalette::Base));
  }

  void windowMenuListsDocuments() {
    form->FileNewItemClick();
    emit form->Window1->aboutToShow();
    QStringList titles;
    for (QAction* a : form->Window1->actions()) titles << a->text();
    QVERIFY(titles.contains(U("&1 新規1")));
    QVERIFY(titles.contains(U("&2 新規2")));
    CloseAndSettle(Window(0));
    emit form->Window1->aboutToShow();
    titles.clear();
    for (QAction* a : form->Window1->actions()) titles << a->text();
    QVERIFY(!titles.contains(U("&1 新規1")));
    QVERIFY(titles.contains(U("&1 新規2")));
  }

  void exitClosesTheActiveDocumentAndTheWindow() {
    form->FileNewItemClick();
    form->FileNewItemClick();
    auto* active = qobject_cast<TMDIChild*>(form->ActiveDocumentWindow());
    form->FileExitItemClick();
    QVERIFY(!form->isVisible());
    QVERIFY(active->Closed());
    QCOMPARE(form->DocumentWindows().size(), 2);
    QVERIFY(messages.isEmpty());
  }

  void aboutBox() {
    TAboutBox* box = form->AboutBox();
    QVERIFY(!box->isVisible());
    QCOMPARE(box->windowTitle(), U("ﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(box->size(), QSize(406, 282));
    QCOMPARE(box->Version->text(), U("Version　98"));
    QVERIFY(box->OKButton->isDefault());
    const QImage plan = TAboutBox::SamplePicture();
    QCOMPARE(plan.size(), QSize(334, 216));
    // Drawn with the tools: a wall of the house and some colour inside it.
    QCOMPARE(plan.pixelColor(9, 100), QColor(Qt::black));
    QVERIFY(plan.pixelColor(40, 40) != QColor(Qt::white));
  }
};

QTEST_MAIN(MainFormTest)
#include "mainform_test.moc"

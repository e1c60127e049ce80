// End to end on the real surface widget with QTest mouse events: a frame dragged out, filled
// and the fill undone; the read-outs and the eraser outline along the way.
#include <QApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QToolButton>
#include <QtTest>

#include "app/mainform.h"
#include "app/widgets.h"
#include "documents/childwin.h"
#include "documents/surface_view.h"

using namespace rv;

class DrawingE2E : public QObject {
  Q_OBJECT

  struct Window {
    TMainForm form;
    TSurfaceView* view = nullptr;

    Window() {
      form.resize(900, 700);
      form.show();
      if (!QTest::qWaitForWindowExposed(&form)) return;
      TMDIChild* doc = form.DocumentWindows().value(0);
      if (!doc) return;
      doc->resize(400, 300);
      view = doc->View();
    }
    const TBitmap* Bmp() const { return view->SurfacePtr()->Picture().Bitmap(); }
    TColor At(int x, int y) const { return Bmp()->Canvas().Pixel(x, y); }
    // What the widget shows at a bitmap pixel.
    QRgb Shown(int x, int y) { return view->grab().toImage().pixel(x, y) & 0xFFFFFF; }
  };

  static QRgb Rgb(TColor c) { return ColorToPixel(c) & 0xFFFFFF; }

  static void Drag(TSurfaceView* view, QPoint from, std::initializer_list<QPoint> path) {
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, from);
    QPoint last = from;
    for (QPoint p : path) {
      QTest::mouseMove(view, p);
      last = p;
    }
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, last);
  }

 private slots:
  void frameFillUndo() {
    Window w;
    QVERIFY(w.view);
    w.form.ToolButton("ToolButton1")->click();
    QCOMPARE(w.form.State().CurrentTool, toolFrame);

    QTest::mousePress(w.view, Qt::LeftButton, Qt::NoModifier, {40, 30});
    QTest::mouseMove(w.view, {100, 90});
    QVERIFY(w.form.State().PenDown);
    QVERIFY(w.form.State().DragMoved);
    QCOMPARE(w.form.Label4->text(), QString("X:100  Y:90"));
    QCOMPARE(w.form.StatusText(),
             QString::fromUtf8("間取りサイズ　縦・横　60 : 60　　比率 50 : 50    面積 3600"));
    QCOMPARE(w.view->cursor().shape(), Qt::CrossCursor);
    QTest::mouseMove(w.view, {160, 120});
    QTest::mouseRelease(w.view, Qt::LeftButton, Qt::NoModifier, {160, 120});
    QVERIFY(!w.form.State().PenDown);
    QCOMPARE(w.form.State().FrameRight, 160);
    QCOMPARE(w.At(40, 75), clBlack);   // the 7-pixel wall
    QCOMPARE(w.At(100, 75), clWhite);
    QCOMPARE(w.At(130, 100), clWhite);  // the earlier rubber band is gone
    QCOMPARE(w.Shown(40, 75), Rgb(clBlack));
    QVERIFY(w.form.StaticText1->isEnabled());

    // Fill the inside with the foreground colour (dark green at start).
    QTest::mouseClick(w.form.Panel3, Qt::LeftButton);
    QCOMPARE(w.form.State().CurrentTool, toolFill);
    QTest::mouseClick(w.view, Qt::LeftButton, Qt::NoModifier, {100, 75});
    QCOMPARE(w.At(100, 75), TColor{0x008000});
    QCOMPARE(w.At(40, 75), clBlack);
    QCOMPARE(w.At(200, 200), clWhite);
    QCOMPARE(w.Shown(100, 75), Rgb(0x008000));

    // Undo takes the fill away and leaves the frame.
    QTest::mouseClick(w.form.StaticText1, Qt::LeftButton);
    QCOMPARE(w.At(100, 75), clWhite);
    QCOMPARE(w.At(40, 75), clBlack);
    QVERIFY(!w.form.StaticText1->isEnabled());
    QCOMPARE(w.Shown(100, 75), Rgb(clWhite));
  }

  void rightReleaseMidDragLeavesTheBand() {
    Window w;
    QVERIFY(w.view);
    w.form.ToolButton("ToolButton6")->click();
    QTest::mousePress(w.view, Qt::LeftButton, Qt::NoModifier, {20, 20});
    QTest::mouseMove(w.view, {80, 60});
    QTest::mousePress(w.view, Qt::RightButton, Qt::NoModifier, {80, 60});
    QTest::mouseRelease(w.view, Qt::RightButton, Qt::NoModifier, {80, 60});
    QVERIFY(!w.form.State().PenDown);
    QTest::mouseRelease(w.view, Qt::LeftButton, Qt::NoModifier, {80, 60});
    QCOMPARE(w.At(20, 40), clBlack);  // the band's left edge stays
    QCOMPARE(w.At(50, 40), clWhite);
  }

  void eraserOutlineFollowsAndGoes() {
    Window w;
    QVERIFY(w.view);
    Drag(w.view, {10, 10}, {{150, 120}});  // a frame to erase from
    w.form.ToolButton("ToolButton11")->click();
    QCOMPARE(w.form.State().CurrentTool, toolEraser);
    QTest::mousePress(w.view, Qt::LeftButton, Qt::NoModifier, {5, 60});
    auto* outline = w.form.findChild<QWidget*>("newsahpe1");
    QVERIFY(outline);
    QVERIFY(!outline->isVisible());
    QTest::mouseMove(w.view, {5, 60});
    QVERIFY(outline->isVisible());
    QCOMPARE(outline->size(), QSize(7, 7));
    QCOMPARE(w.At(10, 66), clWhite);  // the wall is erased under the square
    QCOMPARE(w.At(10, 80), clBlack);
    QTest::mouseRelease(w.view, Qt::LeftButton, Qt::NoModifier, {5, 60});
    QTRY_VERIFY(w.form.findChild<QWidget*>("newsahpe1") == nullptr);
  }
};

QTEST_MAIN(DrawingE2E)
#include "drawing_e2e_test.moc"

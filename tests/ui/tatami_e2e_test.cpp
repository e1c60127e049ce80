// End to end: a floor-plan frame dragged on the real surface, "6" chosen, the tatami
// button clicked; the mats and joints land inside the frame.
#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QMouseEvent>
#include <QToolButton>
#include <QtTest>

#include "app/mainform.h"
#include "documents/childwin.h"
#include "documents/surface_view.h"

using namespace rv;

class TatamiE2E : public QObject {
  Q_OBJECT

  static void Send(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button,
                   Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(p), w->mapToGlobal(QPointF(p)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
  }

 private slots:
  void sixMatsInADraggedFrame() {
    TMainForm form;
    form.resize(900, 700);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(!form.DocumentWindows().isEmpty());
    TMDIChild* doc = form.DocumentWindows().first();
    doc->resize(400, 300);
    TSurfaceView* view = doc->View();
    QVERIFY(view);

    form.ToolButton("ToolButton1")->click();
    QCOMPARE(form.State().CurrentTool, toolFrame);

    // Drag the frame from (10, 10) to (130, 100): W = 120, H = 90, wider than tall.
    Send(view, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
    Send(view, QEvent::MouseMove, {70, 50}, Qt::NoButton, Qt::LeftButton);
    Send(view, QEvent::MouseMove, {130, 100}, Qt::NoButton, Qt::LeftButton);
    Send(view, QEvent::MouseButtonRelease, {130, 100}, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(form.State().FrameRight, 130);
    QCOMPARE(form.State().FrameBottom, 100);

    form.RadioGroup1Items->button(2)->click();  // "6"
    QCOMPARE(form.RadioGroup1ItemIndex(), 2);
    QVERIFY(form.SpeedButton1->isEnabled());
    form.SpeedButton1->click();

    // Landscape: u = 30, v = 30.
    QCOMPARE(form.State().SpanX, 30);
    QCOMPARE(form.State().SpanY, 30);
    const TBitmap* bmp = view->SurfacePtr()->Picture().Bitmap();
    QVERIFY(bmp);
    auto at = [&](int x, int y) { return bmp->Canvas().Pixel(x, y); };
    const TColor mat = 0x0080FF80;
    QCOMPARE(at(25, 25), mat);       // first mat, top left
    QCOMPARE(at(85, 85), mat);       // a middle mat
    QCOMPARE(at(25, 40), clBlack);   // joint (L, T + v)-(R, T + v)
    QCOMPARE(at(40, 85), clBlack);   // joint (L + u, T + v)-(L + u, T + 3v)
    QCOMPARE(at(70, 25), clBlack);   // joint (L + 2u, T)-(L + 2u, T + v)
    QCOMPARE(at(70, 55), mat);       // below where that joint ends
    QCOMPARE(at(10, 50), clBlack);   // the frame's wall
    QCOMPARE(at(200, 200), clWhite); // outside the frame
  }
};

QTEST_MAIN(TatamiE2E)
#include "tatami_e2e_test.moc"

// The real font dialog of BitBtn2: confirmed as it opens, the text font stays what it was.
#include <QApplication>
#include <QFontDialog>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/mainform.h"
#include "drawing/canvas.h"
#include "drawing/surface.h"

using namespace rv;

namespace {

// Answers the next font dialog: `change` may set it up, then it is confirmed. Polls until
// the dialog is up; gives up (cancelling whatever is modal) after a few seconds.
void AnswerFontDialog(std::function<void(QFontDialog&)> change, int tries = 100) {
  QTimer::singleShot(30, [change, tries] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* d = qobject_cast<QFontDialog*>(modal)) {
      if (change) change(*d);
      d->accept();
    } else if (tries > 0) {
      AnswerFontDialog(change, tries - 1);
    } else if (auto* other = qobject_cast<QDialog*>(modal)) {
      other->reject();
    }
  });
}

}  // namespace

class FontDialogTest : public QObject {
  Q_OBJECT
 private slots:
  void confirmedUnchangedKeepsTheFont() {
    TMainForm form;
    form.show();
    auto surface = form.State().ActiveImage.lock();
    QVERIFY(surface);
    const TFont before = surface->Canvas().Font;
    QCOMPARE(before, TFont{});
    // Twice: the second dialog starts from what the first one gave.
    for (int i = 0; i < 2; ++i) {
      AnswerFontDialog({});
      form.BitBtn2Click();
      QCOMPARE(form.FontDialogFont(), before);
      QCOMPARE(surface->Canvas().Font, before);
    }
  }

  void aChosenSizeArrives() {
    TMainForm form;
    form.show();
    auto surface = form.State().ActiveImage.lock();
    QVERIFY(surface);
    AnswerFontDialog([](QFontDialog& d) {
      QFont f = d.currentFont();
      f.setPointSize(15);  // 20 pixels at 96 per inch
      d.setCurrentFont(f);
    });
    form.BitBtn2Click();
    const TFont& got = surface->Canvas().Font;
    QCOMPARE(got.Height, 20);
    // Same family as before: the name is kept.
    QCOMPARE(got.Name, TFont{}.Name);
  }
};

QTEST_MAIN(FontDialogTest)
#include "font_dialog_test.moc"

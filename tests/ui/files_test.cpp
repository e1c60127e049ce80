// The File and Edit menu commands on the real main window, dialogs answered by the test.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QTimer>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

#include "app/mainform.h"
#include "app/messages.h"
#include "documents/bmp_codec.h"
#include "documents/childwin.h"
#include "documents/dialog_hooks.h"
#include "documents/picture_io.h"

using namespace rv;

class FilesTest : public QObject {
  Q_OBJECT

 private:
  TMainForm* form = nullptr;
  QStringList messages;
  QStringList answers;  // file dialog answers; an empty string cancels
  QTemporaryDir dir;
  int printed = 0;

  void WriteBmp(const QString& name, int w, int h, TColor c) {
    TBitmap bmp(w, h, c);
    bmp.ScanLine(h - 1)[w - 1] = ColorToPixel(0x00FF00);
    QFile f(dir.filePath(name));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(EncodeBmp(bmp));
  }

 private slots:
  void init() {
    messages.clear();
    answers.clear();
    printed = 0;
    SetMessageHook([this](const QString& m) { messages.append(m); });
    SetFileDialogHook([this](QWidget*, const FileDialogRequest&) -> std::optional<QString> {
      if (answers.isEmpty() || answers.first().isEmpty()) {
        if (!answers.isEmpty()) answers.removeFirst();
        return std::nullopt;
      }
      return answers.takeFirst();
    });
    SetPrintDialogHook([](QWidget*, QPrinter&) { return true; });
    SetPrinterHook([this](QPrinter& p) {
      p.setOutputFormat(QPrinter::PdfFormat);
      p.setOutputFileName(dir.filePath(QString("print%1.pdf").arg(++printed)));
      return true;
    });
    form = new TMainForm;
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
  }

  void cleanup() {
    delete form;
    form = nullptr;
    SetMessageHook({});
    SetFileDialogHook({});
    SetPrintDialogHook({});
    SetPrinterHook({});
  }

  void openSizesTheNewDocumentToThePicture() {
    WriteBmp("room.bmp", 300, 200, 0x0000FF);
    answers << dir.filePath("room.bmp");
    form->FileOpenItem->trigger();
    QVERIFY(messages.isEmpty());
    QCOMPARE(form->DocumentWindows().size(), 2);
    QMdiSubWindow* w = form->ActiveDocumentWindow();
    QCOMPARE(w->windowTitle(), QString::fromUtf8("新規2"));
    QCOMPARE(w->frameGeometry().size(), QSize(300, 200));
    auto s = form->State().ActiveImage.lock();
    QVERIFY(s);
    QCOMPARE(s->Picture().Width(), 300);
    QCOMPARE(form->State().SaveFileName, dir.filePath("room.bmp").toStdString());
  }

  void failedOpenShowsTheErrorAndKeepsTheSaveName() {
    form->State().SaveFileName = dir.filePath("mine.BMP").toStdString();
    answers << dir.filePath("plan.gif");
    form->FileOpenItem->trigger();
    QCOMPARE(messages, QStringList{QString::fromUtf8("拡張子 .gif の画像形式は処理できません")});
    QCOMPARE(form->DocumentWindows().size(), 2);
    QCOMPARE(form->State().SaveFileName, dir.filePath("mine.BMP").toStdString());
    // Cancelled: one more empty document.
    answers << QString();
    form->FileOpenItem->trigger();
    QCOMPARE(form->DocumentWindows().size(), 3);
    QVERIFY(form->State().ActiveImage.lock()->Picture().Empty());
  }

  void saveAsWritesWhatWasOpenedPixelForPixel() {
    WriteBmp("a.bmp", 40, 30, 0x123456);
    answers << dir.filePath("a.bmp") << dir.filePath("copy");
    form->FileOpenItem->trigger();
    form->FileSaveAsItem->trigger();
    QVERIFY(messages.isEmpty());
    QCOMPARE(form->State().SaveFileName, dir.filePath("copy.BMP").toStdString());
    Picture a, b;
    LoadPictureFile(a, dir.filePath("a.bmp"));
    LoadPictureFile(b, dir.filePath("copy.BMP"));
    QVERIFY(std::equal(a.Bitmap()->Bits(), a.Bitmap()->Bits() + 40 * 30, b.Bitmap()->Bits()));
  }

  void saveToAnUnwritablePlaceShowsTheError() {
    WriteBmp("b.bmp", 10, 10, 0);
    answers << dir.filePath("b.bmp");
    form->FileOpenItem->trigger();
    form->State().SaveFileName = dir.filePath("no/such/dir/x.BMP").toStdString();
    form->FileSaveItem->trigger();
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages[0].contains(QString::fromUtf8("書き込めません")));
  }

  void copyAndPrintTheLastOpenedPicture() {
    WriteBmp("c.bmp", 50, 20, 0xFF0000);
    answers << dir.filePath("c.bmp");
    form->FileOpenItem->trigger();
    form->CopyItem->trigger();
    const QImage got = QGuiApplication::clipboard()->image();
    QCOMPARE(got.size(), QSize(50, 20));
    QCOMPARE(got.pixel(0, 0) & 0xFFFFFF, 0x0000FFu);
    form->Print1->trigger();
    QVERIFY(messages.isEmpty());
    QCOMPARE(printed, 1);
    QVERIFY(QFileInfo(dir.filePath("print1.pdf")).size() > 0);
  }

  void realDialogsShowTheJapaneseFilters() {
    SetFileDialogHook({});
    const auto labels = [&](const QStringList& filters) {
      QStringList seen;
      QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
          auto* d = qobject_cast<QFileDialog*>(w);
          if (!d || !d->isVisible()) continue;
          if (auto* combo = d->findChild<QComboBox*>("fileTypeCombo")) {
            for (int i = 0; i < combo->count(); ++i) seen << combo->itemText(i);
          }
          d->reject();
        }
      });
      const std::optional<QString> chosen = RunFileDialog(form, {false, filters, {}});
      if (chosen) seen << "(accepted)";
      return seen;
    };
    QCOMPARE(labels(OpenPictureFilters()),
             (QStringList{QString::fromUtf8("すべてのﾌｧｲﾙ (*.bmp;*.ico;*.emf;*.wmf)"),
                          QString::fromUtf8("ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)"), QString::fromUtf8("ｱｲｺﾝ (*.ico)"),
                          QString::fromUtf8("ｴﾝﾊﾝｽ ﾒﾀﾌｧｲﾙ (*.emf)"),
                          QString::fromUtf8("ﾒﾀﾌｧｲﾙ (*.wmf)")}));
    QCOMPARE(labels(SavePictureFilters()), (QStringList{"*.bmp", "*.BMP"}));
  }
};

QTEST_MAIN(FilesTest)
#include "files_test.moc"

// Open, Save, Save As, Copy and Print over a stand-in main window, with the dialogs answered
// by the test; printing goes to a PDF file that is rendered back and pixel-checked.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <deque>

#include "documents/bmp_codec.h"
#include "documents/dialog_hooks.h"
#include "documents/ico_codec.h"
#include "documents/picture_commands.h"
#include "documents/picture_io.h"
#include "documents/printing.h"
#include "test_util.h"

namespace rv::test {
namespace {

class FakeHost : public PictureCommandHost {
 public:
  DrawingState state;
  std::vector<std::shared_ptr<Surface>> documents;
  QSize last_resize{-1, -1};
  int refreshed = 0;

  DrawingState& State() override { return state; }
  void NewDocument() override {
    ++state.DocumentCount;
    auto s = std::make_shared<Surface>("newimage" + std::to_string(state.DocumentCount));
    s->SetControlSize(200, 100);
    documents.push_back(s);
    state.ActiveImage = s;
  }
  void ResizeActiveDocument(int w, int h) override { last_resize = {w, h}; }
  void RefreshSurface(Surface&) override { ++refreshed; }
  QWidget* DialogParent() override { return nullptr; }

  // A pressed document with a bitmap of one colour.
  std::shared_ptr<Surface> Drawn(int w, int h, TColor c) {
    NewDocument();
    documents.back()->Picture().SetBitmap(std::make_unique<TBitmap>(w, h, c));
    return documents.back();
  }
};

// Answers file dialogs from a queue (nullopt: cancel) and records what was asked.
class DialogScript {
 public:
  std::deque<std::optional<QString>> answers;
  std::vector<FileDialogRequest> asked;
  bool print_answer = true;
  int print_dialogs = 0;
  std::function<bool(QPrinter&)> printer = [](QPrinter&) { return false; };

  DialogScript() {
    SetFileDialogHook([this](QWidget*, const FileDialogRequest& r) -> std::optional<QString> {
      asked.push_back(r);
      if (answers.empty()) return std::nullopt;
      auto a = answers.front();
      answers.pop_front();
      return a;
    });
    SetPrintDialogHook([this](QWidget*, QPrinter&) {
      ++print_dialogs;
      return print_answer;
    });
    SetPrinterHook([this](QPrinter& p) { return printer(p); });
  }
  ~DialogScript() {
    SetFileDialogHook({});
    SetPrintDialogHook({});
    SetPrinterHook({});
  }
};

TEST(SaveCommands, SaveWithoutANameAsksAndAppendsBmpOnlyWhenMissing) {
  QTemporaryDir dir;
  const struct {
    const char* chosen;
    const char* written;
  } cases[] = {{"plan", "plan.BMP"}, {"plan.bmp", "plan.bmp"}, {"Plan.BmP", "Plan.BmP"},
               {"plan.bmp.txt", "plan.bmp.txt.BMP"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chosen);
    DialogScript dialogs;
    FakeHost host;
    host.Drawn(3, 2, 0x0000FF);
    dialogs.answers.push_back(dir.filePath(c.chosen));
    SavePicture(host);  // no name yet: behaves as Save As
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_TRUE(dialogs.asked[0].save);
    EXPECT_EQ(dialogs.asked[0].filters, SavePictureFilters());
    EXPECT_EQ(host.state.SaveFileName, dir.filePath(c.written).toStdString());
    EXPECT_TRUE(QFile::exists(dir.filePath(c.written)));
    // A later Save writes to the same name without asking.
    host.Drawn(4, 4, 0x00FF00);
    SavePicture(host);
    EXPECT_EQ(dialogs.asked.size(), 1u);
    Picture back;
    LoadPictureFile(back, QString::fromStdString(host.state.SaveFileName));
    EXPECT_EQ(back.Width(), 4);
  }
  EXPECT_EQ(SaveAsFileName("a.BMP"), "a.BMP");
}

TEST(SaveCommands, CancelAndEmptySurfaceWriteNothing) {
  QTemporaryDir dir;
  DialogScript dialogs;
  FakeHost host;
  host.NewDocument();  // never pressed: no graphic
  host.state.SaveFileName = dir.filePath("keep.BMP").toStdString();
  SavePicture(host);
  EXPECT_FALSE(QFile::exists(dir.filePath("keep.BMP")));

  dialogs.answers.push_back(std::nullopt);  // Save As cancelled
  host.Drawn(2, 2, 0);
  SavePictureAs(host);
  EXPECT_EQ(host.state.SaveFileName, dir.filePath("keep.BMP").toStdString());
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST(SaveCommands, GoneActiveImageMakesEveryCommandANoOp) {
  DialogScript dialogs;
  FakeHost host;
  host.Drawn(2, 2, 0);
  host.documents.clear();  // the document window closed
  ASSERT_TRUE(host.state.ActiveImage.expired());
  SavePicture(host);
  SavePictureAs(host);
  CopyPicture(host);
  PrintPicture(host);
  EXPECT_TRUE(dialogs.asked.empty());
  EXPECT_EQ(dialogs.print_dialogs, 0);
}

TEST(OpenCommand, ReadsIntoANewDocumentSizedToThePicture) {
  QTemporaryDir dir;
  DialogScript dialogs;
  FakeHost host;
  TBitmap src(37, 21, 0x102030);
  src.ScanLine(20)[36] = ColorToPixel(0xABCDEF);
  ASSERT_TRUE(WriteAll(dir.filePath("room.bmp"), EncodeBmp(src)));

  dialogs.answers.push_back(dir.filePath("room.bmp"));
  OpenPicture(host);
  ASSERT_EQ(host.documents.size(), 1u);
  EXPECT_FALSE(dialogs.asked[0].save);
  EXPECT_EQ(dialogs.asked[0].filters, OpenPictureFilters());
  const Picture& pic = host.documents[0]->Picture();
  ASSERT_EQ(pic.Kind(), GraphicKind::Bitmap);
  EXPECT_EQ(host.last_resize, QSize(37, 21));
  EXPECT_EQ(Rgb(*pic.Bitmap(), 36, 20), ColorToPixel(0xABCDEF) & 0xFFFFFF);
  EXPECT_EQ(host.state.SaveFileName, dir.filePath("room.bmp").toStdString());

  // Saving it again writes the same pixels: the program opens what it saves.
  SavePicture(host);
  Picture back;
  LoadPictureFile(back, dir.filePath("room.bmp"));
  EXPECT_TRUE(std::equal(src.Bits(), src.Bits() + 37 * 21, back.Bitmap()->Bits()));

  // The next dialog starts at the name chosen last.
  OpenPicture(host);  // cancelled: an extra empty document stays
  EXPECT_EQ(dialogs.asked[1].initial_name, dir.filePath("room.bmp"));
  EXPECT_EQ(host.documents.size(), 2u);
  EXPECT_TRUE(host.documents[1]->Picture().Empty());
}

TEST(OpenCommand, AFailedOpenLeavesTheSaveNameAlone) {
  QTemporaryDir dir;
  DialogScript dialogs;
  FakeHost host;
  ASSERT_TRUE(WriteAll(dir.filePath("broken.bmp"), QByteArray("BM broken")));
  ASSERT_TRUE(WriteAll(dir.filePath("photo.png"), QByteArray("png")));
  host.state.SaveFileName = dir.filePath("mine.BMP").toStdString();
  for (const char* name : {"broken.bmp", "photo.png", "missing.ico"}) {
    SCOPED_TRACE(name);
    dialogs.answers.push_back(dir.filePath(name));
    EXPECT_THROW(OpenPicture(host), EngineError);
    EXPECT_TRUE(host.documents.back()->Picture().Empty());
    EXPECT_EQ(host.state.SaveFileName, dir.filePath("mine.BMP").toStdString());
  }
  EXPECT_EQ(host.last_resize, QSize(-1, -1));
  // Pressing another document and saving writes that one, not over the broken file.
  host.Drawn(2, 2, 0);
  SavePicture(host);
  EXPECT_EQ(ReadAll(dir.filePath("broken.bmp")), QByteArray("BM broken"));
  EXPECT_TRUE(QFile::exists(dir.filePath("mine.BMP")));
}

TEST(OpenCommand, SaveActsOnTheLastPressedNotTheOpenedDocument) {
  QTemporaryDir dir;
  DialogScript dialogs;
  FakeHost host;
  ASSERT_TRUE(WriteAll(dir.filePath("a.bmp"), EncodeBmp(TBitmap(5, 5, 0x0000FF))));
  dialogs.answers.push_back(dir.filePath("a.bmp"));
  OpenPicture(host);
  host.Drawn(8, 3, 0x00FF00);  // drawn in another document
  SavePicture(host);
  Picture back;
  LoadPictureFile(back, dir.filePath("a.bmp"));
  EXPECT_EQ(back.Width(), 8);
}

TEST(CopyCommand, BitmapAsImageEmptyLeavesNothingIconRefused) {
  QClipboard* cb = QGuiApplication::clipboard();
  FakeHost host;
  auto s = host.Drawn(4, 3, 0x0080FF);
  CopyPicture(host);
  const QImage got = cb->image();
  ASSERT_EQ(got.size(), QSize(4, 3));
  EXPECT_EQ(got.pixel(3, 2) & 0xFFFFFF, 0xFF8000u);

  host.NewDocument();  // no graphic: the clipboard is emptied
  CopyPicture(host);
  EXPECT_TRUE(cb->image().isNull());

  cb->setText("before");
  const QByteArray ico = ReadAll(DataFile("bmp_entry.ico"));
  ASSERT_FALSE(ico.isEmpty());
  host.documents.back()->Picture().SetForeign(IconGraphic::Decode(ico));
  EXPECT_THROW(CopyPicture(host), EngineError);
  EXPECT_EQ(cb->text(), "before");
}

// Renders a PDF page back at 96 pixels per inch.
QImage RenderPdf(const QString& pdf, const QString& prefix) {
  QProcess p;
  p.start("pdftoppm", {"-r", "96", "-png", "-singlefile", pdf, prefix});
  if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
  return QImage(prefix + ".png");
}

TEST(PrintLayout, A4PageWithThePictureAtScreenResolutionClipped) {
  if (QStandardPaths::findExecutable("pdftoppm").isEmpty()) GTEST_SKIP() << "no pdftoppm";
  QTemporaryDir dir;
  Picture pic;
  // Larger than the image rectangle on both axes.
  pic.SetBitmap(std::make_unique<TBitmap>(800, 1100, 0x0000FF));
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.filePath("page.pdf"));
  ASSERT_TRUE(PrintPicturePage(printer, pic));
  const QImage page = RenderPdf(dir.filePath("page.pdf"), dir.filePath("page"));
  ASSERT_FALSE(page.isNull());
  EXPECT_NEAR(page.width(), 794, 1);   // 210 mm
  EXPECT_NEAR(page.height(), 1123, 1); // 297 mm
  // The PDF may hold the picture lossily compressed: near enough is the colour.
  const auto near = [&](int x, int y, QRgb want) {
    const QRgb got = page.pixel(x, y);
    const bool ok = std::abs(qRed(got) - qRed(want)) < 24 && std::abs(qGreen(got) - qGreen(want)) < 24 &&
                    std::abs(qBlue(got) - qBlue(want)) < 24;
    if (!ok) ADD_FAILURE() << x << "," << y << " is " << std::hex << got;
    return ok;
  };
  const auto red = [&](int x, int y) { return near(x, y, qRgb(255, 0, 0)); };
  const auto white = [&](int x, int y) { return near(x, y, qRgb(255, 255, 255)); };
  // Top-left at 26.67 px, right clip at 753.33, bottom clip at 1073.33.
  EXPECT_TRUE(white(25, 100));
  EXPECT_TRUE(white(100, 25));
  EXPECT_TRUE(red(28, 28));
  EXPECT_TRUE(red(752, 500));
  EXPECT_TRUE(white(755, 500));
  EXPECT_TRUE(red(400, 1072));
  EXPECT_TRUE(white(400, 1075));
}

TEST(PrintCommand, PrintsWhatIsShownAndLeavesTheDocumentAlone) {
  QTemporaryDir dir;
  DialogScript dialogs;
  FakeHost host;
  int printed = 0;
  dialogs.printer = [&](QPrinter& p) {
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(dir.filePath(QString("p%1.pdf").arg(++printed)));
    return true;
  };
  host.NewDocument();
  host.documents.back()->Picture().SetForeign(
      IconGraphic::Decode(ReadAll(DataFile("bmp_entry.ico"))));
  PrintPicture(host);
  EXPECT_EQ(printed, 1);
  EXPECT_TRUE(QFile::exists(dir.filePath("p1.pdf")));
  EXPECT_EQ(host.documents.back()->Picture().Kind(), GraphicKind::Icon);

  host.NewDocument();  // nothing drawn: an empty page, and still no graphic
  PrintPicture(host);
  EXPECT_EQ(printed, 2);
  EXPECT_TRUE(host.documents.back()->Picture().Empty());

  dialogs.print_answer = false;  // cancelled: nothing printed
  PrintPicture(host);
  EXPECT_EQ(printed, 2);

  dialogs.print_answer = true;  // no printer: nothing printed, no error
  dialogs.printer = [](QPrinter&) { return false; };
  EXPECT_NO_THROW(PrintPicture(host));
  EXPECT_EQ(dialogs.print_dialogs, 4);
}

}  // namespace
}  // namespace rv::test

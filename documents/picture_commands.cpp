#include "documents/picture_commands.h"

#include <QApplication>
#include <QPrinter>
#include <QProgressDialog>

#include "documents/clipboard.h"
#include "documents/dialog_hooks.h"
#include "documents/picture_io.h"
#include "documents/printing.h"

namespace rv {

namespace {

// Each dialog starts with the name chosen in it last.
QString& LastOpenName() {
  static QString name;
  return name;
}
QString& LastSaveName() {
  static QString name;
  return name;
}

}  // namespace

QString SaveAsFileName(const QString& chosen) {
  if (chosen.endsWith(QStringLiteral(".bmp"), Qt::CaseInsensitive)) return chosen;
  return chosen + QStringLiteral(".BMP");
}

void OpenPicture(PictureCommandHost& host) {
  host.NewDocument();
  const std::shared_ptr<Surface> surface = host.State().ActiveImage.lock();
  const std::optional<QString> chosen =
      RunFileDialog(host.DialogParent(), {false, OpenPictureFilters(), LastOpenName()});
  if (!chosen) return;
  LastOpenName() = *chosen;
  if (!surface) return;
  LoadPictureFile(surface->Picture(), *chosen);
  // Only a file that was read becomes the name Save writes to.
  host.State().SaveFileName = chosen->toStdString();
  host.RefreshSurface(*surface);
  host.ResizeActiveDocument(surface->Picture().Width(), surface->Picture().Height());
}

void SavePicture(PictureCommandHost& host) {
  const std::shared_ptr<Surface> surface = host.State().ActiveImage.lock();
  if (!surface) return;
  if (host.State().SaveFileName.empty()) {
    SavePictureAs(host);
    return;
  }
  SavePictureFile(surface->Picture(), QString::fromStdString(host.State().SaveFileName));
}

void SavePictureAs(PictureCommandHost& host) {
  if (host.State().ActiveImage.expired()) return;
  const std::optional<QString> chosen =
      RunFileDialog(host.DialogParent(), {true, SavePictureFilters(), LastSaveName()});
  if (!chosen) return;
  LastSaveName() = *chosen;
  host.State().SaveFileName = SaveAsFileName(*chosen).toStdString();
  SavePicture(host);
}

void CopyPicture(PictureCommandHost& host) {
  const std::shared_ptr<Surface> surface = host.State().ActiveImage.lock();
  if (!surface) return;
  CopyPictureToClipboard(surface->Picture());
}

void PrintPicture(PictureCommandHost& host) {
  const std::shared_ptr<Surface> surface = host.State().ActiveImage.lock();
  if (!surface) return;
  {
    QPrinter dialog_printer(QPrinter::HighResolution);
    if (!RunPrintDialog(host.DialogParent(), dialog_printer)) return;
  }
  // What was chosen in the dialog is not used: the page goes to the default printer.
  QPrinter printer(QPrinter::HighResolution);
  if (!ChoosePrinter(printer)) return;
  QProgressDialog progress(host.DialogParent());
  progress.setWindowTitle(QStringLiteral("印刷中"));
  progress.setLabelText(QStringLiteral("印刷中"));
  progress.setCancelButton(nullptr);
  progress.setRange(0, 0);
  progress.setMinimumDuration(0);
  progress.setWindowModality(Qt::ApplicationModal);
  progress.show();
  progress.repaint();
  PrintPicturePage(printer, surface->Picture());
  progress.close();
}

}  // namespace rv

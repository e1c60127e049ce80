#include "documents/dialog_hooks.h"

#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace rv {

namespace {

FileDialogHook& FileHook() {
  static FileDialogHook hook;
  return hook;
}
PrintDialogHook& PrintHook() {
  static PrintDialogHook hook;
  return hook;
}
PrinterHook& OutputHook() {
  static PrinterHook hook;
  return hook;
}

}  // namespace

void SetFileDialogHook(FileDialogHook hook) { FileHook() = std::move(hook); }
void SetPrintDialogHook(PrintDialogHook hook) { PrintHook() = std::move(hook); }
void SetPrinterHook(PrinterHook hook) { OutputHook() = std::move(hook); }

// The label is shown alone (HideNameFilterDetails); the patterns in the last parentheses are
// what Qt filters by, space-separated as it wants them.
QStringList OpenPictureFilters() {
  return {
      QStringLiteral("すべてのﾌｧｲﾙ (*.bmp;*.ico;*.emf;*.wmf) (*.bmp *.ico *.emf *.wmf)"),
      QStringLiteral("ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp) (*.bmp)"),
      QStringLiteral("ｱｲｺﾝ (*.ico) (*.ico)"),
      QStringLiteral("ｴﾝﾊﾝｽ ﾒﾀﾌｧｲﾙ (*.emf) (*.emf)"),
      QStringLiteral("ﾒﾀﾌｧｲﾙ (*.wmf) (*.wmf)"),
  };
}

QStringList SavePictureFilters() {
  return {QStringLiteral("*.bmp (*.bmp)"), QStringLiteral("*.BMP (*.BMP)")};
}

std::optional<QString> RunFileDialog(QWidget* parent, const FileDialogRequest& request) {
  if (FileHook()) return FileHook()(parent, request);
  QFileDialog dialog(parent);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilters(request.filters);
  if (!request.filters.isEmpty()) dialog.selectNameFilter(request.filters.first());
  if (request.save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Save overwrites without asking.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  if (!request.initial_name.isEmpty()) dialog.selectFile(request.initial_name);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  return files.first();
}

bool RunPrintDialog(QWidget* parent, QPrinter& printer) {
  if (PrintHook()) return PrintHook()(parent, printer);
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

bool ChoosePrinter(QPrinter& printer) {
  if (OutputHook()) return OutputHook()(printer);
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) return false;
  printer.setPrinterName(info.printerName());
  printer.setOutputFormat(QPrinter::NativeFormat);
  return printer.isValid();
}

}  // namespace rv

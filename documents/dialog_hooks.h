// File and print dialogs go through these hooks so tests can answer them without a window.
// An unset hook shows Qt's own (non-native) dialog.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QPrinter;
class QWidget;

namespace rv {

struct FileDialogRequest {
  bool save = false;       // a save dialog, else an open dialog
  QStringList filters;     // in Qt's "label (patterns)" form
  QString initial_name;    // the name chosen in this dialog last time
};

// The chosen file name, or nothing when the user cancels.
using FileDialogHook = std::function<std::optional<QString>(QWidget* parent, const FileDialogRequest&)>;
// True when the user confirms printing.
using PrintDialogHook = std::function<bool(QWidget* parent, QPrinter& printer)>;
// Chooses where a confirmed print goes; unset: the system's default printer.
// Returns false when there is nowhere to print.
using PrinterHook = std::function<bool(QPrinter& printer)>;

void SetFileDialogHook(FileDialogHook hook);
void SetPrintDialogHook(PrintDialogHook hook);
void SetPrinterHook(PrinterHook hook);

std::optional<QString> RunFileDialog(QWidget* parent, const FileDialogRequest& request);
bool RunPrintDialog(QWidget* parent, QPrinter& printer);
bool ChoosePrinter(QPrinter& printer);

// The filters of the open and save dialogs, labels as the user sees them.
QStringList OpenPictureFilters();
QStringList SavePictureFilters();

}  // namespace rv

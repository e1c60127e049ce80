// One printed page: the picture at screen resolution on A4 portrait.
#pragma once

#include <QPrinter>

#include "drawing/picture.h"

namespace rv {

// Screen resolution the picture is printed at, and the image rectangle on the paper in mm
// from the paper's top-left corner.
inline constexpr double kPrintPixelsPerInch = 96.0;
inline constexpr double kPrintImageLeftMm = 7.0556;
inline constexpr double kPrintImageTopMm = 7.0556;
inline constexpr double kPrintImageWidthMm = 192.2639;
inline constexpr double kPrintImageHeightMm = 276.9306;

// Sets the printer to one copy of an A4 portrait page and prints `picture` at its natural
// size, top-left at the image rectangle's corner, clipped to that rectangle. An empty
// picture prints an empty page. The picture is only read. Returns false when the printer
// cannot start a page.
bool PrintPicturePage(QPrinter& printer, const Picture& picture);

}  // namespace rv

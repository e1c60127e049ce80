// ImageList1: the 24 tool pictures, 16 x 16, drawn pixel by pixel.
#pragma once

#include <QIcon>
#include <QImage>

namespace rv {

inline constexpr int kToolImageCount = 24;
inline constexpr int kToolImageSize = 16;

// The picture at an index of ImageList1 (transparent background); a null image outside 0..23.
QImage ToolImage(int index);

// The picture as an icon, with copies enlarged by whole factors for dense screens.
QIcon ToolIcon(int index);

}  // namespace rv

// Open, Save, Save As, Copy and Print over what they need from the main window, so they can
// run against the real window or a stand-in.
#pragma once

#include <QString>

#include "drawing/state.h"

class QWidget;

namespace rv {

class PictureCommandHost {
 public:
  virtual ~PictureCommandHost() = default;
  virtual DrawingState& State() = 0;
  // The New command: a new document window whose surface becomes ActiveImage.
  virtual void NewDocument() = 0;
  // The active document window's outer size (frame and caption included).
  virtual void ResizeActiveDocument(int width, int height) = 0;
  // The surface's picture changed; show it again.
  virtual void RefreshSurface(Surface& surface) = 0;
  virtual QWidget* DialogParent() = 0;
};

void OpenPicture(PictureCommandHost& host);
void SavePicture(PictureCommandHost& host);
void SavePictureAs(PictureCommandHost& host);
void CopyPicture(PictureCommandHost& host);
void PrintPicture(PictureCommandHost& host);

// The name Save As writes: ".BMP" appended unless the name already ends in ".bmp" (any case).
QString SaveAsFileName(const QString& chosen);

}  // namespace rv

// The File and Edit menu commands of the main window, run over the window's document area.
#include "documents/file_commands.h"

#include <QMdiSubWindow>

#include "app/mainform.h"
#include "documents/picture_commands.h"

namespace rv {

namespace {

class MainFormHost : public PictureCommandHost {
 public:
  explicit MainFormHost(TMainForm& form) : form_(form) {}
  DrawingState& State() override { return form_.State(); }
  void NewDocument() override { form_.FileNewItemClick(); }
  void ResizeActiveDocument(int width, int height) override {
    if (QMdiSubWindow* w = form_.ActiveDocumentWindow()) {
      // The height first, then the width, each as the outer size of the window.
      w->resize(w->width(), height);
      w->resize(width, w->height());
    }
  }
  void RefreshSurface(Surface& surface) override { form_.RefreshSurface(surface); }
  QWidget* DialogParent() override { return &form_; }

 private:
  TMainForm& form_;
};

}  // namespace

void OpenPictureCommand(TMainForm& form) {
  MainFormHost host(form);
  OpenPicture(host);
}

void SavePictureCommand(TMainForm& form) {
  MainFormHost host(form);
  SavePicture(host);
}

void SavePictureAsCommand(TMainForm& form) {
  MainFormHost host(form);
  SavePictureAs(host);
}

void CopyPictureCommand(TMainForm& form) {
  MainFormHost host(form);
  CopyPicture(host);
}

void PrintPictureCommand(TMainForm& form) {
  MainFormHost host(form);
  PrintPicture(host);
}

}  // namespace rv

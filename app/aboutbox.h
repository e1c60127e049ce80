// The version dialog.
#pragma once

#include <QDialog>
#include <QImage>

class QFrame;
class QLabel;
class QPushButton;

namespace rv {

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* parent = nullptr);

  // The sample floor plan shown in the dialog.
  static QImage SamplePicture();

  QFrame* Panel1;
  QLabel* ProgramIcon;
  QLabel* Version;
  QLabel* ProductName;
  QLabel* Comments;
  QPushButton* OKButton;
};

}  // namespace rv

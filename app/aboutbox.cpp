#include "app/aboutbox.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "app/sample_plan.h"

namespace rv {

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName("AboutBox");
  setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
  setFixedSize(406, 282);
  setModal(true);

  Panel1 = new QFrame(this);
  Panel1->setObjectName("Panel1");
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel1->setGeometry(24, 8, 361, 265);

  ProgramIcon = new QLabel(Panel1);
  ProgramIcon->setObjectName("ProgramIcon");
  ProgramIcon->setGeometry(16, 40, 321, 177);
  ProgramIcon->setScaledContents(true);
  ProgramIcon->setPixmap(QPixmap::fromImage(SamplePicture()));

  Version = new QLabel(QStringLiteral("Version　98"), Panel1);
  Version->setObjectName("Version");
  Version->move(8, 8);
  Version->adjustSize();

  ProductName = new QLabel(QStringLiteral("Ranoveh 間取り図作成"), Panel1);
  ProductName->setObjectName("ProductName");
  ProductName->move(8, 24);
  ProductName->adjustSize();

  Comments = new QLabel(QStringLiteral("ご意見・ご感想は作者まで"), Panel1);
  Comments->setObjectName("Comments");
  Comments->setGeometry(208, 8, 104, 24);
  Comments->setWordWrap(true);

  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setObjectName("OKButton");
  OKButton->setGeometry(168, 237, 65, 28);
  OKButton->setDefault(true);
  OKButton->setCursor(Qt::PointingHandCursor);
  OKButton->raise();
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
  OKButton->setFocus();
}

QImage TAboutBox::SamplePicture() {
  std::unique_ptr<TBitmap> bmp;
  try {
    bmp = DrawSamplePlan();
  } catch (const std::exception&) {
    // A picture is not worth failing the dialog for.
  }
  if (!bmp || bmp->Width() <= 0 || bmp->Height() <= 0) {
    QImage blank(kSamplePlanWidth, kSamplePlanHeight, QImage::Format_RGB32);
    blank.fill(Qt::white);
    return blank;
  }
  return QImage(reinterpret_cast<const uchar*>(bmp->Bits()), bmp->Width(), bmp->Height(),
                bmp->BytesPerLine(), QImage::Format_RGB32)
      .copy();
}

}  // namespace rv

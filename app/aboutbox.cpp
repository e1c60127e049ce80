#include "app/aboutbox.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

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
  QImage img(334, 216, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  const QColor mat(0xD8, 0xC8, 0x78);
  const QColor wood(0xC8, 0x96, 0x5A);
  // Outer walls and rooms.
  p.setPen(QPen(Qt::black, 5));
  p.setBrush(Qt::NoBrush);
  p.drawRect(10, 10, 314, 196);
  p.setPen(QPen(Qt::black, 3));
  p.drawLine(130, 10, 130, 206);
  p.drawLine(130, 110, 230, 110);
  p.drawLine(230, 10, 230, 110);
  // A six-mat tatami room on the left.
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(mat);
  p.drawRect(16, 16, 108, 184);
  p.drawLine(16, 77, 124, 77);
  p.drawLine(16, 138, 124, 138);
  p.drawLine(70, 16, 70, 77);
  p.drawLine(70, 138, 70, 200);
  // Bath and toilet.
  p.setBrush(QColor(0xB0, 0xD8, 0xF0));
  p.drawRect(140, 20, 80, 40);
  p.setBrush(Qt::white);
  p.drawEllipse(250, 30, 26, 34);
  p.drawRect(282, 30, 14, 34);
  // Wooden floor with boards.
  p.setBrush(wood);
  p.drawRect(136, 116, 90, 84);
  for (int y = 126; y < 200; y += 10) p.drawLine(136, y, 226, y);
  // A car and shrubs outside the house line on the right.
  p.setBrush(QColor(0x40, 0x60, 0xC0));
  p.drawRoundedRect(250, 120, 36, 70, 8, 8);
  p.setBrush(QColor(0x30, 0x90, 0x30));
  for (int i = 0; i < 3; ++i) p.drawEllipse(292 + (i % 2) * 10, 120 + i * 24, 20, 20);
  p.setBrush(QColor(0x80, 0, 0));
  for (int i = 0; i < 3; ++i) p.drawEllipse(299 + (i % 2) * 10, 127 + i * 24, 6, 6);
  // Room names.
  p.setPen(Qt::black);
  QFont f = p.font();
  f.setPixelSize(12);
  p.setFont(f);
  p.drawText(QRect(16, 80, 108, 50), Qt::AlignCenter, QStringLiteral("和室"));
  p.drawText(QRect(140, 60, 80, 20), Qt::AlignCenter, QStringLiteral("浴室"));
  p.drawText(QRect(240, 70, 70, 20), Qt::AlignCenter, QStringLiteral("トイレ"));
  p.drawText(QRect(136, 150, 90, 20), Qt::AlignCenter, QStringLiteral("洋室"));
  return img;
}

}  // namespace rv

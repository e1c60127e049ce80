#include "app/mainform.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>
#include <cmath>

#include "app/aboutbox.h"
#include "app/messages.h"
#include "app/tool_images.h"
#include "app/widgets.h"
#include "documents/childwin.h"
#include "documents/file_commands.h"
#include "documents/surface_view.h"
#include "drawing/engine.h"
#include "drawing/rounding.h"
#include "drawing/tools.h"
#include "tatami/tatami.h"

namespace rv {

namespace {

const char* const kHintProperty = "rvHint";

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 128, 0);
const QColor kTeal(0, 128, 128);
const QColor kAppWorkSpace(171, 171, 171);

void SetHint(QWidget* w, const QString& hint, bool asToolTip) {
  w->setProperty(kHintProperty, hint);
  if (asToolTip) w->setToolTip(hint);
}

QString HintOf(const QWidget* w) { return w->property(kHintProperty).toString(); }

void SetTextColor(QWidget* w, const QColor& c) {
  QPalette pal = w->palette();
  for (auto group : {QPalette::Active, QPalette::Inactive}) {
    pal.setColor(group, QPalette::WindowText, c);
    pal.setColor(group, QPalette::ButtonText, c);
    pal.setColor(group, QPalette::Text, c);
  }
  w->setPalette(pal);
}

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

QFont ToQFont(const TFont& f) {
  QFont q = ProgramFont(f.Height == 0 ? 12 : std::abs(f.Height));
  QStringList families{QString::fromStdString(f.Name)};
  families.append(q.families());
  q.setFamilies(families);
  q.setBold((f.Style & fsBold) != 0);
  q.setItalic((f.Style & fsItalic) != 0);
  q.setUnderline((f.Style & fsUnderline) != 0);
  q.setStrikeOut((f.Style & fsStrikeOut) != 0);
  return q;
}

// The family a font really resolves to: the font dialog lists only installed families and
// starts on its default family for a name it cannot find.
QString ResolvedFamily(const TFont& f) { return QFontInfo(ToQFont(f)).family(); }

QFont DialogFont(const TFont& f) {
  QFont q = ToQFont(f);
  q.setFamilies({ResolvedFamily(f)});
  return q;
}

TFont FromQFont(const QFont& q, const TFont& base) {
  TFont f = base;
  // Confirming the family the name stood for keeps the name.
  if (q.family() != ResolvedFamily(base)) f.Name = q.family().toStdString();
  if (q.pixelSize() > 0) {
    f.Height = q.pixelSize();
  } else if (q.pointSizeF() > 0) {
    f.Height = static_cast<int>(std::lround(q.pointSizeF() * 96.0 / 72.0));
  }
  f.Style = (q.bold() ? fsBold : 0u) | (q.italic() ? fsItalic : 0u) |
            (q.underline() ? fsUnderline : 0u) | (q.strikeOut() ? fsStrikeOut : 0u);
  return f;
}

Qt::CursorShape ToQtCursor(TCursor c) {
  switch (c) {
    case TCursor::crCross: return Qt::CrossCursor;
    case TCursor::crHandPoint: return Qt::PointingHandCursor;
    case TCursor::crArrow:
    case TCursor::crDefault: break;
  }
  return Qt::ArrowCursor;
}

// Keeps widget geometry far from the ends of the 32-bit range.
int ClampCoord(int v) { return std::clamp(v, -1000000, 1000000); }

}  // namespace

QFont ProgramFont(int pixelSize) {
  QFont f;
  f.setFamilies({U("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                 QStringLiteral("IPA Pゴシック")});
  f.setPixelSize(pixelSize);
  return f;
}

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
  setObjectName("MainForm");
  QApplication::setFont(ProgramFont());
  setFont(ProgramFont());
  setWindowTitle(QStringLiteral("Ranoveh"));
  resize(807, 456);
  setWindowState(Qt::WindowMaximized);
  setWindowIcon(ToolIcon(1));

  font_dialog_ = [this](const TFont& initial) -> std::optional<TFont> {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, DialogFont(initial), this);
    if (!ok) return std::nullopt;
    return FromQFont(chosen, initial);
  };

  BuildMenus();

  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  BuildSpeedPanel(central);
  mdi_area_ = new QMdiArea(central);
  mdi_area_->setObjectName("MdiArea");
  mdi_area_->setBackground(kAppWorkSpace);
  // Windows pushed past the edge stay reachable.
  mdi_area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  BuildToolBar(central);
  column->addWidget(SpeedPanel);
  column->addWidget(mdi_area_, 1);
  column->addWidget(ToolBar1);
  setCentralWidget(central);

  StatusBar = new QStatusBar(this);
  StatusBar->setObjectName("StatusBar");
  StatusBar->setFixedHeight(19);
  StatusBar->setSizeGripEnabled(true);
  StatusLine = new QLabel(StatusBar);
  StatusLine->setObjectName("StatusLine");
  StatusBar->addWidget(StatusLine, 1);
  setStatusBar(StatusBar);

  about_box_ = new TAboutBox(this);
  about_box_->hide();

  // FormCreate: the hint handler and the focus-change handler.
  qApp->installEventFilter(this);
  connect(mdi_area_, &QMdiArea::subWindowActivated, this, [this] { UpdateMenuItems(); });
  connect(qApp, &QGuiApplication::focusWindowChanged, this, [this] { UpdateMenuItems(); });
}

TMainForm::~TMainForm() {
  FormDestroy();
  qApp->removeEventFilter(this);
  // Document windows go first, while every member they might reach is still alive.
  // Closed ones awaiting their deferred delete are no longer listed by the area: find them all.
  for (TMDIChild* w : mdi_area_->findChildren<TMDIChild*>()) {
    disconnect(w, nullptr, this, nullptr);
    delete w;
  }
}

// ---- Building the window ----

void TMainForm::BuildMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("MainMenu1");
  auto item = [this](QMenu* menu, const char* name, const char* caption, const char* hint,
                     void (TMainForm::*handler)()) {
    QAction* a = menu->addAction(U(caption));
    a->setObjectName(name);
    a->setStatusTip(U(hint));
    connect(a, &QAction::triggered, this, [this, handler] { RunGuarded([&] { (this->*handler)(); }); });
    return a;
  };
  auto menu = [bar](const char* name, const char* caption, const char* hint) {
    QMenu* m = bar->addMenu(U(caption));
    m->setObjectName(name);
    m->menuAction()->setObjectName(QString::fromUtf8(name) + "Action");
    m->menuAction()->setStatusTip(U(hint));
    return m;
  };

  File1 = menu("File1", "ﾌｧｲﾙ(&F)", "ﾌｧｲﾙ操作に関するｺﾏﾝﾄﾞ");
  FileNewItem = item(File1, "FileNewItem", "新規作成(&N)", "新規ﾌｧｲﾙの作成",
                     &TMainForm::FileNewItemClick);
  FileOpenItem = item(File1, "FileOpenItem", "開く(&O)", "既存のﾌｧｲﾙを開く",
                      &TMainForm::FileOpenItemClick);
  FileCloseItem = item(File1, "FileCloseItem", "閉じる(&C)", "ﾌｧｲﾙを閉じる",
                       &TMainForm::FileCloseItemClick);
  FileSaveItem = item(File1, "FileSaveItem", "上書き保存(&S)",
                      "直前に描画した図を上書き保存します。", &TMainForm::FileSaveItemClick);
  FileSaveAsItem = item(File1, "FileSaveAsItem", "名前を付けて保存(&A)...",
                        "直前に描画した図に名前を付けて保存します。",
                        &TMainForm::FileSaveAsItemClick);
  Print1 = item(File1, "Print1", "印刷", "印刷します。", &TMainForm::Print1Click);
  File1->addSeparator()->setObjectName("N1");
  FileExitItem = item(File1, "FileExitItem", "終了(&X)", "ｱﾌﾟﾘｹｰｼｮﾝの終了",
                      &TMainForm::FileExitItemClick);

  Edit1 = menu("Edit1", "編集(&E)", "");
  CopyItem = item(Edit1, "CopyItem", "ｺﾋﾟｰ(&C)", "直前に描画した図をｸﾘｯﾌﾟﾎﾞｰﾄﾞへｺﾋﾟｰ",
                  &TMainForm::CopyItemClick);

  Window1 = menu("Window1", "ｳｨﾝﾄﾞｳ(&W)", "ｳｨﾝﾄﾞｳ操作に関するｺﾏﾝﾄﾞ");
  WindowCascadeItem = item(Window1, "WindowCascadeItem", "重ねて表示(&C)",
                           "ｳｨﾝﾄﾞｳを重なりあうように並べ直す",
                           &TMainForm::WindowCascadeItemClick);
  WindowTileItem = item(Window1, "WindowTileItem", "ならべて表示(&T)",
                        "ｳｨﾝﾄﾞｳを重ならないように並べ直す", &TMainForm::WindowTileItemClick);
  WindowArrangeItem = item(Window1, "WindowArrangeItem", "ｱｲｺﾝの整列(&A)",
                           "すべてのｱｲｺﾝをｳｨﾝﾄﾞｳの下に並べ直す",
                           &TMainForm::WindowArrangeItemClick);
  WindowMinimizeItem = item(Window1, "WindowMinimizeItem", "すべてをｱｲｺﾝ化(&M)",
                            "すべてのｳｨﾝﾄﾞｳをｱｲｺﾝ状態にする",
                            &TMainForm::WindowMinimizeItemClick);
  connect(Window1, &QMenu::aboutToShow, this, &TMainForm::RebuildWindowList);

  Help1 = menu("Help1", "ﾍﾙﾌﾟ(&H)", "ﾄﾋﾟｯｸの検索");
  HelpAboutItem = item(Help1, "HelpAboutItem", "ﾊﾞｰｼﾞｮﾝ情報(&A)", "",
                       &TMainForm::HelpAboutItemClick);

  // Highlighting a menu title shows its hint like an item does.
  connect(bar, &QMenuBar::hovered, this,
          [this](QAction* a) { SetApplicationHint(a ? a->statusTip() : QString()); });
}

void TMainForm::BuildSpeedPanel(QWidget* parent) {
  SpeedPanel = new QFrame(parent);
  SpeedPanel->setObjectName("SpeedPanel");
  SpeedPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  SpeedPanel->setLineWidth(1);
  SpeedPanel->setFixedHeight(57);

  StaticText1 = new TStaticText(U("元に戻す"), SpeedPanel);
  StaticText1->setObjectName("StaticText1");
  StaticText1->setGeometry(16, 8, 113, 25);
  {
    QFont f = ProgramFont(19);
    f.setBold(true);
    StaticText1->setFont(f);
    QPalette pal = StaticText1->palette();
    pal.setColor(QPalette::Window, kTeal);
    StaticText1->setPalette(pal);
    SetTextColor(StaticText1, kRed);
  }
  StaticText1->setCursor(Qt::PointingHandCursor);
  StaticText1->setEnabled(false);
  SetHint(StaticText1, U("１アクション前の状態に戻します。"), true);
  connect(StaticText1, &TStaticText::clicked, this,
          [this] { RunGuarded([&] { StaticText1Click(); }); });

  Label4 = new QLabel(SpeedPanel);
  Label4->setObjectName("Label4");
  Label4->move(136, 13);
  Label4->setFont(ProgramFont(16));
  SetTextColor(Label4, kRed);

  SpeedButton1 = new QToolButton(SpeedPanel);
  SpeedButton1->setObjectName("SpeedButton1");
  SpeedButton1->setText(U("畳"));
  SpeedButton1->setGeometry(256, 8, 33, 25);
  SpeedButton1->setFont(ProgramFont(19));
  SetTextColor(SpeedButton1, kGreen);
  SpeedButton1->setCursor(Qt::PointingHandCursor);
  SpeedButton1->setEnabled(false);
  SetHint(SpeedButton1, U("直前に描いた間取り枠と矩形内に畳を描画します。"), true);
  connect(SpeedButton1, &QToolButton::clicked, this,
          [this] { RunGuarded([&] { SpeedButton1Click(); }); });

  RadioGroup1 = new QGroupBox(U("畳数"), SpeedPanel);
  RadioGroup1->setObjectName("RadioGroup1");
  RadioGroup1->setGeometry(296, 7, 145, 47);
  SetHint(RadioGroup1, U("描画する畳の数を選択してください。"), true);
  // Small indicators so that four columns fit the narrow box.
  // The caption sits on the frame line, as in a classic radio group.
  RadioGroup1->setStyleSheet(QStringLiteral(
      "QGroupBox { border: 1px solid #a0a0a0; margin-top: 6px; }"
      "QGroupBox::title { subcontrol-origin: margin; left: 7px; padding: 0 2px; }"
      "QRadioButton { spacing: 2px; } QRadioButton::indicator { width: 10px; height: 10px; }"));
  RadioGroup1Items = new QButtonGroup(RadioGroup1);
  {
    const char* items[] = {"3", "4.5", "6", "7.5", "8", "10", "12"};
    // Four columns filled top to bottom, two items to a column.
    const int colWidth = (145 - 8) / 4;
    for (int i = 0; i < 7; ++i) {
      auto* rb = new QRadioButton(U(items[i]), RadioGroup1);
      rb->setObjectName(QStringLiteral("RadioGroup1Item%1").arg(i));
      rb->setGeometry(5 + (i / 2) * colWidth, 14 + (i % 2) * 15, colWidth, 15);
      RadioGroup1Items->addButton(rb, i);
    }
    RadioGroup1Items->button(2)->setChecked(true);
  }

  BitBtn1 = new QPushButton(U("文字"), SpeedPanel);
  BitBtn1->setObjectName("BitBtn1");
  BitBtn1->setGeometry(456, 5, 75, 25);
  BitBtn1->setCursor(Qt::PointingHandCursor);
  SetHint(BitBtn1, U("任意の位置に下の文字を描画します。"), true);
  connect(BitBtn1, &QPushButton::clicked, this, [this] { RunGuarded([&] { BitBtn1Click(); }); });

  BitBtn2 = new QPushButton(U("フォント"), SpeedPanel);
  BitBtn2->setObjectName("BitBtn2");
  BitBtn2->setGeometry(536, 5, 75, 25);
  BitBtn2->setCursor(Qt::PointingHandCursor);
  BitBtn2->setEnabled(false);
  SetHint(BitBtn2, U("文字フォントを変更します。"), true);
  connect(BitBtn2, &QPushButton::clicked, this, [this] { RunGuarded([&] { BitBtn2Click(); }); });

  ComboBox2 = new QComboBox(SpeedPanel);
  ComboBox2->setObjectName("ComboBox2");
  ComboBox2->setEditable(true);
  ComboBox2->setCompleter(nullptr);
  ComboBox2->setInsertPolicy(QComboBox::NoInsert);
  ComboBox2->setMaxVisibleItems(8);
  for (const char* s : {"和室", "洋室", "仏間", "納戸", "押入", "LDK", "3畳", "4.5畳", "6畳",
                        "7.5畳", "8畳", "10畳", "12畳", "バス", "浴室", "トイレ", "便所",
                        "ガレージ", "車庫", "ガーデン", "庭園", "エントランス", "玄関",
                        "ベランダ", "クローゼット", "", ""}) {
    ComboBox2->addItem(U(s));
  }
  ComboBox2->setCurrentIndex(-1);
  ComboBox2->setEditText(U("文字を入力してください。"));
  ComboBox2->setGeometry(456, 32, 153, 21);
  connect(ComboBox2->lineEdit(), &QLineEdit::textEdited, this,
          [this] { RunGuarded([&] { ComboBox2Change(); }); });
  connect(ComboBox2, &QComboBox::activated, this, [this] {
    RunGuarded([&] { ComboBox2Click(); });
    RunGuarded([&] { ComboBox2Change(); });
  });

  Label5 = new QLabel(SpeedPanel);
  Label5->setObjectName("Label5");
  Label5->move(16, 40);
  Label5->setFont(ProgramFont(12));
  SetTextColor(Label5, kRed);
}

void TMainForm::BuildToolBar(QWidget* parent) {
  ToolBar1 = new QFrame(parent);
  ToolBar1->setObjectName("ToolBar1");
  ToolBar1->setFixedHeight(35);
  ToolBar1->setCursor(Qt::PointingHandCursor);
  // The etched edge along the top, as the bar's only border.
  auto* edge = new QFrame(ToolBar1);
  edge->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  edge->setGeometry(0, 0, 4000, 2);

  constexpr int kTop = 2;  // below the edge
  constexpr int kButtonHeight = 30;
  ToolButtonGroup = new QButtonGroup(ToolBar1);
  ToolButtonGroup->setExclusive(true);
  for (const ToolButtonInfo& info : ToolButtons()) {
    auto* b = new QToolButton(ToolBar1);
    b->setObjectName(info.name);
    b->setCheckable(true);
    b->setIcon(ToolIcon(info.image));
    b->setIconSize(QSize(16, 16));
    b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    b->setGeometry(info.left, kTop, info.width, kButtonHeight);
    b->setFocusPolicy(Qt::NoFocus);
    SetHint(b, U(info.hint), false);
    ToolButtonGroup->addButton(b);
    const char* name = info.name;
    connect(b, &QToolButton::clicked, this, [this, name] {
      RunGuarded([&] { SelectToolButton(name); });
    });
  }
  ToolButton("ToolButton1")->setChecked(true);

  auto separator = [this](const char* name, int left, int width) {
    auto* s = new QFrame(ToolBar1);
    s->setObjectName(name);
    s->setGeometry(left, kTop, width, kButtonHeight);
    auto* line = new QFrame(s);
    line->setFrameStyle(QFrame::VLine | QFrame::Sunken);
    line->setGeometry(width / 2 - 1, 2, 2, kButtonHeight - 4);
  };
  separator("ToolButton12", 322, 24);

  ComboBox1 = new QComboBox(ToolBar1);
  ComboBox1->setObjectName("ComboBox1");
  ComboBox1->setEditable(true);
  ComboBox1->setCompleter(nullptr);
  ComboBox1->setInsertPolicy(QComboBox::NoInsert);
  for (const char* s : kSizeBoxItems) ComboBox1->addItem(U(s));
  ComboBox1->setCurrentIndex(6);
  ComboBox1->setEditText(U(kSizeBoxDefault));
  ComboBox1->setGeometry(392, 7, 42, 20);
  SetHint(ComboBox1, U("消しゴムと任意サイズの直線の大きさを決めます。"), false);
  connect(ComboBox1->lineEdit(), &QLineEdit::textEdited, this,
          [this] { RunGuarded([&] { ComboBox1Change(); }); });
  connect(ComboBox1, &QComboBox::activated, this, [this] {
    RunGuarded([&] { ComboBox1Click(); });
    RunGuarded([&] { ComboBox1Change(); });
  });

  separator("ToolButton18", 434, 16);

  Panel3 = new TClickPanel(ToolBar1);
  Panel3->setObjectName("Panel3");
  Panel3->setGeometry(450, kTop, 30, 30);
  Panel4 = new TClickPanel(Panel3);
  Panel4->setObjectName("Panel4");
  Panel4->setGeometry(6, 7, 25, 25);
  connect(Panel3, &TClickPanel::clicked, this, [this] { RunGuarded([&] { Panel3Click(); }); });
  connect(Panel4, &TClickPanel::clicked, this, [this] { RunGuarded([&] { Panel4Click(); }); });

  separator("ToolButton13", 480, 8);

  ColorGrid1 = new TColorGrid(ToolBar1);
  ColorGrid1->setObjectName("ColorGrid1");
  ColorGrid1->setGeometry(488, kTop, 184, 30);
  SetHint(ColorGrid1,
          U("図形の内部を指定された色で塗りつぶしますマウスボタンの左右を使い分けてください。"),
          false);
  connect(ColorGrid1, &TColorGrid::changed, this,
          [this] { RunGuarded([&] { ColorGrid1Change(); }); });
  connect(ColorGrid1, &TColorGrid::clicked, this,
          [this] { RunGuarded([&] { ColorGrid1Click(); }); });
}

QToolButton* TMainForm::ToolButton(const char* name) const {
  return ToolBar1->findChild<QToolButton*>(QString::fromUtf8(name), Qt::FindDirectChildrenOnly);
}

// ---- Start, end, hints and enabling ----

void TMainForm::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (!shown_once_) {
    shown_once_ = true;
    RunGuarded([&] { FormShow(); });
  }
}

void TMainForm::FormShow() {
  ColorGrid1Change();
  FileNewItemClick();
  state_.PenSize = ParseInteger(ComboBox1->currentText().toStdString());
  state_.CurrentTool = toolFrame;
}

void TMainForm::closeEvent(QCloseEvent* e) {
  RunGuarded([&] { FormClose(); });
  QMainWindow::closeEvent(e);
}

void TMainForm::FormClose() {
  if (QMdiSubWindow* w = ActiveDocumentWindow()) w->close();
}

void TMainForm::FormDestroy() {
  if (destroying_) return;
  destroying_ = true;
  disconnect(mdi_area_, &QMdiArea::subWindowActivated, this, nullptr);
  disconnect(qApp, &QGuiApplication::focusWindowChanged, this, nullptr);
}

void TMainForm::FileExitItemClick() { close(); }

void TMainForm::HelpAboutItemClick() { about_box_->exec(); }

void TMainForm::ShowStatusHint() { StatusLine->setText(hint_); }

void TMainForm::SetApplicationHint(const QString& hint) {
  if (hint == hint_) return;
  hint_ = hint;
  ShowStatusHint();
}

QString TMainForm::StatusText() const { return StatusLine->text(); }

void TMainForm::PointerRestsOn(QWidget* w) {
  // The control's own hint, else the nearest enclosing control's, else nothing.
  QString hint;
  for (QWidget* p = w; p; p = p->parentWidget()) {
    hint = HintOf(p);
    if (!hint.isEmpty() || p->isWindow()) break;
  }
  SetApplicationHint(hint);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* e) {
  if (destroying_ || !watched->isWidgetType()) return false;
  auto* w = static_cast<QWidget*>(watched);
  if (e->type() == QEvent::Enter) {
    pending_leave_ = nullptr;
    PointerRestsOn(w);
  } else if (e->type() == QEvent::Leave && !w->isWindow()) {
    // Leaving a control for its parent brings no enter event for the parent; settle on the
    // parent unless an enter for another control follows at once.
    pending_leave_ = w->parentWidget();
    QTimer::singleShot(0, this, [this] {
      if (pending_leave_) PointerRestsOn(pending_leave_);
      pending_leave_ = nullptr;
    });
  }
  return false;
}

bool TMainForm::event(QEvent* e) {
  if (e->type() == QEvent::StatusTip) {
    // Menu items announce their hints this way; they take the hint line like controls do.
    SetApplicationHint(static_cast<QStatusTipEvent*>(e)->tip());
    return true;
  }
  return QMainWindow::event(e);
}

void TMainForm::UpdateMenuItems() {
  if (destroying_) return;
  auto any = [this] { return !DocumentWindows().isEmpty(); };
  BitBtn2->setEnabled(any());
  BitBtn1->setEnabled(any());
  ColorGrid1->setEnabled(any());
  SpeedButton1->setEnabled(any());
  FileCloseItem->setEnabled(any());
  WindowCascadeItem->setEnabled(any());
  WindowTileItem->setEnabled(any());
  WindowArrangeItem->setEnabled(any());
  WindowMinimizeItem->setEnabled(any());
}

// ---- Document windows ----

QList<TMDIChild*> TMainForm::DocumentWindows() const {
  QList<TMDIChild*> list;
  for (QMdiSubWindow* w : mdi_area_->subWindowList(QMdiArea::CreationOrder)) {
    auto* c = qobject_cast<TMDIChild*>(w);
    if (c && !c->Closed()) list.append(c);
  }
  return list;
}

QMdiSubWindow* TMainForm::ActiveDocumentWindow() const {
  auto* c = qobject_cast<TMDIChild*>(mdi_area_->currentSubWindow());
  if (c && !c->Closed()) return c;
  return nullptr;
}

TMDIChild* TMainForm::CreateChildWindow(const QString& caption) {
  auto* child = new TMDIChild;
  child->setWindowTitle(caption);
  child->setWindowIcon(windowIcon());
  mdi_area_->addSubWindow(child);
  // The default place and size: cascading from the top-left, three fifths of the area.
  QSize area = mdi_area_->viewport()->size();
  if (isMaximized() && screen()) {
    // Before the window system has applied the maximised size the area is still the
    // restored one; size the window for the area it is about to get.
    const QSize avail = screen()->availableGeometry().size();
    const int chrome = height() - area.height();
    area = area.expandedTo(QSize(avail.width(), avail.height() - chrome - 30));
  }
  const int step = 24 * (mdi_area_->subWindowList().size() - 1) % 240;
  child->setGeometry(step, step, std::max(320, area.width() * 3 / 5),
                     std::max(240, area.height() * 3 / 5));
  connect(child, &TMDIChild::closed, this, [this] {
    if (!destroying_) UpdateMenuItems();
  });
  connect(child, &QObject::destroyed, this, [this] {
    if (!destroying_) UpdateMenuItems();
  });
  return child;
}

void TMainForm::FileNewItemClick() {
  const int n = WrapAdd(state_.DocumentCount, 1);
  const QString number = QString::number(n);
  TMDIChild* child = CreateChildWindow(U("新規") + number);
  auto surface = std::make_shared<Surface>("newimage" + number.toStdString());
  auto* view = new TSurfaceView(*this, surface, child);
  view->setObjectName(QStringLiteral("newimage") + number);
  child->setWidget(view);
  child->show();
  mdi_area_->setActiveSubWindow(child);
  surface->SetControlSize(view->width(), view->height());
  state_.ActiveImage = surface;
  setWindowTitle(QStringLiteral("Ranoveh"));
  state_.DocumentCount = n;
  UpdateMenuItems();
}

void TMainForm::FileCloseItemClick() {
  if (QMdiSubWindow* w = ActiveDocumentWindow()) w->close();
}

void TMainForm::WindowCascadeItemClick() { mdi_area_->cascadeSubWindows(); }

void TMainForm::WindowTileItemClick() {
  // Horizontal tiling: full-width bands one above the other, minimised windows left alone.
  QList<TMDIChild*> windows;
  for (TMDIChild* w : DocumentWindows()) {
    if (!w->isMinimized()) windows.append(w);
  }
  if (windows.isEmpty()) return;
  const QSize area = mdi_area_->viewport()->size();
  const int bandHeight = area.height() / static_cast<int>(windows.size());
  if (bandHeight < 60) {
    mdi_area_->tileSubWindows();
    return;
  }
  for (int i = 0; i < windows.size(); ++i) {
    windows[i]->showNormal();
    windows[i]->setGeometry(0, i * bandHeight, area.width(), bandHeight);
  }
}

void TMainForm::WindowArrangeItemClick() {
  // Minimised windows in a row along the bottom, wrapping upwards.
  const QSize area = mdi_area_->viewport()->size();
  int x = 0;
  int y = area.height();
  for (TMDIChild* w : DocumentWindows()) {
    if (!w->isMinimized()) continue;
    const QSize s = w->size();
    if (x > 0 && x + s.width() > area.width()) {
      x = 0;
      y -= s.height();
    }
    w->move(x, y - s.height());
    x += s.width();
  }
}

void TMainForm::WindowMinimizeItemClick() {
  const QList<TMDIChild*> windows = DocumentWindows();
  for (qsizetype i = windows.size() - 1; i >= 0; --i) windows[i]->showMinimized();
}

void TMainForm::RebuildWindowList() {
  for (QAction* a : window_list_actions_) {
    Window1->removeAction(a);
    a->deleteLater();
  }
  window_list_actions_.clear();
  const QList<TMDIChild*> windows = DocumentWindows();
  if (windows.isEmpty()) return;
  window_list_actions_.append(Window1->addSeparator());
  QMdiSubWindow* active = ActiveDocumentWindow();
  for (int i = 0; i < windows.size(); ++i) {
    QPointer<TMDIChild> w = windows[i];
    const QString label = i < 9 ? QStringLiteral("&%1 %2").arg(i + 1).arg(w->windowTitle())
                                : QStringLiteral("%1 %2").arg(i + 1).arg(w->windowTitle());
    QAction* a = Window1->addAction(label);
    a->setCheckable(true);
    a->setChecked(w == active);
    connect(a, &QAction::triggered, this, [this, w] {
      if (w && !w->Closed()) {
        if (w->isMinimized()) w->showNormal();
        mdi_area_->setActiveSubWindow(w);
      }
    });
    window_list_actions_.append(a);
  }
}

TSurfaceView* TMainForm::ViewOf(Surface& surface) const {
  for (TMDIChild* w : DocumentWindows()) {
    TSurfaceView* v = w->View();
    if (v && v->SurfacePtr().get() == &surface) return v;
  }
  return nullptr;
}

QWidget* TMainForm::SurfaceWidget(Surface& surface) { return ViewOf(surface); }

void TMainForm::RefreshSurface(Surface& surface) {
  if (TSurfaceView* v = ViewOf(surface)) v->update();
}

// ---- Surface events ----

void TMainForm::Image1MouseDown(TSurfaceView* Sender, TMouseButton Button, int X, int Y) {
  if (!Sender || !Sender->SurfacePtr()) return;
  PressSurface(state_, *this, Sender->SurfacePtr(), Button, X, Y);
}

void TMainForm::Image1MouseMove(TSurfaceView* Sender, int X, int Y) {
  if (!Sender || !Sender->SurfacePtr()) return;
  MoveOverSurface(state_, *this, *Sender->SurfacePtr(), X, Y);
}

void TMainForm::Image1MouseUp(TSurfaceView* Sender, TMouseButton Button, int X, int Y) {
  if (!Sender || !Sender->SurfacePtr()) return;
  ReleaseSurface(state_, *this, *Sender->SurfacePtr(), Button, X, Y);
}

void TMainForm::Image1Click(TSurfaceView*) {
  // The picture of ActiveImage takes the active document window's outer size.
  auto surface = state_.ActiveImage.lock();
  QMdiSubWindow* window = ActiveDocumentWindow();
  if (!surface || !window) return;
  const QSize outer = window->frameGeometry().size();
  surface->Picture().SetHeight(outer.height());
  surface->Picture().SetWidth(outer.width());
  RefreshSurface(*surface);
}

// ---- File and Edit commands ----

void TMainForm::FileOpenItemClick() { OpenPictureCommand(*this); }
void TMainForm::FileSaveItemClick() { SavePictureCommand(*this); }
void TMainForm::FileSaveAsItemClick() { SavePictureAsCommand(*this); }
void TMainForm::Print1Click() { PrintPictureCommand(*this); }
void TMainForm::CopyItemClick() { CopyPictureCommand(*this); }

// ---- Tools, size, colours, text and font ----

void TMainForm::SelectToolButton(const char* name) {
  if (const ToolButtonInfo* info = FindToolButton(name)) ApplySelection(state_, *this, info->select);
}

void TMainForm::ToolButton1Click() { SelectToolButton("ToolButton1"); }
void TMainForm::ToolButton2Click() { SelectToolButton("ToolButton2"); }
void TMainForm::ToolButton3Click() { SelectToolButton("ToolButton3"); }
void TMainForm::ToolButton4Click() { SelectToolButton("ToolButton4"); }
void TMainForm::ToolButton5Click() { SelectToolButton("ToolButton5"); }
void TMainForm::ToolButton6Click() { SelectToolButton("ToolButton6"); }
void TMainForm::ToolButton7Click() { SelectToolButton("ToolButton7"); }
void TMainForm::ToolButton8Click() { SelectToolButton("ToolButton8"); }
void TMainForm::ToolButton10Click() { SelectToolButton("ToolButton10"); }
void TMainForm::ToolButton11Click() { SelectToolButton("ToolButton11"); }
void TMainForm::ToolButton14Click() { SelectToolButton("ToolButton14"); }
void TMainForm::ToolButton15Click() { SelectToolButton("ToolButton15"); }
void TMainForm::ToolButton16Click() { SelectToolButton("ToolButton16"); }
void TMainForm::ToolButton19Click() { SelectToolButton("ToolButton19"); }
void TMainForm::ToolButton20Click() { SelectToolButton("ToolButton20"); }
void TMainForm::ToolButton21Click() { SelectToolButton("ToolButton21"); }

void TMainForm::ComboBox1Click() { SizeBoxClick(state_); }

void TMainForm::ComboBox1Change() {
  const std::string text = ComboBox1->currentText().toStdString();
  const std::string shown = SizeBoxChange(state_, *this, text);
  if (shown != text) ComboBox1->setEditText(QString::fromStdString(shown));
}

void TMainForm::ComboBox2Click() { ApplySelection(state_, *this, kSelectTextFromList); }
void TMainForm::ComboBox2Change() { ApplySelection(state_, *this, kSelectText); }

void TMainForm::ColorGrid1Change() {
  ColorGridChange(state_, *this, ColorGrid1->ForegroundIndex(), ColorGrid1->BackgroundIndex());
  Panel3->SetColor(ToQColor(ColorGrid1->ForegroundColor()));
  Panel4->SetColor(ToQColor(ColorGrid1->BackgroundColor()));
}

void TMainForm::ColorGrid1Click() { ApplySelection(state_, *this, kSelectFillFromGrid); }
void TMainForm::Panel3Click() { ApplySelection(state_, *this, kSelectFillFromPanel); }
void TMainForm::Panel4Click() { ApplySelection(state_, *this, kSelectFillFromPanel); }
void TMainForm::BitBtn1Click() { ApplySelection(state_, *this, kSelectText); }

void TMainForm::BitBtn2Click() {
  SetToolPrompt(kTextPrompt);
  state_.CurrentTool = toolText;
  if (std::optional<TFont> chosen = font_dialog_(dialog_font_)) {
    dialog_font_ = *chosen;
    ApplyCanvasFont(state_, *chosen);
  }
  SetTatamiEnabled(false);
}

void TMainForm::SpeedButton1Click() {
  auto surface = state_.ActiveImage.lock();
  if (!surface) return;
  const bool was_empty = surface->Picture().Empty();
  LayTatami(state_, *surface, RadioGroup1ItemIndex());
  TBitmap* bitmap = surface->Picture().Bitmap();
  if (!bitmap) return;
  // Only the mats and joints are shown again, unless the command made the bitmap itself.
  const TRect changed = bitmap->Canvas().TakeDirty();
  if (was_empty) {
    RefreshSurface(*surface);
  } else if (!changed.IsEmpty()) {
    RepaintSurface(*surface, changed);
  }
}

// Undo reports what it changed itself.
void TMainForm::StaticText1Click() { UndoLastPress(state_, *this); }

int TMainForm::RadioGroup1ItemIndex() const { return RadioGroup1Items->checkedId(); }

// ---- UiPort ----

void TMainForm::SetPointerReadout(const std::string& text) {
  Label4->setText(QString::fromStdString(text));
  Label4->adjustSize();
}

void TMainForm::SetToolPrompt(const std::string& text) {
  Label5->setText(QString::fromStdString(text));
  Label5->adjustSize();
}

void TMainForm::SetStatusText(const std::string& text) {
  StatusLine->setText(QString::fromStdString(text));
}

void TMainForm::SetUndoEnabled(bool enabled) { StaticText1->setEnabled(enabled); }
void TMainForm::SetTatamiEnabled(bool enabled) { SpeedButton1->setEnabled(enabled); }

void TMainForm::SetSurfaceCursor(Surface& surface, TCursor cursor) {
  if (TSurfaceView* v = ViewOf(surface)) v->setCursor(ToQtCursor(cursor));
}

void TMainForm::RepaintSurface(Surface& surface, const TRect& rect) {
  if (TSurfaceView* v = ViewOf(surface)) v->RepaintPixels(rect.Left, rect.Top, rect.Right, rect.Bottom);
}

std::string TMainForm::TextSource() { return ComboBox2->currentText().toStdString(); }

bool TMainForm::OwnedByClosedWindow(QWidget* w) {
  for (QWidget* p = w; p; p = p->parentWidget()) {
    if (auto* c = qobject_cast<TMDIChild*>(p)) return c->Closed();
  }
  return false;
}

int TMainForm::CreateEraserOutline(const std::string& name) {
  auto* window = qobject_cast<TMDIChild*>(ActiveDocumentWindow());
  if (!window || !window->View()) return 0;
  auto* outline = new TEraserOutline(window->View());
  outline->setObjectName(QString::fromStdString(name));
  outline->hide();
  const int handle = next_outline_++;
  outlines_[handle] = outline;
  return handle;
}

bool TMainForm::EraserOutlineExists(int handle) {
  auto it = outlines_.find(handle);
  if (it == outlines_.end()) return false;
  if (!it->second || OwnedByClosedWindow(it->second)) {
    outlines_.erase(it);
    return false;
  }
  return true;
}

void TMainForm::ShowEraserOutline(int handle, int left, int top, int width, int height) {
  if (!EraserOutlineExists(handle)) return;
  QWidget* o = outlines_[handle];
  o->setGeometry(ClampCoord(left), ClampCoord(top), std::clamp(width, 0, 100000),
                 std::clamp(height, 0, 100000));
  o->show();
  o->raise();
}

void TMainForm::DestroyEraserOutline(int handle) {
  auto it = outlines_.find(handle);
  if (it == outlines_.end()) return;
  delete it->second.data();
  outlines_.erase(it);
}

}  // namespace rv

#include "report/ui/ReportParametersWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "records/RecordStore.h"
#include "statistics/HarmonicLimitTables.h"
#include "statistics/StatisticsMessages.h"
#include "timerange/ui/DateRangeFields.h"
#include "timerange/ui/TypedKey.h"
#include "ui/BusyAnimation.h"
#include "ui/ButtonKeys.h"
#include "ui/ErrorReport.h"
#include "ui/Prompter.h"
#include "ui/WindowPlacement.h"

namespace pq {

namespace {

constexpr int kLabelX = 16;
constexpr int kFieldX = 150;
constexpr int kFieldWidth = 270;
constexpr int kRowHeight = 34;
constexpr int kFirstRowY = 26;

QString qt(const std::string& text) { return QString::fromStdString(text); }
std::string utf8(const QString& text) { return text.toStdString(); }

// The report buttons' names, in the order of kReportKinds.
constexpr const char* kReportButtonNames[] = {"Button1", "Button4", "Button5",
                                              "Button2", "Button6", "Button7"};
static_assert(std::size(kReportButtonNames) == kReportKinds.size());

}  // namespace

TForm13::TForm13(RecordStore& store, ui::Prompter& prompter, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowCloseButtonHint),
      store_(store),
      prompter_(prompter),
      flow_(store, parameters_, *this, prompter, this) {
  setWindowTitle(QStringLiteral("电能质量参数设置"));
  setFixedSize(515, 745);
  buildFileGroup();
  buildParameterGroup();
  buildReportGroup();
  showParameters();
  // Enter in a field has no further effect, and Esc would throw the typed parameters away.
  ui::keepKeysToFieldsAndButtons(*this, ui::EscapeKey::Ignored);
}

TForm13::~TForm13() = default;

void TForm13::buildFileGroup() {
  GroupBox1 = new QGroupBox(QStringLiteral("当前记录文件"), this);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  GroupBox1->setGeometry(8, 6, 499, 164);
  Edit2 = addField(GroupBox1, 0, QStringLiteral("记 录 文 件 名 称："));
  Edit2->setObjectName(QStringLiteral("Edit2"));
  Edit2->setReadOnly(true);
  Edit2->setGeometry(kFieldX - 10, kFirstRowY, 340, 24);
  dateFields_ = new history::DateRangeFields(prompter_, QStringLiteral("开    始     时      间："),
                                             QStringLiteral("终     止     时     间："), GroupBox1);
  dateFields_->setObjectName(QStringLiteral("DateFields"));
  dateFields_->setGeometry(kLabelX - 6, kFirstRowY + kRowHeight - 4, 480, 2 * kRowHeight);
  Button9 = new QPushButton(QStringLiteral("打开记录文件 "), GroupBox1);
  Button9->setObjectName(QStringLiteral("Button9"));
  Button9->setGeometry(360, kFirstRowY + 3 * kRowHeight - 6, 124, 28);
  ui::connectReporting(Button9, &QPushButton::clicked, this, prompter_, [this] { reopenRecordFile(); });
}

QLineEdit* TForm13::addField(QGroupBox* group, int row, const QString& label, const QString& unit) {
  const int y = kFirstRowY + row * kRowHeight;
  auto* caption = new QLabel(label, group);
  caption->setGeometry(kLabelX, y + 2, kFieldX - kLabelX, 20);
  auto* edit = new QLineEdit(group);
  edit->setGeometry(kFieldX, y, kFieldWidth, 24);
  caption->setBuddy(edit);
  if (!unit.isEmpty()) (new QLabel(unit, group))->setGeometry(kFieldX + kFieldWidth + 8, y + 2, 50, 20);
  return edit;
}

void TForm13::buildParameterGroup() {
  GroupBox2 = new QGroupBox(QStringLiteral("报表参数设置"), this);
  GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
  GroupBox2->setGeometry(8, 176, 499, 368);
  Edit1 = addField(GroupBox2, 0, QStringLiteral("变 (配) 电 所名称 ："));
  Edit3 = addField(GroupBox2, 1, QStringLiteral("测     点     名     称："));
  const int comboY = kFirstRowY + 2 * kRowHeight;
  auto* levelLabel = new QLabel(QStringLiteral("电     压     等     级："), GroupBox2);
  levelLabel->setGeometry(kLabelX, comboY + 2, kFieldX - kLabelX, 20);
  ComboBox1 = new QComboBox(GroupBox2);
  ComboBox1->setEditable(true);
  ComboBox1->setInsertPolicy(QComboBox::NoInsert);
  for (const std::string_view level : kVoltageLevelTexts) ComboBox1->addItem(qt(std::string(level)));
  ComboBox1->setGeometry(kFieldX, comboY, kFieldWidth, 24);
  levelLabel->setBuddy(ComboBox1);
  Edit9 = addField(GroupBox2, 3, QStringLiteral("PT          变         比 ："));
  Edit10 = addField(GroupBox2, 4, QStringLiteral("CT          变         比 ："));
  Edit4 = addField(GroupBox2, 5, QStringLiteral("最 小 短 路 容 量 ："), QStringLiteral("MVA"));
  Edit5 = addField(GroupBox2, 6, QStringLiteral("供 电 设 备 容 量："), QStringLiteral("MVA"));
  Edit6 = addField(GroupBox2, 7, QStringLiteral("用 户 协 议 容 量："), QStringLiteral("MVA"));
  Edit7 = addField(GroupBox2, 8, QStringLiteral("测    试     单    位 ："));
  Edit8 = addField(GroupBox2, 9, QStringLiteral("测    试     人     员："));
  const std::pair<QLineEdit*, const char*> names[] = {{Edit1, "Edit1"},   {Edit3, "Edit3"}, {Edit9, "Edit9"},
                                                      {Edit10, "Edit10"}, {Edit4, "Edit4"}, {Edit5, "Edit5"},
                                                      {Edit6, "Edit6"},   {Edit7, "Edit7"}, {Edit8, "Edit8"}};
  for (const auto& [edit, name] : names) edit->setObjectName(QString::fromLatin1(name));
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  Edit9->setReadOnly(true);
  Edit10->setReadOnly(true);
  // The ratio fields share the capacity fields' handlers, as they always did.
  for (QLineEdit* edit : {Edit4, Edit5, Edit6, Edit9, Edit10}) {
    edit->installEventFilter(this);
    ui::holdToKeyRule(*edit, [this](const QString& text, char32_t key) {
      return parameters_.filterCapacityKey(utf8(text), key);
    });
  }
}

void TForm13::buildReportGroup() {
  GroupBox3 = new QGroupBox(QStringLiteral("打开报表"), this);
  GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
  GroupBox3->setGeometry(8, 550, 499, 188);
  for (std::size_t i = 0; i < kReportKinds.size(); ++i) {
    const ReportKind kind = kReportKinds[i];
    auto* button = new QPushButton(qt(kind.buttonCaption()), GroupBox3);
    button->setObjectName(QString::fromLatin1(kReportButtonNames[i]));
    button->setGeometry(16 + static_cast<int>(i % 3) * 120, 24 + static_cast<int>(i / 3) * 36, 112, 28);
    ui::connectReporting(button, &QPushButton::clicked, this, prompter_, [this, kind] { report(kind); });
  }
  auto* exit = new QPushButton(QStringLiteral("退出   "), GroupBox3);
  exit->setObjectName(QStringLiteral("Button3"));
  exit->setGeometry(376, 60, 108, 28);
  connect(exit, &QPushButton::clicked, this, &QDialog::accept);

  busyText_ = new QLabel(QString::fromUtf8(messages::kReportBusy), GroupBox3);
  busyText_->setObjectName(QStringLiteral("Label20"));
  QFont font;
  font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC")});
  font.setPixelSize(16);
  busyText_->setFont(font);
  busyText_->setGeometry(16, 98, 300, 22);
  busyText_->hide();
  Animate1 = new ui::BusyAnimation(QSize(272, 60), GroupBox3);
  Animate1->setObjectName(QStringLiteral("Animate1"));
  Animate1->move(16, 122);
}

void TForm13::showParameters() {
  const ReportParameters& p = parameters_;
  Edit2->setText(qt(p.fileNameText));
  dateFields_->setTexts(p.start, p.end);
  Edit1->setText(qt(p.stationName));
  Edit3->setText(qt(p.pointName));
  ComboBox1->setCurrentIndex(ComboBox1->findText(qt(p.voltageLevelText)));
  ComboBox1->setEditText(qt(p.voltageLevelText));
  Edit9->setText(qt(p.ptRatioText));
  Edit10->setText(qt(p.ctRatioText));
  Edit4->setText(qt(p.minShortCircuitText));
  Edit5->setText(qt(p.supplyCapacityText));
  Edit6->setText(qt(p.agreedCapacityText));
  Edit7->setText(qt(p.testUnit));
  Edit8->setText(qt(p.tester));
}

void TForm13::takeParameters() {
  ReportParameters& p = parameters_;
  p.start = dateFields_->start();
  p.end = dateFields_->end();
  p.stationName = utf8(Edit1->text());
  p.pointName = utf8(Edit3->text());
  p.voltageLevelText = utf8(ComboBox1->currentText());
  p.minShortCircuitText = utf8(Edit4->text());
  p.supplyCapacityText = utf8(Edit5->text());
  p.agreedCapacityText = utf8(Edit6->text());
  p.testUnit = utf8(Edit7->text());
  p.tester = utf8(Edit8->text());
}

void TForm13::activated() {
  ui::centreOnScreen(*this);
  takeParameters();  // what fillFromStore does not fill stays as typed
  parameters_.fillFromStore(store_);
  showParameters();
}

void TForm13::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() != QEvent::ActivationChange) return;
  if (!isActiveWindow()) {
    QWidget* taker = QApplication::activeWindow();
    lostToOwnBox_ =
        qobject_cast<QMessageBox*>(taker) != nullptr || qobject_cast<QFileDialog*>(taker) != nullptr;
    return;
  }
  if (!lostToOwnBox_) ui::runReportingErrors(prompter_, this, [this] { activated(); });
  lostToOwnBox_ = false;
}

bool TForm13::eventFilter(QObject* watched, QEvent* event) {
  if (qobject_cast<QLineEdit*>(watched) != nullptr && event->type() == QEvent::FocusOut)
    parameters_.capacityFieldLeft();
  return QDialog::eventFilter(watched, event);
}

void TForm13::reopenRecordFile() {
  const QString path =
      prompter_.chooseFileToOpen(this, QString(), QStringLiteral("*.bin (*.bin);;All files (*.*)"));
  std::optional<std::string> chosen;
  if (!path.isEmpty()) chosen = QFile::encodeName(path).toStdString();
  takeParameters();
  const std::vector<std::string> shown = parameters_.reopenRecordFile(store_, chosen);
  showParameters();
  for (const std::string& text : shown) prompter_.showMessage(this, qt(text));
}

void TForm13::report(ReportKind kind) {
  takeParameters();
  flow_.requestReport(kind);
}

void TForm13::showMessage(const char* text) { prompter_.showMessage(this, QString::fromUtf8(text)); }

void TForm13::busyStarted() {
  busyText_->show();
  busyText_->repaint();
  Animate1->start();
  // The run blocks this window until it ends; one pass of the event loop gets the indicator onto
  // the screen before it starts (input waits, so nothing else can start meanwhile).
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TForm13::busyFinished() {
  Animate1->stop();
  busyText_->hide();
}

}  // namespace pq

#include "ui/calc/viewpointdialog.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

#include "core/calc/numberrules.h"
#include "core/sheet/sheet.h"
#include "ui/calc/columndialog.h"
#include "ui/platform/displaytext.h"
#include "ui/platform/itemlist.h"
#include "ui/platform/prompts.h"
#include "ui/platform/settings.h"
#include "ui/platform/singledialog.h"
#include "ui/sheet/frmdocument.h"

namespace kelt {

namespace {
const char* const kDefaultNames[] = {"知識・技能", "思考・判断・表現",
                                     "主体的に学習に取り組む態度"};
const QString kGroup = QStringLiteral("Viewpoints/");

template <typename W>
W* Named(W* widget, const QString& name, const QString& spoken = {}) {
  widget->setObjectName(name);
  if (!spoken.isEmpty()) widget->setAccessibleName(spoken);
  return widget;
}

QTableWidgetItem* Fixed(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled);
  return item;
}

std::optional<double> Number(const QString& text) { return NumericCellValue(text); }

// Score columns whose pupil cells are all empty: where letters may go by default.
QList<int> FreeColumns(const TextGrid& view) {
  QList<int> free;
  for (int c = Sheet::kFirstScoreCol; c < view.Cols(); ++c) {
    bool empty = true;
    for (int r = Sheet::kFirstPupilRow; empty && r <= Sheet::LastPupilRow(view); ++r)
      empty = view.IsEmpty(r, c);
    if (empty) free << c;
  }
  return free;
}
}  // namespace

ViewpointDialog::ViewpointDialog(std::function<frmDocument*()> activeSheet, QWidget* parent)
    : QDialog(parent), m_activeSheet(std::move(activeSheet)) {
  MakeSingleDialog(this, QStringLiteral("観点別評価"));
  const frmDocument* doc = m_activeSheet();
  m_itemNames = ScoreColumnNames(doc);
  static const TextGrid kNoSheet;
  const TextGrid& view = doc ? doc->sheet()->View() : kNoSheet;
  QStringList columns;
  for (int c = 0; c < view.Cols(); ++c) {
    const QString header = DisplayText(view.Text(0, c));
    columns << (header.isEmpty() ? QStringLiteral("(%1列目)").arg(c + 1) : header);
  }
  const QList<int> free = FreeColumns(view);

  // Sizes from the face: the longest default name whole, a table row one text line high.
  const QFontMetrics metrics = fontMetrics();
  const int rowHeight = metrics.height() + 6;
  const auto compact = [rowHeight](QTableWidget* table) {
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(rowHeight);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  };
  auto* layout = new QGridLayout(this);
  const QStringList headings = {QStringLiteral("観点"), QStringLiteral("項目"),
                                QStringLiteral("満点・重み"), QStringLiteral("書き込む列")};
  for (int i = 0; i < headings.size(); ++i) layout->addWidget(new QLabel(headings[i], this), 0, i);
  for (int v = 0; v < kViewpointCount; ++v) {
    const QString n = QString::number(v + 1);
    const QString spoken = QStringLiteral("観点%1の").arg(v + 1);
    Row& row = m_rows[v];
    row.name = Named(new QLineEdit(QString::fromUtf8(kDefaultNames[v]), this),
                     QStringLiteral("Name") + n, spoken + QStringLiteral("名前"));
    row.list = MakeColumnList(this, m_itemNames, ItemChoice::Several);
    Named(row.list, QStringLiteral("List") + n, spoken + QStringLiteral("項目"));
    row.marks = Named(new QTableWidget(0, 3, this), QStringLiteral("Marks") + n,
                      spoken + QStringLiteral("満点と重み"));
    row.marks->setHorizontalHeaderLabels(
        {QStringLiteral("項目"), QStringLiteral("満点"), QStringLiteral("重み")});
    compact(row.marks);
    row.name->setMinimumWidth(metrics.horizontalAdvance(QString::fromUtf8(kDefaultNames[2])) +
                              metrics.averageCharWidth() * 2);
    row.target = Named(new QComboBox(this), QStringLiteral("Target") + n,
                       spoken + QStringLiteral("書き込む列"));
    for (int c = 0; c < columns.size(); ++c) row.target->addItem(columns[c], c);
    row.target->setCurrentIndex(v < free.size() ? free[v] : int(columns.size()) - 1);
    layout->addWidget(row.name, 1 + v, 0, Qt::AlignTop);
    layout->addWidget(row.list, 1 + v, 1);
    layout->addWidget(row.marks, 1 + v, 2);
    layout->addWidget(row.target, 1 + v, 3, Qt::AlignTop);
    connect(row.list, &QListWidget::itemChanged, this, [this, v] { RebuildMarks(v); });
    connect(row.name, &QLineEdit::textChanged, this, [this] {
      if (m_gradeTable->rowCount() != 2 * UsedViewpoints() + 1) ResetGradeTable();
    });
  }

  auto* bounds = new QHBoxLayout;
  m_aFrom = Named(new QLineEdit(QStringLiteral("80"), this), QStringLiteral("AFrom"),
                  QStringLiteral("A の基準 % 以上"));
  m_bFrom = Named(new QLineEdit(QStringLiteral("50"), this), QStringLiteral("BFrom"),
                  QStringLiteral("B の基準 % 以上"));
  for (QLineEdit* box : {m_aFrom, m_bFrom})
    box->setMaximumWidth(metrics.horizontalAdvance(QStringLiteral("000.00")) + rowHeight);
  bounds->addWidget(new QLabel(QStringLiteral("A:"), this));
  bounds->addWidget(m_aFrom);
  bounds->addWidget(new QLabel(QStringLiteral("% 以上"), this));
  bounds->addWidget(new QLabel(QStringLiteral("B:"), this));
  bounds->addWidget(m_bFrom);
  bounds->addWidget(new QLabel(QStringLiteral("% 以上　（B 未満は C）"), this));
  bounds->addStretch();
  layout->addLayout(bounds, 4, 0, 1, 4);

  auto* grade = new QHBoxLayout;
  m_gradeTarget =
      Named(new QComboBox(this), QStringLiteral("GradeTarget"), QStringLiteral("評定を書き込む列"));
  m_gradeTarget->addItem(QStringLiteral("なし"), -1);
  for (int c = 0; c < columns.size(); ++c) m_gradeTarget->addItem(columns[c], c);
  m_gradeTarget->setCurrentIndex(free.size() > kViewpointCount ? 1 + free[kViewpointCount] : 0);
  grade->addWidget(new QLabel(QStringLiteral("評定を書き込む列"), this));
  grade->addWidget(m_gradeTarget);
  layout->addLayout(grade, 5, 0, 1, 2);
  m_gradeTable = Named(new QTableWidget(0, 2, this), QStringLiteral("GradeTable"),
                       QStringLiteral("合計点と評定の表"));
  m_gradeTable->setHorizontalHeaderLabels({QStringLiteral("合計点"), QStringLiteral("評定")});
  compact(m_gradeTable);
  // The seven sums of three viewpoints in sight.
  m_gradeTable->setMinimumHeight(8 * rowHeight + 2 * m_gradeTable->frameWidth());
  layout->addWidget(m_gradeTable, 5, 2, 3, 1);

  auto* panel = Named(new QFrame(this), QStringLiteral("Shape1"));
  panel->setFrameShape(QFrame::Box);
  auto* panelLayout = new QVBoxLayout(panel);
  m_result = Named(new QLabel(panel), QStringLiteral("Result"), QStringLiteral("確認の結果"));
  m_result->setWordWrap(true);
  panelLayout->addWidget(m_result);
  layout->addWidget(panel, 6, 0, 2, 2);

  auto* buttons = new QVBoxLayout;
  const struct {
    const char* name;
    const char* caption;
    void (ViewpointDialog::*press)();
  } presses[] = {{"Command3", "確認", &ViewpointDialog::Check},
                 {"Command1", "実行", &ViewpointDialog::Run},
                 {"Command2", "中止", nullptr}};
  for (const auto& p : presses) {
    auto* button =
        Named(new QPushButton(QString::fromUtf8(p.caption), this), QString::fromLatin1(p.name));
    buttons->addWidget(button);
    if (p.press) {
      connect(button, &QPushButton::clicked, this, p.press);
    } else {
      connect(button, &QPushButton::clicked, this, &QDialog::close);
    }
  }
  buttons->addStretch();
  layout->addLayout(buttons, 5, 3, 3, 1);

  ResetGradeTable();
  Recall();
}

ViewpointDialog::~ViewpointDialog() { Remember(); }

int ViewpointDialog::UsedViewpoints() const {
  int used = 0;
  for (const Row& row : m_rows) used += row.name->text().trimmed().isEmpty() ? 0 : 1;
  return used;
}

void ViewpointDialog::ResetGradeTable() {
  const int used = UsedViewpoints();
  const QMap<int, int> table = DefaultGradeTable(used);
  m_gradeTable->setRowCount(0);
  if (used == 0) return;
  // Sums from the highest down, each with its 評定.
  for (int sum = 3 * used; sum >= used; --sum) {
    const int r = m_gradeTable->rowCount();
    m_gradeTable->insertRow(r);
    m_gradeTable->setItem(r, 0, Fixed(QString::number(sum)));
    m_gradeTable->setItem(
        r, 1,
        new QTableWidgetItem(table.contains(sum) ? QString::number(table.value(sum)) : QString()));
  }
}

void ViewpointDialog::RebuildMarks(int v) {
  Row& row = m_rows[v];
  for (int r = 0; r < row.marks->rowCount(); ++r) {
    row.typed.insert(row.marks->item(r, 0)->text(),
                     {row.marks->item(r, 1)->text(), row.marks->item(r, 2)->text()});
  }
  row.marks->setRowCount(0);
  for (const int k : ChosenItems(row.list)) {
    const QString name = m_itemNames.value(k);
    const auto typed = row.typed.value(name, {QStringLiteral("100"), QStringLiteral("1")});
    const int r = row.marks->rowCount();
    row.marks->insertRow(r);
    row.marks->setItem(r, 0, Fixed(name));
    row.marks->setItem(r, 1, new QTableWidgetItem(typed.first));
    row.marks->setItem(r, 2, new QTableWidgetItem(typed.second));
  }
}

std::optional<ViewpointSettings> ViewpointDialog::Settings() {
  ViewpointSettings settings;
  for (int v = 0; v < kViewpointCount; ++v) {
    const Row& row = m_rows[v];
    Viewpoint& viewpoint = settings.viewpoints[v];
    viewpoint.name = row.name->text().trimmed();
    viewpoint.target = row.target->currentData().toInt();
    const QList<int> items = ChosenItems(row.list);
    for (qsizetype i = 0; i < items.size(); ++i) {
      // The table has a row for each picked item, in the list's order.
      const auto cell = [&](int col, const char* fallback) {
        const QTableWidgetItem* typed = row.marks->item(int(i), col);
        return typed ? typed->text() : QString::fromLatin1(fallback);
      };
      const std::optional<double> full = Number(cell(1, "100"));
      const std::optional<double> weight = Number(cell(2, "1"));
      if (!full || *full <= 0 || !weight || *weight < 0) {
        ShowMessage(this, QStringLiteral("満点には正の数、重みには 0 以上の数を入力してください"));
        return std::nullopt;
      }
      viewpoint.items.append({Sheet::ItemColumn(items[i]), *full, *weight});
    }
  }
  const std::optional<double> a = Number(m_aFrom->text());
  const std::optional<double> b = Number(m_bFrom->text());
  if (!a || !b) {
    ShowMessage(this, QStringLiteral("A・B の基準には数値を入力してください"));
    return std::nullopt;
  }
  settings.aFrom = *a;
  settings.bFrom = *b;
  settings.gradeTarget = m_gradeTarget->currentData().toInt();
  for (int r = 0; r < m_gradeTable->rowCount(); ++r) {
    const QString grade = m_gradeTable->item(r, 1)->text().trimmed();
    if (grade.isEmpty()) continue;
    bool number = false;
    const int value = grade.toInt(&number);
    if (!number || value < 1 || value > 5) {
      ShowMessage(this, QStringLiteral("評定には 1 から 5 の数を入力してください"));
      return std::nullopt;
    }
    settings.gradeOfSum.insert(m_gradeTable->item(r, 0)->text().toInt(), value);
  }
  const ViewpointRefusal refusal = CheckViewpoints(settings);
  switch (refusal.kind) {
    case ViewpointRefusal::kNone:
      return settings;
    case ViewpointRefusal::kNumberOrNameColumn:
      RefuseNumberOrNameColumn(this);
      break;
    case ViewpointRefusal::kTargetIsItem:
      ShowMessage(this, QStringLiteral("観点の項目に選んだ列には書き込めません"));
      break;
    case ViewpointRefusal::kSameTarget:
      ShowMessage(this, QStringLiteral("同じ列に二つの結果は書き込めません"));
      break;
    case ViewpointRefusal::kNoItems:
      ShowMessage(this, QStringLiteral("「%1」の項目を選択してください").arg(refusal.viewpoint));
      break;
  }
  return std::nullopt;
}

void ViewpointDialog::Check() {
  const frmDocument* doc = m_activeSheet();
  if (!doc) return;
  const std::optional<ViewpointSettings> settings = Settings();
  if (!settings) return;
  const ViewpointCounts counts = CountViewpoints(doc->sheet()->View(), *settings);
  QStringList lines;
  for (int v = 0; v < kViewpointCount; ++v) {
    const Viewpoint& viewpoint = settings->viewpoints[v];
    if (viewpoint.name.isEmpty()) continue;
    lines << QStringLiteral("%1: A %2人  B %3人  C %4人")
                 .arg(viewpoint.name)
                 .arg(counts.letters[v][0])
                 .arg(counts.letters[v][1])
                 .arg(counts.letters[v][2]);
  }
  QStringList grades;
  for (int g = 5; g >= 1; --g)
    grades << QStringLiteral("%1: %2人").arg(g).arg(counts.grades[5 - g]);
  lines << QStringLiteral("評定  ") + grades.join(QStringLiteral("  "));
  lines << QStringLiteral("A と C の両方がある生徒: %1人").arg(counts.aAndC);
  m_result->setText(lines.join(QLatin1Char('\n')));
  Remember();
}

void ViewpointDialog::Run() {
  const std::optional<ViewpointSettings> settings = Settings();
  if (!settings) return;
  Remember();
  if (RunCalculation(this, m_activeSheet(), {}, {}, [&](TextGrid& view, const CalcChoice&) {
        WriteViewpoints(view, *settings);
      })) {
    close();
  }
}

void ViewpointDialog::Remember() const {
  const auto store = OpenSettings();
  for (int v = 0; v < kViewpointCount; ++v) {
    const Row& row = m_rows[v];
    const QString n = QString::number(v + 1);
    store->setValue(kGroup + QStringLiteral("Name") + n, row.name->text());
    QStringList items;
    for (int r = 0; r < row.marks->rowCount(); ++r) {
      items << row.marks->item(r, 0)->text() + QLatin1Char('\t') + row.marks->item(r, 1)->text() +
                   QLatin1Char('\t') + row.marks->item(r, 2)->text();
    }
    store->setValue(kGroup + QStringLiteral("Items") + n, items);
  }
  store->setValue(kGroup + QStringLiteral("AFrom"), m_aFrom->text());
  store->setValue(kGroup + QStringLiteral("BFrom"), m_bFrom->text());
  QStringList table;
  for (int r = 0; r < m_gradeTable->rowCount(); ++r)
    table << m_gradeTable->item(r, 0)->text() + QLatin1Char(':') + m_gradeTable->item(r, 1)->text();
  store->setValue(kGroup + QStringLiteral("Table"), table);
}

void ViewpointDialog::Recall() {
  const auto store = OpenSettings();
  for (int v = 0; v < kViewpointCount; ++v) {
    Row& row = m_rows[v];
    const QString n = QString::number(v + 1);
    const QString nameKey = kGroup + QStringLiteral("Name") + n;
    if (store->contains(nameKey)) row.name->setText(store->value(nameKey).toString().left(100));
    for (const QString& saved : store->value(kGroup + QStringLiteral("Items") + n).toStringList()) {
      const QStringList parts = saved.split(QLatin1Char('\t'));
      if (parts.size() != 3) continue;
      row.typed.insert(parts[0], {parts[1].left(20), parts[2].left(20)});
      // Matched by the item's header text: an item renamed or gone is not picked.
      const qsizetype k = m_itemNames.indexOf(parts[0]);
      if (k >= 0) row.list->item(int(k))->setCheckState(Qt::Checked);
    }
  }
  if (store->contains(kGroup + QStringLiteral("AFrom")))
    m_aFrom->setText(store->value(kGroup + QStringLiteral("AFrom")).toString().left(20));
  if (store->contains(kGroup + QStringLiteral("BFrom")))
    m_bFrom->setText(store->value(kGroup + QStringLiteral("BFrom")).toString().left(20));
  ResetGradeTable();
  // A table kept for as many viewpoints as are named now.
  const QStringList table = store->value(kGroup + QStringLiteral("Table")).toStringList();
  if (table.size() == m_gradeTable->rowCount()) {
    for (int r = 0; r < m_gradeTable->rowCount(); ++r) {
      const QStringList parts = table[r].split(QLatin1Char(':'));
      if (parts.size() == 2 && parts[0] == m_gradeTable->item(r, 0)->text())
        m_gradeTable->item(r, 1)->setText(parts[1].left(2));
    }
  }
}

QDialog* OpenViewpointDialog(QWidget* frame, const std::function<frmDocument*()>& activeSheet) {
  if (!activeSheet()) return nullptr;
  return ShowSingleDialog(QStringLiteral("観点別評価"), frame,
                          [&] { return new ViewpointDialog(activeSheet, frame); });
}

}  // namespace kelt

#include "ui/app/frmsplash.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

#include "ui/platform/fonts.h"
#include "ui/platform/prompts.h"
#include "version.h"

namespace kelt {

namespace {
QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(geometry);
  return label;
}

// The logo: a mark book page with a few rows of marks.
QPixmap Logo(int size, const QColor& colour) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(Qt::white);
  painter.setPen(QPen(colour, 2));
  painter.drawRoundedRect(QRectF(3, 3, size - 6, size - 6), 6, 6);
  for (int i = 1; i < 4; ++i) {
    const double y = 3 + i * (size - 6) / 4.0;
    painter.drawLine(QPointF(8, y), QPointF(size - 8, y));
  }
  painter.drawLine(QPointF(size / 3.0, 8), QPointF(size / 3.0, size - 8));
  return pixmap;
}
}  // namespace

QString VersionText() {
  return QStringLiteral("ﾊﾞｰｼﾞｮﾝ ") + QString::number(kVersionMajor) + QLatin1Char('.') +
         QString::number(kVersionMinor) + QLatin1Char('.') + QString::number(kVersionRevision);
}

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_frame1(new QFrame(this)) {
  setObjectName(QStringLiteral("frmSplash"));
  setFixedSize(480, 260);
  setAttribute(Qt::WA_DeleteOnClose);
  setFocusPolicy(Qt::StrongFocus);

  m_frame1->setObjectName(QStringLiteral("Frame1"));
  m_frame1->setFrameShape(QFrame::Box);
  m_frame1->setGeometry(8, 8, 464, 244);
  m_frame1->installEventFilter(this);

  const QColor blue(40, 80, 160);
  auto* logo = AddLabel(m_frame1, "imgLogo", {}, {20, 20, 72, 72});
  logo->setPixmap(Logo(72, blue));
  auto* image = AddLabel(m_frame1, "Image1", {}, {400, 180, 40, 40});
  image->setPixmap(Logo(40, QColor(204, 120, 40)));

  auto* title = AddLabel(m_frame1, "Label1", QStringLiteral("ケルト"), {110, 18, 330, 48});
  // In the sheet's face: a face of its own would be loaded for this one word and kept in
  // memory (some 2.5 MiB) as long as the program runs.
  QFont titleFont(PGothicFamily());
  titleFont.setPointSize(26);
  title->setFont(titleFont);

  auto* product = AddLabel(m_frame1, "lblProductName", {}, {112, 66, 330, 28});
  QFont productFont(Face(QStringLiteral("Arial")));
  productFont.setPointSize(14);
  productFont.setBold(true);
  product->setFont(productFont);

  auto* version = AddLabel(m_frame1, "lblVersion", {}, {112, 98, 330, 22});
  QFont versionFont(PGothicFamily());
  versionFont.setPointSize(11);
  version->setFont(versionFont);

  AddLabel(m_frame1, "lblCompany", QStringLiteral("ケルト開発グループ"), {20, 150, 360, 20});
  AddLabel(m_frame1, "lblCopyright",
           QStringLiteral("この成績処理ソフトは学年の先生方のために作られました。"),
           {20, 172, 370, 20});
  AddLabel(m_frame1, "lblWeb", QStringLiteral("ヘルプ: ﾍﾙﾌﾟ(H) → 目次(C)"), {20, 194, 360, 20});

  // Decorative rules.
  const QRect lines[] = {{20, 130, 424, 1}, {20, 134, 424, 1}, {20, 222, 360, 1}, {104, 20, 1, 100},
                         {444, 20, 1, 100}, {20, 226, 360, 1}, {20, 140, 424, 1}};
  for (int i = 0; i < 7; ++i) {
    auto* line = new QFrame(m_frame1);
    line->setObjectName(QStringLiteral("Line%1").arg(i + 1));
    line->setFrameShape(lines[i].width() > 1 ? QFrame::HLine : QFrame::VLine);
    line->setGeometry(lines[i]);
  }

  // The version and the application title.
  version->setText(VersionText());
  product->setText(ApplicationTitle());
}

void frmSplash::keyPressEvent(QKeyEvent* event) {
  event->accept();
  close();
}

void frmSplash::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  m_drawn = true;
}

bool frmSplash::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_frame1 && event->type() == QEvent::MouseButtonPress) {
    close();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace kelt

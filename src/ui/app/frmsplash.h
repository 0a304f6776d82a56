#pragma once

#include <QWidget>

class QFrame;

namespace kelt {

// "ﾊﾞｰｼﾞｮﾝ 1.1.0": the version text of the splash window and the About box.
QString VersionText();

// The start-up window with the product name and version; a key or a click closes it.
class frmSplash : public QWidget {
  Q_OBJECT

 public:
  explicit frmSplash(QWidget* parent = nullptr);

  // Whether it has been drawn. Qt draws a splash window while show() still runs where the window
  // system exposes it at once; RunKelt draws it itself where not.
  bool Drawn() const { return m_drawn; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QFrame* m_frame1;
  bool m_drawn = false;
};

}  // namespace kelt

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

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QFrame* m_frame1;
};

}  // namespace kelt

#include "ui/platform/boxaccessible.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLineEdit>

namespace kelt {
namespace {

const char kOwnText[] = "keltOwnAccessibleText";

class BoxAccessible : public QAccessibleWidget,
                      public QAccessibleTextInterface,
                      public QAccessibleEditableTextInterface {
 public:
  explicit BoxAccessible(QLineEdit* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface)
      return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return Box()->text();
    return QAccessibleWidget::text(t);
  }
  void setText(QAccessible::Text t, const QString& text) override {
    if (t == QAccessible::Value && !Box()->isReadOnly()) Box()->setText(text);
  }
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = !Box()->isReadOnly();
    state.readOnly = Box()->isReadOnly();
    state.selectableText = true;
    return state;
  }

  // The text: offsets count UTF-16 units, as Qt's own line edit counts them.
  void selection(int index, int* start, int* end) const override {
    *start = *end = 0;
    if (index != 0 || !Box()->hasSelectedText()) return;
    *start = Box()->selectionStart();
    *end = *start + int(Box()->selectedText().size());
  }
  int selectionCount() const override { return Box()->hasSelectedText() ? 1 : 0; }
  void addSelection(int start, int end) override { setSelection(0, start, end); }
  void removeSelection(int index) override {
    if (index == 0) Box()->deselect();
  }
  void setSelection(int index, int start, int end) override {
    if (index == 0) Box()->setSelection(start, end - start);
  }
  int cursorPosition() const override { return Box()->cursorPosition(); }
  void setCursorPosition(int position) override { Box()->setCursorPosition(position); }
  QString text(int start, int end) const override {
    return start < 0 || end < start ? QString() : Box()->text().mid(start, end - start);
  }
  int characterCount() const override { return int(Box()->text().size()); }
  QRect characterRect(int offset) const override {
    const QString text = Box()->text();
    const QFontMetrics metrics = Box()->fontMetrics();
    const QRect inside = Box()->contentsRect();
    const int x = inside.x() + metrics.horizontalAdvance(text.left(offset));
    const int width = offset < text.size() ? metrics.horizontalAdvance(text.mid(offset, 1)) : 1;
    const QRect local(x, inside.y(), width, inside.height());
    return {Box()->mapToGlobal(local.topLeft()), local.size()};
  }
  int offsetAtPoint(const QPoint& point) const override {
    return Box()->cursorPositionAt(Box()->mapFromGlobal(point));
  }
  void scrollToSubstring(int start, int) override { Box()->setCursorPosition(start); }
  QString attributes(int, int* start, int* end) const override {
    *start = 0;
    *end = characterCount();
    return {};
  }
  QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                       int* end) const override {
    // At the end there is no character, word or sentence to give: the case Qt never leaves.
    if (offset >= characterCount() && boundary != QAccessible::NoBoundary) {
      *start = *end = characterCount();
      return {};
    }
    return QAccessibleTextInterface::textAtOffset(offset, boundary, start, end);
  }

  // Editing, for readers that type through the interface.
  void deleteText(int start, int end) override { replaceText(start, end, {}); }
  void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
  void replaceText(int start, int end, const QString& text) override {
    if (Box()->isReadOnly() || start < 0 || end < start) return;
    QString all = Box()->text();
    all.replace(start, end - start, text);
    Box()->setText(all);
  }

 private:
  QLineEdit* Box() const { return static_cast<QLineEdit*>(object()); }
};

QAccessibleInterface* BoxFactory(const QString&, QObject* object) {
  auto* box = qobject_cast<QLineEdit*>(object);
  if (!box || !box->property(kOwnText).toBool()) return nullptr;
  return new BoxAccessible(box);
}

}  // namespace

void UseOwnAccessibleText(QLineEdit* box) {
  static const bool installed = [] {
    QAccessible::installFactory(&BoxFactory);
    return true;
  }();
  (void)installed;
  box->setProperty(kOwnText, true);
}

}  // namespace kelt

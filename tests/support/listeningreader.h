#pragma once

#include <QAccessible>
#include <QList>
#include <QObject>
#include <QString>

namespace kelt::test {

// A screen reader listening for the length of a test: Qt sends accessibility events only while
// the platform says assistive technology is active, which the offscreen platform never does.
// Records each event's type and its object's accessible name at the time it was sent.
class ListeningReader {
 public:
  struct Heard {
    QAccessible::Event type;
    QObject* object;
    QString name;
  };

  ListeningReader();
  ~ListeningReader();
  ListeningReader(const ListeningReader&) = delete;
  ListeningReader& operator=(const ListeningReader&) = delete;

  const QList<Heard>& heard() const { return m_heard; }
  // The names announced for `object` by NameChanged events, in order.
  QStringList NamesOf(const QObject* object) const;

 private:
  static void Record(QAccessibleEvent* event);
  QList<Heard> m_heard;
};

}  // namespace kelt::test

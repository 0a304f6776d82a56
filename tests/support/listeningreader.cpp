#include "support/listeningreader.h"

#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <QGuiApplication>

namespace kelt::test {
namespace {
ListeningReader* g_listening = nullptr;

QPlatformAccessibility* PlatformAccessibility() {
  QPlatformIntegration* integration = QGuiApplicationPrivate::platformIntegration();
  return integration ? integration->accessibility() : nullptr;
}
}  // namespace

ListeningReader::ListeningReader() {
  g_listening = this;
  if (QPlatformAccessibility* platform = PlatformAccessibility()) platform->setActive(true);
  QAccessible::installUpdateHandler(&ListeningReader::Record);
}

ListeningReader::~ListeningReader() {
  QAccessible::installUpdateHandler(nullptr);
  if (QPlatformAccessibility* platform = PlatformAccessibility()) platform->setActive(false);
  g_listening = nullptr;
}

QStringList ListeningReader::NamesOf(const QObject* object) const {
  QStringList names;
  for (const Heard& heard : m_heard) {
    if (heard.object == object && heard.type == QAccessible::NameChanged) names << heard.name;
  }
  return names;
}

void ListeningReader::Record(QAccessibleEvent* event) {
  if (!g_listening) return;
  QAccessibleInterface* iface = event->accessibleInterface();
  g_listening->m_heard.append(
      {event->type(), event->object(), iface ? iface->text(QAccessible::Name) : QString()});
}

}  // namespace kelt::test

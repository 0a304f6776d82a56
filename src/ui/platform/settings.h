#pragma once

#include <QSettings>
#include <memory>

#include "ui/platform/prompts.h"

namespace kelt {

// The program's settings store: INI, application "kelt".
inline std::unique_ptr<QSettings> OpenSettings() {
  return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, ApplicationTitle(),
                                     ApplicationTitle());
}

}  // namespace kelt

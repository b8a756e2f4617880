// Constant window translucency through Qt's window opacity.
#include <QOperatingSystemVersion>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "skin/draw/bsUtils.h"

bool LayeredWindowsAvailable() {
  const QOperatingSystemVersion v = QOperatingSystemVersion::current();
  if (v.type() == QOperatingSystemVersion::Windows) return LayeredWindowsAvailableOn(v.majorVersion(), v.minorVersion());
  return true;
}

void SetWindowAlpha(QWidget* window, int alpha) {
  if (!window) return;
  window->setWindowOpacity(std::clamp(alpha, 0, 255) / 255.0);
}

void SetWindowAlpha(QWindow* window, int alpha) {
  if (!window) return;
  window->setOpacity(std::clamp(alpha, 0, 255) / 255.0);
}

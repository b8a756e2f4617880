#include "platform/ShortCut.h"

#include <QStringList>
#include <utility>

#include "platform/Messages.h"

namespace {
// Names of the keys that have one besides letters, digits and F-keys.
const std::pair<uint16_t, const char*> kKeyNames[] = {
    {VK_BACK, "BkSp"},   {VK_TAB, "Tab"},     {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"},   {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"},  {VK_NEXT, "PgDn"},   {VK_END, "End"},      {VK_HOME, "Home"},    {VK_LEFT, "Left"},
    {VK_UP, "Up"},       {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},    {VK_INSERT, "Ins"},   {VK_DELETE, "Del"},
};

QString KeyName(uint16_t key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return QString(QChar(key));
  if (key >= VK_F1 && key <= VK_F1 + 23) return QStringLiteral("F%1").arg(key - VK_F1 + 1);
  for (const auto& [k, name] : kKeyNames)
    if (k == key) return QString::fromLatin1(name);
  return {};
}
}  // namespace

TShortCut ShortCut(uint16_t key, TShiftState shift) {
  if (key & 0xFF00) return scNone;
  TShortCut s = key;
  if (shift & ssShift) s |= scShift;
  if (shift & ssCtrl) s |= scCtrl;
  if (shift & ssAlt) s |= scAlt;
  return s;
}

void ShortCutToKey(TShortCut shortCut, uint16_t& key, TShiftState& shift) {
  key = shortCut & 0xFF;
  shift = 0;
  if (shortCut & scShift) shift |= ssShift;
  if (shortCut & scCtrl) shift |= ssCtrl;
  if (shortCut & scAlt) shift |= ssAlt;
}

QString ShortCutToText(TShortCut shortCut) {
  const QString name = KeyName(shortCut & 0xFF);
  if (name.isEmpty()) return {};
  QString s;
  if (shortCut & scShift) s += QLatin1String("Shift+");
  if (shortCut & scCtrl) s += QLatin1String("Ctrl+");
  if (shortCut & scAlt) s += QLatin1String("Alt+");
  return s + name;
}

TShortCut TextToShortCut(const QString& text) {
  QString rest = text.trimmed();
  TShortCut mods = 0;
  for (;;) {
    if (rest.startsWith(QLatin1String("Shift+"), Qt::CaseInsensitive)) mods |= scShift, rest.remove(0, 6);
    else if (rest.startsWith(QLatin1String("Ctrl+"), Qt::CaseInsensitive)) mods |= scCtrl, rest.remove(0, 5);
    else if (rest.startsWith(QLatin1String("Alt+"), Qt::CaseInsensitive)) mods |= scAlt, rest.remove(0, 4);
    else break;
  }
  if (rest.isEmpty()) return scNone;
  for (uint16_t key = 1; key < 256; ++key) {
    const QString name = KeyName(key);
    if (!name.isEmpty() && name.compare(rest, Qt::CaseInsensitive) == 0) return static_cast<TShortCut>(mods | key);
  }
  return scNone;
}

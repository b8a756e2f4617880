#include "platform/Font.h"

#include <QFontMetrics>
#include <cmath>

#include "platform/Colors.h"

TFont::TFont() : Color(clWindowText) {}

int TFont::Size() const {
  // Size = -Height * 72 / ppi, rounded.
  return static_cast<int>(std::lround(-static_cast<double>(Height) * 72.0 / kScreenPixelsPerInch));
}

void TFont::SetSize(int points) {
  Height = -static_cast<int32_t>(std::lround(static_cast<double>(points) * kScreenPixelsPerInch / 72.0));
}

namespace {
QString Family(const QString& name) {
  // Old bitmap faces are mapped to metric-compatible outline faces present here.
  if (name.compare(QStringLiteral("MS Sans Serif"), Qt::CaseInsensitive) == 0 ||
      name.compare(QStringLiteral("Tahoma"), Qt::CaseInsensitive) == 0 ||
      name.compare(QStringLiteral("Arial"), Qt::CaseInsensitive) == 0)
    return QStringLiteral("Liberation Sans");
  return name;
}
}  // namespace

QFont TFont::ToQFont() const {
  // The same few fonts are made again at every paint, and a positive Height costs a metrics
  // lookup: the last font made is kept (GUI thread only).
  // (Never freed: a font must not outlive the application object in a static's destructor.)
  struct Made {
    QString name;
    int32_t height = 0;
    TFontStyles style = 0;
    QFont font;
    bool valid = false;
  };
  static Made* last = new Made;
  if (last->valid && Height == last->height && Style == last->style && Name == last->name) return last->font;
  QFont f(Family(Name));
  f.setStyleStrategy(QFont::PreferDefault);
  f.setHintingPreference(QFont::PreferFullHinting);
  int px = Height < 0 ? -Height : Height;
  if (Height > 0) {
    // Cell height: take the em size that gives this cell height.
    f.setPixelSize(std::max(1, px));
    QFontMetrics fm(f);
    const int cell = fm.ascent() + fm.descent();
    if (cell > 0) px = std::max(1, static_cast<int>(std::lround(static_cast<double>(px) * px / cell)));
  }
  f.setPixelSize(std::max(1, px));
  f.setBold(Style & fsBold);
  f.setItalic(Style & fsItalic);
  f.setUnderline(Style & fsUnderline);
  f.setStrikeOut(Style & fsStrikeOut);
  *last = Made{Name, Height, Style, f, true};
  return f;
}

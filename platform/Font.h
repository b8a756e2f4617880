// Fonts with the platform's height convention: a negative Height is the character height
// in pixels (em size), a positive Height the cell height (em plus internal leading);
// Size is in points at 96 pixels per inch.
#pragma once
#include <QFont>
#include <QString>
#include <cstdint>

#include "platform/Component.h"
#include "platform/Types.h"

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;

constexpr int kScreenPixelsPerInch = 96;

class TFont : public TPersistent {
 public:
  TFont();
  TFont(const TFont&) = default;
  TFont& operator=(const TFont&) = default;
  QString Name = QStringLiteral("MS Sans Serif");
  TColor Color = 0;        // clWindowText by default (set in the constructor)
  int32_t Height = -11;    // platform convention, see above
  TFontStyles Style = 0;
  uint8_t Charset = 1;     // DEFAULT_CHARSET

  int Size() const;        // points
  void SetSize(int points);
  void Assign(const TFont& other) { *this = other; }
  // The Qt font for drawing at one pixel per device pixel.
  QFont ToQFont() const;
  friend bool operator==(const TFont& a, const TFont& b) {
    return a.Name == b.Name && a.Color == b.Color && a.Height == b.Height && a.Style == b.Style && a.Charset == b.Charset;
  }
};

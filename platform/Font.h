// Fonts with the platform's height convention: a negative Height is the character height
// in pixels (em size), a positive Height the cell height (em plus internal leading);
// Size is in points at 96 pixels per inch.
#pragma once
#include <QFont>
#include <QString>
#include <cstdint>
#include <functional>

#include "platform/Component.h"
#include "platform/Types.h"

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;

constexpr int kScreenPixelsPerInch = 96;

// The values are plain fields for reading and for fonts nobody watches (a canvas's). An owner
// that must hear of changes sets OnChange and edits through the setters (or Assign): they call
// OnChange after storing. Copies take the values only: OnChange stays with its own font.
class TFont : public TPersistent {
 public:
  TFont();
  TFont(const TFont& other);
  // Takes the other font's values and tells the owner.
  TFont& operator=(const TFont& other);
  QString Name = QStringLiteral("MS Sans Serif");
  TColor Color = 0;        // clWindowText by default (set in the constructor)
  int32_t Height = -11;    // platform convention, see above
  TFontStyles Style = 0;
  uint8_t Charset = 1;     // DEFAULT_CHARSET

  int Size() const;        // points
  void SetSize(int points);
  void SetName(const QString& v);
  void SetColor(TColor v);
  void SetHeight(int32_t v);
  void SetStyle(TFontStyles v);
  void SetCharset(uint8_t v);
  void Assign(const TFont& other) { *this = other; }
  // Called after every change made through a setter or Assign; not copied with the values.
  std::function<void()> OnChange;
  void Changed() const {
    if (OnChange) OnChange();
  }
  // The Qt font for drawing at one pixel per device pixel.
  QFont ToQFont() const;
  friend bool operator==(const TFont& a, const TFont& b) {
    return a.Name == b.Name && a.Color == b.Color && a.Height == b.Height && a.Style == b.Style && a.Charset == b.Charset;
  }
};

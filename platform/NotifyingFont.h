// A font that tells its owner of every change: the owner sets OnChange, and every setter,
// every assignment and every sub-property a stored definition reads (Font.Color = ...) call it
// after storing. Copies take the values only: OnChange stays with the font it was set on.
// Reading the values is as for any font. GUI thread only.
#pragma once
#include <functional>

#include "platform/Font.h"

class TNotifyingFont : public TFont {
 public:
  TNotifyingFont() = default;
  explicit TNotifyingFont(const TFont& f) : TFont(f) {}
  TNotifyingFont(const TNotifyingFont& f) : TFont(f) {}
  TNotifyingFont& operator=(const TFont& f) {
    TFont::operator=(f);
    Changed();
    return *this;
  }
  TNotifyingFont& operator=(const TNotifyingFont& f) { return *this = static_cast<const TFont&>(f); }

  void SetName(const QString& v) { Name = v, Changed(); }
  void SetColor(TColor v) { Color = v, Changed(); }
  void SetHeight(int32_t v) { Height = v, Changed(); }
  void SetStyle(TFontStyles v) { Style = v, Changed(); }
  void SetCharset(uint8_t v) { Charset = v, Changed(); }
  void SetSize(int points) { TFont::SetSize(points), Changed(); }

  std::function<void()> OnChange;
  void Changed() const {
    if (OnChange) OnChange();
  }
};

// Tells `f`'s owner of a change made to its fields, when `f` is a notifying font.
inline void FontEdited(TFont* f) {
  if (auto* n = dynamic_cast<TNotifyingFont*>(f)) n->Changed();
}

// Skin description values: the enumerations of the skin words, the readers that turn INI
// values into rectangles, points, flags, font styles and words, and their writers.
//
// Words are compared exactly (letter case included); a word no table lists takes the
// table's fallback. Rectangle and point texts keep only digits and commas, so a skin value
// is never negative. A rectangle or point that cannot be converted raises EConvertError,
// which ends the whole skin load.
#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>

#include "platform/Font.h"
#include "platform/IniFile.h"
#include "platform/Types.h"

using TFontStyleSet = TFontStyles;  // bits fsBold, fsItalic, fsUnderline, fsStrikeOut

// The platform's text alignment: 0 taLeftJustify, 1 taRightJustify, 2 taCenter.
using TSkinAlignment = TAlignment;

enum TMorphKind : uint8_t {
  mkDefault = 0,
  mkGradient = 1,
  mkLeftGradient = 2,
  mkRightGradient = 3,
  mkLeftSlide = 4,
  mkRightSlide = 5,
  mkPush = 6,
};

enum TInactiveEffect : uint8_t {
  ieBrightness = 0,
  ieDarkness = 1,
  ieGrayscale = 2,
  ieNoise = 3,
  ieSplitBlur = 4,
  ieInvert = 5,
};

enum TStdButtonCommand : uint8_t {
  cmClose = 0,
  cmMaximize = 1,
  cmMinimize = 2,
  cmSysMenu = 3,
  cmDefault = 4,
  cmRollUp = 5,
};

// Value texts.
TRect ParseRectText(const QString& text);
TPoint ParsePointText(const QString& text);

// Readers: a missing key (or section) gives the kind's default.
TRect SkinIniReadRect(const TMemIniFile& ini, const QString& section, const QString& key);
TPoint SkinIniReadPoint(const TMemIniFile& ini, const QString& section, const QString& key);
bool SkinIniReadFlag(const TMemIniFile& ini, const QString& section, const QString& key);
TFontStyleSet SkinIniReadFontStyle(const TMemIniFile& ini, const QString& section, const QString& key);
TSkinAlignment SkinIniReadAlignment(const TMemIniFile& ini, const QString& section, const QString& key);
TMorphKind SkinIniReadMorphKind(const TMemIniFile& ini, const QString& section, const QString& key);
TInactiveEffect SkinIniReadEffect(const TMemIniFile& ini, const QString& section, const QString& key);
TStdButtonCommand SkinIniReadCommand(const TMemIniFile& ini, const QString& section, const QString& key);
// Appends the texts of keys "0" .. prefix+"count" less one (missing ones as empty texts).
void SkinIniReadList(const TMemIniFile& ini, const QString& section, const QString& prefix, QStringList& list);
// True when [VERSION], [PICTURES], [FORMINFO], [SKINOBJECTS] and [SKINCONTROLS] are present.
bool HasSkinSections(const TMemIniFile& ini);

// Writers, in the written form the readers take back.
void SkinIniWriteRect(TMemIniFile& ini, const QString& section, const QString& key, const TRect& r);
void SkinIniWritePoint(TMemIniFile& ini, const QString& section, const QString& key, const TPoint& p);
void SkinIniWriteFlag(TMemIniFile& ini, const QString& section, const QString& key, bool value);
void SkinIniWriteFontStyle(TMemIniFile& ini, const QString& section, const QString& key, TFontStyleSet value);
void SkinIniWriteAlignment(TMemIniFile& ini, const QString& section, const QString& key, TSkinAlignment value);
void SkinIniWriteMorphKind(TMemIniFile& ini, const QString& section, const QString& key, TMorphKind value);
void SkinIniWriteEffect(TMemIniFile& ini, const QString& section, const QString& key, TInactiveEffect value);
void SkinIniWriteCommand(TMemIniFile& ini, const QString& section, const QString& key, TStdButtonCommand value);

// Words of the enumerations, as written.
QString MorphKindWord(TMorphKind k);
QString EffectWord(TInactiveEffect e);
QString CommandWord(TStdButtonCommand c);

// Number of entries worth visiting in a "count" + "0".."n" list section: the count, but no
// further than the highest numbered key present (entries past it are all missing).
int32_t SkinListEntryLimit(const TMemIniFile& ini, const QString& section, int32_t count);

// Field visitors used by the data classes: one field table per class, read or written.
class TSkinSectionReader {
 public:
  TSkinSectionReader(const TMemIniFile& ini, const QString& section) : ini_(ini), section_(section) {}
  void Rect(const char* key, TRect& f) { f = SkinIniReadRect(ini_, section_, QLatin1String(key)); }
  void Point(const char* key, TPoint& f) { f = SkinIniReadPoint(ini_, section_, QLatin1String(key)); }
  void Flag(const char* key, bool& f) { f = SkinIniReadFlag(ini_, section_, QLatin1String(key)); }
  void Int(const char* key, int32_t& f, int32_t def = 0) { f = ini_.ReadInteger(section_, QLatin1String(key), def); }
  void Color(const char* key, TColor& f, TColor def = 0) { f = ini_.ReadInteger(section_, QLatin1String(key), def); }
  void Text(const char* key, QString& f, const QString& def = QString()) { f = ini_.ReadString(section_, QLatin1String(key), def); }
  void FontStyle(const char* key, TFontStyleSet& f) { f = SkinIniReadFontStyle(ini_, section_, QLatin1String(key)); }
  void Alignment(const char* key, TSkinAlignment& f) { f = SkinIniReadAlignment(ini_, section_, QLatin1String(key)); }
  void MorphKind(const char* key, TMorphKind& f) { f = SkinIniReadMorphKind(ini_, section_, QLatin1String(key)); }
  void Effect(const char* key, TInactiveEffect& f) { f = SkinIniReadEffect(ini_, section_, QLatin1String(key)); }
  void Command(const char* key, TStdButtonCommand& f) { f = SkinIniReadCommand(ini_, section_, QLatin1String(key)); }
  // "fontname", "fontstyle", "fontheight", "fontcolor" with their usual defaults.
  void Font(QString& name, TFontStyleSet& style, int32_t& height, TColor& color) {
    Text("fontname", name, QStringLiteral("Arial"));
    FontStyle("fontstyle", style);
    Int("fontheight", height, 14);
    Color("fontcolor", color);
  }

 private:
  const TMemIniFile& ini_;
  const QString& section_;
};

class TSkinSectionWriter {
 public:
  TSkinSectionWriter(TMemIniFile& ini, const QString& section) : ini_(ini), section_(section) {}
  void Rect(const char* key, const TRect& f) { SkinIniWriteRect(ini_, section_, QLatin1String(key), f); }
  void Point(const char* key, const TPoint& f) { SkinIniWritePoint(ini_, section_, QLatin1String(key), f); }
  void Flag(const char* key, const bool& f) { SkinIniWriteFlag(ini_, section_, QLatin1String(key), f); }
  void Int(const char* key, const int32_t& f, int32_t = 0) { ini_.WriteInteger(section_, QLatin1String(key), f); }
  void Color(const char* key, const TColor& f, TColor = 0) { ini_.WriteInteger(section_, QLatin1String(key), f); }
  void Text(const char* key, const QString& f, const QString& = QString()) { ini_.WriteString(section_, QLatin1String(key), f); }
  void FontStyle(const char* key, const TFontStyleSet& f) { SkinIniWriteFontStyle(ini_, section_, QLatin1String(key), f); }
  void Alignment(const char* key, const TSkinAlignment& f) { SkinIniWriteAlignment(ini_, section_, QLatin1String(key), f); }
  void MorphKind(const char* key, const TMorphKind& f) { SkinIniWriteMorphKind(ini_, section_, QLatin1String(key), f); }
  void Effect(const char* key, const TInactiveEffect& f) { SkinIniWriteEffect(ini_, section_, QLatin1String(key), f); }
  void Command(const char* key, const TStdButtonCommand& f) { SkinIniWriteCommand(ini_, section_, QLatin1String(key), f); }
  void Font(const QString& name, const TFontStyleSet& style, const int32_t& height, const TColor& color) {
    Text("fontname", name);
    FontStyle("fontstyle", style);
    Int("fontheight", height);
    Color("fontcolor", color);
  }

 private:
  TMemIniFile& ini_;
  const QString& section_;
};

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
  // Section names match in any case; folding the name once here spares every key lookup.
  TSkinSectionReader(const TMemIniFile& ini, const QString& section) : ini_(ini), section_(section.toLower()) {}
  void Rect(const QString& key, TRect& f) { f = SkinIniReadRect(ini_, section_, key); }
  void Point(const QString& key, TPoint& f) { f = SkinIniReadPoint(ini_, section_, key); }
  void Flag(const QString& key, bool& f) { f = SkinIniReadFlag(ini_, section_, key); }
  void Int(const QString& key, int32_t& f, int32_t def = 0) { f = ini_.ReadInteger(section_, key, def); }
  void Color(const QString& key, TColor& f, TColor def = 0) { f = ini_.ReadInteger(section_, key, def); }
  void Text(const QString& key, QString& f, const QString& def = QString()) { f = ini_.ReadString(section_, key, def); }
  void FontStyle(const QString& key, TFontStyleSet& f) { f = SkinIniReadFontStyle(ini_, section_, key); }
  void Alignment(const QString& key, TSkinAlignment& f) { f = SkinIniReadAlignment(ini_, section_, key); }
  void MorphKind(const QString& key, TMorphKind& f) { f = SkinIniReadMorphKind(ini_, section_, key); }
  void Effect(const QString& key, TInactiveEffect& f) { f = SkinIniReadEffect(ini_, section_, key); }
  void Command(const QString& key, TStdButtonCommand& f) { f = SkinIniReadCommand(ini_, section_, key); }
  // "fontname", "fontstyle", "fontheight", "fontcolor" with their usual defaults.
  void Font(QString& name, TFontStyleSet& style, int32_t& height, TColor& color) {
    Text(QStringLiteral("fontname"), name, QStringLiteral("Arial"));
    FontStyle(QStringLiteral("fontstyle"), style);
    Int(QStringLiteral("fontheight"), height, 14);
    Color(QStringLiteral("fontcolor"), color);
  }

 private:
  const TMemIniFile& ini_;
  const QString section_;
};

class TSkinSectionWriter {
 public:
  TSkinSectionWriter(TMemIniFile& ini, const QString& section) : ini_(ini), section_(section) {}
  void Rect(const QString& key, const TRect& f) { SkinIniWriteRect(ini_, section_, key, f); }
  void Point(const QString& key, const TPoint& f) { SkinIniWritePoint(ini_, section_, key, f); }
  void Flag(const QString& key, const bool& f) { SkinIniWriteFlag(ini_, section_, key, f); }
  void Int(const QString& key, const int32_t& f, int32_t = 0) { ini_.WriteInteger(section_, key, f); }
  void Color(const QString& key, const TColor& f, TColor = 0) { ini_.WriteInteger(section_, key, f); }
  void Text(const QString& key, const QString& f, const QString& = QString()) { ini_.WriteString(section_, key, f); }
  void FontStyle(const QString& key, const TFontStyleSet& f) { SkinIniWriteFontStyle(ini_, section_, key, f); }
  void Alignment(const QString& key, const TSkinAlignment& f) { SkinIniWriteAlignment(ini_, section_, key, f); }
  void MorphKind(const QString& key, const TMorphKind& f) { SkinIniWriteMorphKind(ini_, section_, key, f); }
  void Effect(const QString& key, const TInactiveEffect& f) { SkinIniWriteEffect(ini_, section_, key, f); }
  void Command(const QString& key, const TStdButtonCommand& f) { SkinIniWriteCommand(ini_, section_, key, f); }
  void Font(const QString& name, const TFontStyleSet& style, const int32_t& height, const TColor& color) {
    Text(QStringLiteral("fontname"), name);
    FontStyle(QStringLiteral("fontstyle"), style);
    Int(QStringLiteral("fontheight"), height);
    Color(QStringLiteral("fontcolor"), color);
  }

 private:
  TMemIniFile& ini_;
  const QString& section_;
};

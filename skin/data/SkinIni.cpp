#include "skin/data/SkinIni.h"

#include <algorithm>

#include "platform/Exceptions.h"

namespace {

// Reads the first `wanted` comma-separated digit runs of a value text; every character other
// than a digit or a comma is dropped, components past `wanted` are ignored. A missing, empty
// or over-long component fails with the conversion error naming its digits.
void ParseComponents(QStringView text, int32_t* out, int wanted) {
  int index = 0;
  int64_t value = 0;
  int digits = 0;
  bool tooLong = false;
  auto store = [&]() {
    if (index < wanted) {
      if (digits == 0 || tooLong) {
        // Slow path, errors only: rebuild the component's text for the message.
        QString part;
        int at = 0;
        for (const QChar c : text) {
          if (c == u',') ++at;
          else if (at == index && c >= u'0' && c <= u'9') part.append(c);
        }
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(part));
      }
      out[index] = static_cast<int32_t>(value);
    }
    ++index;
    value = 0;
    digits = 0;
    tooLong = false;
  };
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if (u == u',') {
      store();
      if (index >= wanted) return;
    } else if (u >= u'0' && u <= u'9') {
      value = value * 10 + (u - u'0');
      ++digits;
      if (value > INT32_MAX) {
        tooLong = true;
        value = 0;
      }
    }
  }
  store();
  // Fewer components than wanted: the next one is empty, which fails.
  while (index < wanted) store();
}

const char* const kMorphWords[] = {"mkdefault", "mkgradient", "mkleftgradient", "mkrightgradient",
                                   "mkleftslide", "mkrightslide", "mkpush"};
const char* const kEffectWords[] = {"iebrightness", "iedarkness", "iegrayscale", "ienoise", "iesplitblur", "ieinvert"};
const char* const kCommandWords[] = {"cmclose", "cmmaximize", "cmminimize", "cmsysmenu", "cmdefault", "cmrollup"};

template <size_t N>
int WordIndex(const QString& word, const char* const (&table)[N], int fallback) {
  for (size_t i = 0; i < N; ++i)
    if (word == QLatin1String(table[i])) return static_cast<int>(i);
  return fallback;
}

}  // namespace

TRect ParseRectText(const QString& text) {
  int32_t v[4];
  ParseComponents(text, v, 4);
  return TRect(v[0], v[1], v[2], v[3]);
}

TPoint ParsePointText(const QString& text) {
  int32_t v[2];
  ParseComponents(text, v, 2);
  return TPoint(v[0], v[1]);
}

TRect SkinIniReadRect(const TMemIniFile& ini, const QString& section, const QString& key) {
  QStringView v;
  if (!ini.ReadView(section, key, v)) return TRect(0, 0, 0, 0);
  int32_t c[4];
  ParseComponents(v, c, 4);
  return TRect(c[0], c[1], c[2], c[3]);
}

TPoint SkinIniReadPoint(const TMemIniFile& ini, const QString& section, const QString& key) {
  QStringView v;
  if (!ini.ReadView(section, key, v)) return TPoint(0, 0);
  int32_t c[2];
  ParseComponents(v, c, 2);
  return TPoint(c[0], c[1]);
}

bool SkinIniReadFlag(const TMemIniFile& ini, const QString& section, const QString& key) {
  return ini.ReadInteger(section, key, 0) == 1;
}

TFontStyleSet SkinIniReadFontStyle(const TMemIniFile& ini, const QString& section, const QString& key) {
  QStringView v;
  ini.ReadView(section, key, v);
  TFontStyleSet s = 0;
  if (v.contains(QLatin1String("fsbold"))) s |= fsBold;
  if (v.contains(QLatin1String("fsitalic"))) s |= fsItalic;
  if (v.contains(QLatin1String("fsunderline"))) s |= fsUnderline;
  if (v.contains(QLatin1String("fsstrikeout"))) s |= fsStrikeOut;
  return s;
}

TSkinAlignment SkinIniReadAlignment(const TMemIniFile& ini, const QString& section, const QString& key) {
  const QString v = ini.ReadString(section, key, QStringLiteral("tacenter"));
  if (v == QLatin1String("tacenter")) return taCenter;
  if (v == QLatin1String("taleftjustify")) return taLeftJustify;
  return taRightJustify;
}

TMorphKind SkinIniReadMorphKind(const TMemIniFile& ini, const QString& section, const QString& key) {
  return static_cast<TMorphKind>(WordIndex(ini.ReadString(section, key, QStringLiteral("mkdefault")), kMorphWords, mkDefault));
}

TInactiveEffect SkinIniReadEffect(const TMemIniFile& ini, const QString& section, const QString& key) {
  return static_cast<TInactiveEffect>(
      WordIndex(ini.ReadString(section, key, QStringLiteral("iebrightness")), kEffectWords, ieBrightness));
}

TStdButtonCommand SkinIniReadCommand(const TMemIniFile& ini, const QString& section, const QString& key) {
  return static_cast<TStdButtonCommand>(
      WordIndex(ini.ReadString(section, key, QStringLiteral("cmdefault")), kCommandWords, cmRollUp));
}

int32_t SkinListEntryLimit(const TMemIniFile& ini, const QString& section, int32_t count) {
  int32_t highest = -1;
  for (const QString& k : ini.ReadSection(section)) {
    int32_t n;
    // Keys are looked up as decimal texts without leading zeros; only those can match.
    if (!k.isEmpty() && k[0].isDigit() && TryParseInt32(k, n) && QString::number(n) == k) highest = std::max(highest, n);
  }
  return std::min(count, highest == INT32_MAX ? highest : highest + 1);
}

void SkinIniReadList(const TMemIniFile& ini, const QString& section, const QString& prefix, QStringList& list) {
  // A real skin never names this many pictures; the cap keeps a damaged count from filling memory.
  constexpr int32_t kMaxEntries = 1 << 16;
  const int32_t count = std::min(ini.ReadInteger(section, prefix + QStringLiteral("count"), 0), kMaxEntries);
  for (int32_t i = 0; i < count; ++i) list.append(ini.ReadString(section, QString::number(i), QString()));
}

bool HasSkinSections(const TMemIniFile& ini) {
  return ini.SectionExists(QStringLiteral("version")) && ini.SectionExists(QStringLiteral("pictures")) &&
         ini.SectionExists(QStringLiteral("forminfo")) && ini.SectionExists(QStringLiteral("skinobjects")) &&
         ini.SectionExists(QStringLiteral("skincontrols"));
}

void SkinIniWriteRect(TMemIniFile& ini, const QString& section, const QString& key, const TRect& r) {
  ini.WriteString(section, key, QStringLiteral("%1,%2,%3,%4").arg(r.Left).arg(r.Top).arg(r.Right).arg(r.Bottom));
}

void SkinIniWritePoint(TMemIniFile& ini, const QString& section, const QString& key, const TPoint& p) {
  ini.WriteString(section, key, QStringLiteral("%1,%2").arg(p.X).arg(p.Y));
}

void SkinIniWriteFlag(TMemIniFile& ini, const QString& section, const QString& key, bool value) {
  ini.WriteInteger(section, key, value ? 1 : 0);
}

void SkinIniWriteFontStyle(TMemIniFile& ini, const QString& section, const QString& key, TFontStyleSet value) {
  QStringList words;
  if (value & fsBold) words << QStringLiteral("fsbold");
  if (value & fsItalic) words << QStringLiteral("fsitalic");
  if (value & fsUnderline) words << QStringLiteral("fsunderline");
  if (value & fsStrikeOut) words << QStringLiteral("fsstrikeout");
  ini.WriteString(section, key, words.join(u','));
}

void SkinIniWriteAlignment(TMemIniFile& ini, const QString& section, const QString& key, TSkinAlignment value) {
  const char* w = value == taCenter ? "tacenter" : value == taLeftJustify ? "taleftjustify" : "tarightjustify";
  ini.WriteString(section, key, QLatin1String(w));
}

QString MorphKindWord(TMorphKind k) { return QLatin1String(kMorphWords[k <= mkPush ? k : mkDefault]); }
QString EffectWord(TInactiveEffect e) { return QLatin1String(kEffectWords[e <= ieInvert ? e : ieBrightness]); }
QString CommandWord(TStdButtonCommand c) { return QLatin1String(kCommandWords[c <= cmDefault ? c : cmRollUp]); }

void SkinIniWriteMorphKind(TMemIniFile& ini, const QString& section, const QString& key, TMorphKind value) {
  ini.WriteString(section, key, MorphKindWord(value));
}

void SkinIniWriteEffect(TMemIniFile& ini, const QString& section, const QString& key, TInactiveEffect value) {
  ini.WriteString(section, key, EffectWord(value));
}

void SkinIniWriteCommand(TMemIniFile& ini, const QString& section, const QString& key, TStdButtonCommand value) {
  ini.WriteString(section, key, CommandWord(value));
}

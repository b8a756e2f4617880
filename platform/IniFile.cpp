#include "platform/IniFile.h"

#include <QFile>

bool TryParseInt32(QStringView text, int32_t& out) {
  const int n = static_cast<int>(text.size());
  if (n == 0) return false;
  int i = 0;
  bool neg = false;
  if (text[0] == u'-' || text[0] == u'+') {
    neg = text[0] == u'-';
    i = 1;
  }
  if (i < n && text[i] == u'$') {
    ++i;
    if (i >= n || n - i > 8) return false;
    uint32_t v = 0;
    for (; i < n; ++i) {
      const char16_t c = text[i].unicode();
      int d;
      if (c >= u'0' && c <= u'9') d = c - u'0';
      else if (c >= u'a' && c <= u'f') d = c - u'a' + 10;
      else if (c >= u'A' && c <= u'F') d = c - u'A' + 10;
      else return false;
      v = (v << 4) | static_cast<uint32_t>(d);
    }
    if (neg) v = 0u - v;
    out = static_cast<int32_t>(v);
    return true;
  }
  if (i >= n) return false;
  int64_t v = 0;
  for (; i < n; ++i) {
    const char16_t c = text[i].unicode();
    if (c < u'0' || c > u'9') return false;
    v = v * 10 + (c - u'0');
    if (v > 2147483648LL) return false;
  }
  if (neg) v = -v;
  if (v > INT32_MAX || v < INT32_MIN) return false;
  out = static_cast<int32_t>(v);
  return true;
}

namespace {
// Letter case folded the way names are compared: ASCII directly, other characters by Qt.
inline char16_t Fold(char16_t c) {
  if (c < 0x80) return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
  return QChar(c).toCaseFolded().unicode();
}

uint32_t FoldedHash(QStringView s) {
  uint32_t h = 2166136261u;
  for (QChar c : s) h = (h ^ Fold(c.unicode())) * 16777619u;
  return h;
}

bool FoldedEqual(QStringView a, QStringView b) {
  if (a.size() != b.size()) return false;
  for (qsizetype i = 0; i < a.size(); ++i)
    if (a[i] != b[i] && Fold(a[i].unicode()) != Fold(b[i].unicode())) return false;
  return true;
}

size_t TableSize(size_t count) {
  size_t n = 16;
  while (n < count * 2) n <<= 1;
  return n;
}

inline uint32_t KeySlotHash(uint32_t keyHash, int32_t section) {
  return keyHash ^ (static_cast<uint32_t>(section) * 0x9E3779B9u);
}
}  // namespace

void TMemIniFile::Clear() {
  texts_.clear();
  sections_.clear();
  sectionTable_.clear();
  keyTable_.clear();
  indexed_ = false;
}

QStringView TMemIniFile::Keep(const QString& s) {
  texts_.push_back(s);
  return QStringView(texts_.back());
}

void TMemIniFile::SetText(const QString& text) {
  // Lines are taken as views into the text: no copy per line.
  Clear();
  const QStringView all = Keep(text);
  Section* current = nullptr;
  const qsizetype n = all.size();
  qsizetype start = 0;
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = all[i];
    if (c == u'\r' || c == u'\n') {
      AddLine(current, all.mid(start, i - start));
      if (c == u'\r' && i + 1 < n && all[i + 1] == u'\n') ++i;
      start = i + 1;
    }
  }
  if (start < n) AddLine(current, all.mid(start));
}

void TMemIniFile::SetStrings(const QStringList& lines) {
  Clear();
  texts_.reserve(static_cast<size_t>(lines.size()));
  Section* current = nullptr;
  for (const QString& raw : lines) AddLine(current, Keep(raw));
}

void TMemIniFile::AddLine(Section*& current, QStringView raw) {
  const QStringView line = raw.trimmed();
  if (line.isEmpty() || line.startsWith(u';')) return;
  if (line.startsWith(u'[') && line.endsWith(u']') && line.size() >= 2) {
    Section s;
    s.name = line.mid(1, line.size() - 2).trimmed();
    s.hash = FoldedHash(s.name);
    sections_.push_back(std::move(s));
    current = &sections_.back();
    indexed_ = false;
    return;
  }
  if (!current) return;
  Entry e;
  const qsizetype eq = line.indexOf(u'=');
  if (eq >= 0) {
    e.key = line.left(eq).trimmed();
    e.value = line.mid(eq + 1).trimmed();
    e.hash = FoldedHash(e.key);
    e.hasEquals = true;
  } else {
    e.value = line;
  }
  current->entries.push_back(e);
  indexed_ = false;
}

void TMemIniFile::BuildIndex() const {
  if (indexed_) return;
  indexed_ = true;
  // A section counts only when it holds a line; the first non-empty occurrence wins.
  sectionTable_.assign(TableSize(sections_.size()), 0);
  const size_t smask = sectionTable_.size() - 1;
  size_t keys = 0;
  for (size_t i = 0; i < sections_.size(); ++i) {
    const Section& s = sections_[i];
    keys += s.entries.size();
    if (s.entries.empty()) continue;
    for (size_t slot = s.hash & smask;; slot = (slot + 1) & smask) {
      const int32_t at = sectionTable_[slot];
      if (at == 0) {
        sectionTable_[slot] = static_cast<int32_t>(i) + 1;
        break;
      }
      const Section& o = sections_[static_cast<size_t>(at - 1)];
      if (o.hash == s.hash && FoldedEqual(o.name, s.name)) break;
    }
  }
  keyTable_.assign(TableSize(keys), {0, 0});
  const size_t kmask = keyTable_.size() - 1;
  for (size_t i = 0; i < sections_.size(); ++i) {
    const auto& entries = sections_[i].entries;
    for (size_t j = 0; j < entries.size(); ++j) {
      const Entry& e = entries[j];
      if (!e.hasEquals) continue;
      for (size_t slot = KeySlotHash(e.hash, static_cast<int32_t>(i)) & kmask;; slot = (slot + 1) & kmask) {
        auto& at = keyTable_[slot];
        if (at.first == 0) {
          at = {static_cast<int32_t>(i) + 1, static_cast<int32_t>(j)};
          break;
        }
        if (at.first != static_cast<int32_t>(i) + 1) continue;
        const Entry& o = entries[static_cast<size_t>(at.second)];
        if (o.hash == e.hash && FoldedEqual(o.key, e.key)) break;
      }
    }
  }
}

bool TMemIniFile::LoadFromFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return false;
  SetBytes(f.readAll());
  return true;
}

QStringList TMemIniFile::Strings() const {
  QStringList out;
  for (const Section& s : sections_) {
    out.append(u'[' + s.name.toString() + u']');
    for (const Entry& e : s.entries)
      out.append(e.hasEquals ? e.key.toString() + u'=' + e.value.toString() : e.value.toString());
  }
  return out;
}

QString TMemIniFile::Text() const {
  QString t;
  for (const QString& l : Strings()) t += l + QStringLiteral("\r\n");
  return t;
}

int TMemIniFile::FindSection(QStringView section) const {
  BuildIndex();
  const uint32_t h = FoldedHash(section);
  const size_t mask = sectionTable_.size() - 1;
  for (size_t slot = h & mask;; slot = (slot + 1) & mask) {
    const int32_t at = sectionTable_[slot];
    if (at == 0) return -1;
    const Section& s = sections_[static_cast<size_t>(at - 1)];
    if (s.hash == h && FoldedEqual(s.name, section)) return at - 1;
  }
}

const TMemIniFile::Section* TMemIniFile::Find(QStringView section) const {
  const int i = FindSection(section);
  return i < 0 ? nullptr : &sections_[static_cast<size_t>(i)];
}

const TMemIniFile::Entry* TMemIniFile::FindEntry(QStringView section, QStringView key) const {
  const int si = FindSection(section);
  if (si < 0) return nullptr;
  key = key.trimmed();
  const uint32_t h = FoldedHash(key);
  const auto& entries = sections_[static_cast<size_t>(si)].entries;
  const size_t mask = keyTable_.size() - 1;
  for (size_t slot = KeySlotHash(h, si) & mask;; slot = (slot + 1) & mask) {
    const auto& at = keyTable_[slot];
    if (at.first == 0) return nullptr;
    if (at.first != si + 1) continue;
    const Entry& e = entries[static_cast<size_t>(at.second)];
    if (e.hash == h && FoldedEqual(e.key, key)) return &e;
  }
}

bool TMemIniFile::SectionExists(const QString& section) const { return Find(section) != nullptr; }

bool TMemIniFile::ValueExists(const QString& section, const QString& key) const {
  return FindEntry(section, key) != nullptr;
}

QString TMemIniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
  const Entry* e = FindEntry(section, key);
  return e ? e->value.toString() : def;
}

bool TMemIniFile::ReadView(const QString& section, const QString& key, QStringView& out) const {
  const Entry* e = FindEntry(section, key);
  if (!e) return false;
  out = e->value;
  return true;
}

int32_t TMemIniFile::ReadInteger(const QString& section, const QString& key, int32_t def) const {
  const Entry* e = FindEntry(section, key);
  if (!e) return def;
  const QStringView t = e->value;
  int32_t v;
  if (t.size() > 2 && t[0] == u'0' && (t[1] == u'x' || t[1] == u'X'))
    return TryParseInt32(QString(u'$' + t.mid(2).toString()), v) ? v : def;
  return TryParseInt32(t, v) ? v : def;
}

bool TMemIniFile::ReadBool(const QString& section, const QString& key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

QStringList TMemIniFile::ReadSection(const QString& section) const {
  QStringList out;
  const Section* s = Find(section);
  if (!s) return out;
  for (const Entry& e : s->entries)
    if (e.hasEquals && FindEntry(section, e.key) == &e) out.append(e.key.toString());
  return out;
}

QStringList TMemIniFile::ReadSectionValues(const QString& section) const {
  QStringList out;
  if (const Section* s = Find(section))
    for (const Entry& e : s->entries)
      out.append(e.hasEquals ? e.key.toString() + u'=' + e.value.toString() : e.value.toString());
  return out;
}

QStringList TMemIniFile::ReadSections() const {
  QStringList out;
  for (size_t i = 0; i < sections_.size(); ++i)
    if (FindSection(sections_[i].name) == static_cast<int>(i)) out.append(sections_[i].name.toString());
  return out;
}

TMemIniFile::Section& TMemIniFile::FindOrAdd(const QString& section) {
  const int i = FindSection(section);
  if (i >= 0) return sections_[static_cast<size_t>(i)];
  // An empty section of that name may exist (it did not count); reuse it.
  const uint32_t h = FoldedHash(section);
  for (Section& s : sections_)
    if (s.hash == h && FoldedEqual(s.name, section)) return s;
  Section s;
  s.name = Keep(section);
  s.hash = h;
  sections_.push_back(std::move(s));
  indexed_ = false;
  return sections_.back();
}

void TMemIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
  Section& s = FindOrAdd(section);
  const uint32_t h = FoldedHash(key);
  for (Entry& e : s.entries)
    if (e.hasEquals && e.hash == h && FoldedEqual(e.key, key)) {
      e.value = Keep(value);
      return;
    }
  Entry e;
  e.key = Keep(key);
  e.value = Keep(value);
  e.hash = h;
  e.hasEquals = true;
  s.entries.push_back(e);
  indexed_ = false;
}

void TMemIniFile::WriteInteger(const QString& section, const QString& key, int32_t value) {
  WriteString(section, key, QString::number(value));
}

void TMemIniFile::WriteBool(const QString& section, const QString& key, bool value) {
  WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TMemIniFile::EraseSection(const QString& section) {
  const uint32_t h = FoldedHash(section);
  std::vector<Section> kept;
  kept.reserve(sections_.size());
  for (Section& s : sections_)
    if (!(s.hash == h && FoldedEqual(s.name, section))) kept.push_back(std::move(s));
  sections_ = std::move(kept);
  indexed_ = false;
}

#include "platform/IniFile.h"

#include <QFile>

bool TryParseInt32(const QString& text, int32_t& out) {
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
QString Lower(const QString& s) { return s.toLower(); }
}  // namespace

void TMemIniFile::Clear() {
  sections_.clear();
  sectionIndex_.clear();
}

void TMemIniFile::SetText(const QString& text) {
  // Lines are taken as views into the text: no copy per line.
  Clear();
  Section* current = nullptr;
  const QStringView all(text);
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
  BuildSectionIndex();
}

void TMemIniFile::SetStrings(const QStringList& lines) {
  Clear();
  Section* current = nullptr;
  for (const QString& raw : lines) AddLine(current, raw);
  BuildSectionIndex();
}

void TMemIniFile::AddLine(Section*& current, QStringView raw) {
  const QStringView line = raw.trimmed();
  if (line.isEmpty() || line.startsWith(u';')) return;
  if (line.startsWith(u'[') && line.endsWith(u']') && line.size() >= 2) {
    sections_.push_back(Section{line.mid(1, line.size() - 2).trimmed().toString(), {}, {}});
    current = &sections_.back();
    return;
  }
  if (!current) return;
  Entry e;
  const qsizetype eq = line.indexOf(u'=');
  if (eq >= 0) {
    e.key = line.left(eq).trimmed().toString();
    e.value = line.mid(eq + 1).trimmed().toString();
    e.hasEquals = true;
    const QString lk = Lower(e.key);
    if (!current->index.contains(lk)) current->index.insert(lk, static_cast<int>(current->entries.size()));
  } else {
    e.value = line.toString();
  }
  current->entries.push_back(std::move(e));
}

void TMemIniFile::BuildSectionIndex() {
  // A section counts only when it holds a line; the first non-empty occurrence wins.
  for (int i = 0; i < static_cast<int>(sections_.size()); ++i) {
    if (sections_[static_cast<size_t>(i)].entries.empty()) continue;
    const QString ln = Lower(sections_[static_cast<size_t>(i)].name);
    if (!sectionIndex_.contains(ln)) sectionIndex_.insert(ln, i);
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
    out.append(QStringLiteral("[%1]").arg(s.name));
    for (const Entry& e : s.entries) out.append(e.hasEquals ? e.key + u'=' + e.value : e.value);
  }
  return out;
}

QString TMemIniFile::Text() const {
  QString t;
  for (const QString& l : Strings()) t += l + QStringLiteral("\r\n");
  return t;
}

const TMemIniFile::Section* TMemIniFile::Find(const QString& section) const {
  auto it = sectionIndex_.constFind(Lower(section));
  return it == sectionIndex_.constEnd() ? nullptr : &sections_[static_cast<size_t>(*it)];
}

const TMemIniFile::Entry* TMemIniFile::FindEntry(const QString& section, const QString& key) const {
  const Section* s = Find(section);
  if (!s) return nullptr;
  auto it = s->index.constFind(Lower(key.trimmed()));
  return it == s->index.constEnd() ? nullptr : &s->entries[static_cast<size_t>(*it)];
}

bool TMemIniFile::SectionExists(const QString& section) const { return Find(section) != nullptr; }

bool TMemIniFile::ValueExists(const QString& section, const QString& key) const {
  return FindEntry(section, key) != nullptr;
}

QString TMemIniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
  const Entry* e = FindEntry(section, key);
  return e ? e->value : def;
}

int32_t TMemIniFile::ReadInteger(const QString& section, const QString& key, int32_t def) const {
  const Entry* e = FindEntry(section, key);
  if (!e) return def;
  QString t = e->value;
  if (t.size() > 2 && t[0] == u'0' && (t[1] == u'x' || t[1] == u'X')) t = u'$' + t.mid(2);
  int32_t v;
  return TryParseInt32(t, v) ? v : def;
}

bool TMemIniFile::ReadBool(const QString& section, const QString& key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

QStringList TMemIniFile::ReadSection(const QString& section) const {
  QStringList out;
  const Section* s = Find(section);
  if (!s) return out;
  for (size_t i = 0; i < s->entries.size(); ++i) {
    const Entry& e = s->entries[i];
    if (e.hasEquals && s->index.value(Lower(e.key), -1) == static_cast<int>(i)) out.append(e.key);
  }
  return out;
}

QStringList TMemIniFile::ReadSectionValues(const QString& section) const {
  QStringList out;
  if (const Section* s = Find(section))
    for (const Entry& e : s->entries) out.append(e.hasEquals ? e.key + u'=' + e.value : e.value);
  return out;
}

QStringList TMemIniFile::ReadSections() const {
  QStringList out;
  for (size_t i = 0; i < sections_.size(); ++i)
    if (sectionIndex_.value(Lower(sections_[i].name), -1) == static_cast<int>(i)) out.append(sections_[i].name);
  return out;
}

TMemIniFile::Section& TMemIniFile::FindOrAdd(const QString& section) {
  const QString ln = Lower(section);
  auto it = sectionIndex_.constFind(ln);
  if (it != sectionIndex_.constEnd()) return sections_[static_cast<size_t>(*it)];
  // An empty section of that name may exist (it did not count); reuse it.
  for (size_t i = 0; i < sections_.size(); ++i)
    if (Lower(sections_[i].name) == ln) {
      sectionIndex_.insert(ln, static_cast<int>(i));
      return sections_[i];
    }
  sections_.push_back(Section{section, {}, {}});
  sectionIndex_.insert(ln, static_cast<int>(sections_.size() - 1));
  return sections_.back();
}

void TMemIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
  Section& s = FindOrAdd(section);
  const QString lk = Lower(key);
  auto it = s.index.constFind(lk);
  if (it != s.index.constEnd()) {
    s.entries[static_cast<size_t>(*it)].value = value;
    return;
  }
  s.index.insert(lk, static_cast<int>(s.entries.size()));
  s.entries.push_back(Entry{key, value, true});
}

void TMemIniFile::WriteInteger(const QString& section, const QString& key, int32_t value) {
  WriteString(section, key, QString::number(value));
}

void TMemIniFile::WriteBool(const QString& section, const QString& key, bool value) {
  WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TMemIniFile::EraseSection(const QString& section) {
  const QString ln = Lower(section);
  std::vector<Section> kept;
  for (Section& s : sections_)
    if (Lower(s.name) != ln) kept.push_back(std::move(s));
  QStringList lines;
  sections_ = std::move(kept);
  // Rebuild the indexes.
  sectionIndex_.clear();
  for (size_t i = 0; i < sections_.size(); ++i) {
    if (sections_[i].entries.empty()) continue;
    const QString n = Lower(sections_[i].name);
    if (!sectionIndex_.contains(n)) sectionIndex_.insert(n, static_cast<int>(i));
  }
}

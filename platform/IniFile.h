// In-memory INI text, used for the skin description and the database connection files.
//
// Reading rules: lines are trimmed; empty lines and ";" comments are skipped; "[name]"
// opens a section (lines before the first are ignored); other lines are "key=value" with
// both sides trimmed (a line without "=" never matches a key). Names match without regard
// to case and the first occurrence wins. A section counts only when it holds a line.
#pragma once
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

// Signed 32-bit integer from decimal text, or hexadecimal after a leading "$"
// (up to eight digits, taken as the bit pattern). Returns false on empty or invalid text.
bool TryParseInt32(QStringView text, int32_t& out);
inline bool TryParseInt32(const QString& text, int32_t& out) { return TryParseInt32(QStringView(text), out); }

// Lookups fold letter case without building lower-case copies: each name is hashed once when
// the text is read, and a lookup hashes the asked name and compares folded characters. Keys
// and values are views into the texts the file keeps (the content as given and every written
// value), so reading a description costs no copy per line.
class TMemIniFile {
 public:
  TMemIniFile() = default;
  explicit TMemIniFile(const QString& text) { SetText(text); }

  // Replaces the content with `text` (lines end with CR LF, CR or LF).
  void SetText(const QString& text);
  void SetStrings(const QStringList& lines);
  // 8-bit text in the local code page.
  void SetBytes(const QByteArray& bytes) { SetText(QString::fromLocal8Bit(bytes)); }
  // Reads a file; false when it cannot be read.
  bool LoadFromFile(const QString& path);
  // The content as lines ("[section]" then "key=value"), CR LF joined by Text().
  QStringList Strings() const;
  QString Text() const;
  void Clear();

  bool SectionExists(const QString& section) const;
  bool ValueExists(const QString& section, const QString& key) const;
  QString ReadString(const QString& section, const QString& key, const QString& def) const;
  // The value as a view, valid until the content changes; false (and `out` untouched) when
  // the key is missing.
  bool ReadView(const QString& section, const QString& key, QStringView& out) const;
  // "0x"/"0X" prefix longer than two characters reads as "$"; invalid text gives `def`.
  int32_t ReadInteger(const QString& section, const QString& key, int32_t def) const;
  bool ReadBool(const QString& section, const QString& key, bool def) const;
  // Key names of a section in file order (first occurrences only).
  QStringList ReadSection(const QString& section) const;
  // "key=value" lines of a section in file order.
  QStringList ReadSectionValues(const QString& section) const;
  QStringList ReadSections() const;

  // Writing replaces the first occurrence or appends to the section (created at the end).
  void WriteString(const QString& section, const QString& key, const QString& value);
  void WriteInteger(const QString& section, const QString& key, int32_t value);
  void WriteBool(const QString& section, const QString& key, bool value);
  void EraseSection(const QString& section);

 private:
  struct Entry {
    QStringView key;    // trimmed name; empty and hasEquals=false for a line without "="
    QStringView value;  // trimmed value, or the whole line when there is no "="
    uint32_t hash = 0;  // of the folded key
    bool hasEquals = false;
  };
  struct Section {
    QStringView name;
    uint32_t hash = 0;  // of the folded name
    std::vector<Entry> entries;
  };
  void AddLine(Section*& current, QStringView raw);
  // Rebuilds both lookup tables when the content changed since they were built.
  void BuildIndex() const;
  int FindSection(QStringView section) const;
  const Section* Find(QStringView section) const;
  Section& FindOrAdd(const QString& section);
  const Entry* FindEntry(QStringView section, QStringView key) const;
  // Keeps `s` alive for the views into it and returns a view of it.
  QStringView Keep(const QString& s);

  std::vector<QString> texts_;  // the texts every view points into (shared, never changed)
  std::vector<Section> sections_;
  // Open-addressing tables: slot -> section index + 1 (0 = free), and slot -> (section index
  // + 1, entry index) for the first occurrence of each key.
  mutable std::vector<int32_t> sectionTable_;
  mutable std::vector<std::pair<int32_t, int32_t>> keyTable_;
  mutable bool indexed_ = false;
};

// Where skinview takes a skin from: a skin folder (SKIN.INI and the bitmaps it names), a packed
// skin file (the zlib block `skintool pack` writes) or a packed skin built into the program.
//
// A source is read whole and checked when it is made: the same readers the skin data uses run
// over it once, so that loading it into the live skin data afterwards cannot fail half-way and
// leave every form without a skin. Reading fails with ESkinSourceError, whose message names the
// file and says what is wrong with it. GUI thread only (the check loads a scratch skin data).
#pragma once
#include <QByteArray>
#include <QString>
#include <memory>

#include "platform/Exceptions.h"

class TbsSkinData;
class TbsStoredSkin;
class TbsCompressedStoredSkin;

LG_DECLARE_EXCEPTION(ESkinSourceError, Exception)

enum class TSkinSourceKind {
  sskFolder,  // a folder, or a description file (SKIN.INI) inside one
  sskPacked,  // a file that starts as a zlib stream does
  sskBad,     // nothing that can be a skin: missing, empty, or some other kind of file
};

// What `path` names, from the file system and the first bytes of a file alone.
TSkinSourceKind DetectSkinSource(const QString& path);
// The same for the first bytes of a file.
TSkinSourceKind DetectSkinBytes(const QByteArray& head);

class TSkinSource {
 public:
  ~TSkinSource();
  TSkinSource(const TSkinSource&) = delete;
  TSkinSource& operator=(const TSkinSource&) = delete;

  // Reads and checks the skin `path` names (a folder, its SKIN.INI or a packed file).
  static std::unique_ptr<TSkinSource> Open(const QString& path);
  // Checks a packed skin held in memory; `label` names it in messages.
  static std::unique_ptr<TSkinSource> FromPacked(const QByteArray& bytes, const QString& label);

  TSkinSourceKind Kind() const { return kind_; }
  // The path it was read from, or the label of a skin held in memory.
  const QString& Label() const { return label_; }
  // The skin's own name ([VERSION] skinname), else the last part of the label.
  const QString& SkinName() const { return skinName_; }
  const QString& SkinAuthor() const { return skinAuthor_; }

  // Loads the skin into `data` (which tells every form through the skin messages).
  void LoadInto(TbsSkinData& data) const;

 private:
  TSkinSource() = default;
  // Loads into a skin data of its own and takes the names; ESkinSourceError on any failure.
  void Check();
  static std::unique_ptr<TSkinSource> FromPackedFile(const QByteArray& bytes, const QString& label);

  TSkinSourceKind kind_ = TSkinSourceKind::sskBad;
  QString label_, skinName_, skinAuthor_;
  std::unique_ptr<TbsStoredSkin> folder_;             // owned, for sskFolder
  std::unique_ptr<TbsCompressedStoredSkin> packed_;   // owned, for sskPacked
};

// Loads one of the product's skin folders (skins/NAME) into a skin data component, the way a
// stored skin reaches the program, and reads pictures of the loaded skin.
#pragma once
#include <QImage>
#include <QString>

#include "platform/Bitmap.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"
#include "tests/TestUtil.h"

// A skin data component owned by `owner` holding skins/NAME of the source tree.
inline TbsSkinData* LoadSkinFolder(TComponent* owner, const QString& name) {
  auto* data = new TbsSkinData(owner);
  TbsStoredSkin stored(nullptr);
  stored.LoadFromSkinFile(SourceDir() + QStringLiteral("/skins/") + name + QStringLiteral("/SKIN.INI"));
  data->LoadFromStoredSkin(stored);
  return data;
}

// The section of that name and class, or null.
template <class T>
T* SkinSection(TbsSkinData* data, const QString& name) {
  const int i = data->FindControlIndex(name);
  return i < 0 ? nullptr : dynamic_cast<T*>(data->SkinControls[static_cast<size_t>(i)].get());
}

// Both images as 24-bit RGB, for exact comparison.
inline QImage Rgb888(const QImage& img) { return img.convertToFormat(QImage::Format_RGB888); }

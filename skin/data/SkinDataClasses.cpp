#include "skin/data/SkinDataClasses.h"

#include "platform/Streaming.h"
#include "skin/data/SkinData.h"

void RegisterSkinDataClasses() {
  RegisterPlatformClasses();
  RegisterClass<TbsStoredSkin>(QStringLiteral("TbsStoredSkin"), QStringLiteral("TComponent"))
      .String(QStringLiteral("FileName"), &TbsStoredSkin::FileName, &TbsStoredSkin::SetFileName)
      .StringList(QStringLiteral("IniStrings"), &TbsStoredSkin::IniStrings, &TbsStoredSkin::SetIniStrings)
      .Binary(
          QStringLiteral("Pictures"), [](TbsStoredSkin* s, TStream& in) { s->ReadPictures(in); },
          [](TbsStoredSkin* s, TStream& out) {
            s->WritePictures(out);
            return true;
          });
  RegisterClass<TbsCompressedStoredSkin>(QStringLiteral("TbsCompressedStoredSkin"), QStringLiteral("TComponent"))
      .String(QStringLiteral("FileName"), &TbsCompressedStoredSkin::FileName, &TbsCompressedStoredSkin::SetFileName)
      .Binary(
          QStringLiteral("CompressedData"), [](TbsCompressedStoredSkin* s, TStream& in) { s->ReadData(in); },
          [](TbsCompressedStoredSkin* s, TStream& out) {
            s->WriteData(out);
            return true;
          });
  RegisterClass<TbsSkinData>(QStringLiteral("TbsSkinData"), QStringLiteral("TComponent"))
      .Reference<TbsStoredSkin>(QStringLiteral("StoredSkin"), &TbsSkinData::StoredSkin, &TbsSkinData::SetStoredSkin)
      .Reference<TbsCompressedStoredSkin>(QStringLiteral("CompressedStoredSkin"), &TbsSkinData::CompressedStoredSkin,
                                          &TbsSkinData::SetCompressedStoredSkin);
}

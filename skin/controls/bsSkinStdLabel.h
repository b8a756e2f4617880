// TbsSkinStdLabel: the platform label whose text font and colour come from a "stdlabel"
// section of the skin; without one it draws in DefaultFont (UseSkinFont) or its Font.
// SkinData is referenced, not owned. GUI thread only.
#pragma once
#include "platform/Label.h"
#include "skin/controls/bsSkinConsumer.h"

class TbsSkinData;

class TbsSkinStdLabel : public TCustomLabel, public TbsSkinConsumer {
 public:
  explicit TbsSkinStdLabel(TComponent* owner);
  ~TbsSkinStdLabel() override;
  QString ClassName() const override { return QStringLiteral("TbsSkinStdLabel"); }

  int SectionIndex() const { return sectionIndex_; }
  TbsSkinData* SkinData() const override { return skinData_; }
  // Stores the reference and applies the skin at once, also while it is still empty.
  void SetSkinData(TbsSkinData* v);
  const QString& SkinDataName() const { return skinDataName_; }
  void SetSkinDataName(const QString& v) { skinDataName_ = v; }
  const TFont& DefaultFont() const { return defaultFont_; }
  // Copies the font; no repaint.
  void SetDefaultFont(const TFont& f) { defaultFont_ = f; }
  TFont& DefaultFontRef() { return defaultFont_; }
  bool UseSkinFont() const { return useSkinFont_; }
  void SetUseSkinFont(bool v) { useSkinFont_ = v; }

  // Section lookup, then repaint.
  void ApplySkinData() override;
  void ForgetSkinSection() override { sectionIndex_ = -1; }
  void FetchSkinData();

 protected:
  void DoDrawText(TRect& rect, uint32_t flags) override;
  void Notification(TComponent* c, TOperation op) override;

 private:
  int sectionIndex_ = -1;
  TbsSkinData* skinData_ = nullptr;  // referenced, not owned
  QString skinDataName_ = QStringLiteral("stdlabel");
  TFont defaultFont_;
  bool useSkinFont_ = true;
  // Copies of the section's font values.
  QString fontname_;
  uint8_t fontstyle_ = 0;
  int fontheight_ = 0;
  TColor fontcolor_ = 0;
};

#include "skin/controls/SkinControlsRegistry.h"

#include "platform/Label.h"
#include "platform/PageControl.h"
#include "platform/ImageList.h"
#include "platform/Streaming.h"
#include "skin/controls/bsSkinButton.h"
#include "skin/controls/bsSkinEdit.h"
#include "skin/controls/bsSkinPanel.h"
#include "skin/controls/bsSkinStdLabel.h"
#include "skin/controls/bsSkinTabs.h"
#include "skin/controls/bsSkinUpDown.h"
#include "skin/data/SkinData.h"

namespace {

const TIdentTable& TextLayoutIdents() {
  static const TIdentTable t = {{QStringLiteral("tlTop"), static_cast<int>(TTextLayout::tlTop)},
                                {QStringLiteral("tlCenter"), static_cast<int>(TTextLayout::tlCenter)},
                                {QStringLiteral("tlBottom"), static_cast<int>(TTextLayout::tlBottom)}};
  return t;
}

const TIdentTable& TabPositionIdents() {
  static const TIdentTable t = {{QStringLiteral("tpTop"), static_cast<int>(TTabPosition::tpTop)},
                                {QStringLiteral("tpBottom"), static_cast<int>(TTabPosition::tpBottom)},
                                {QStringLiteral("tpLeft"), static_cast<int>(TTabPosition::tpLeft)},
                                {QStringLiteral("tpRight"), static_cast<int>(TTabPosition::tpRight)}};
  return t;
}

const TIdentTable& TabStyleIdents() {
  static const TIdentTable t = {{QStringLiteral("tsTabs"), static_cast<int>(TTabStyle::tsTabs)},
                                {QStringLiteral("tsButtons"), static_cast<int>(TTabStyle::tsButtons)},
                                {QStringLiteral("tsFlatButtons"), static_cast<int>(TTabStyle::tsFlatButtons)}};
  return t;
}

const TIdentTable& BorderStyleIdents() {
  static const TIdentTable t = {{QStringLiteral("bvRaised"), bvRaised},
                                {QStringLiteral("bvLowered"), bvLowered},
                                {QStringLiteral("bvNone"), bvNone},
                                {QStringLiteral("bvFrame"), bvFrame}};
  return t;
}

const TIdentTable& ButtonLayoutIdents() {
  static const TIdentTable t = {{QStringLiteral("blGlyphLeft"), blGlyphLeft},
                                {QStringLiteral("blGlyphRight"), blGlyphRight},
                                {QStringLiteral("blGlyphTop"), blGlyphTop},
                                {QStringLiteral("blGlyphBottom"), blGlyphBottom}};
  return t;
}

const TIdentTable& OrientationIdents() {
  static const TIdentTable t = {{QStringLiteral("udHorizontal"), static_cast<int>(TUDOrientation::udHorizontal)},
                                {QStringLiteral("udVertical"), static_cast<int>(TUDOrientation::udVertical)}};
  return t;
}

const TIdentTable& CharCaseIdents() {
  static const TIdentTable t = {{QStringLiteral("ecNormal"), static_cast<int>(TEditCharCase::ecNormal)},
                                {QStringLiteral("ecUpperCase"), static_cast<int>(TEditCharCase::ecUpperCase)},
                                {QStringLiteral("ecLowerCase"), static_cast<int>(TEditCharCase::ecLowerCase)}};
  return t;
}

// The stored password character: a one-character string, or #0 for none.
QString PasswordText(const TbsSkinEdit* e) { return e->EditPasswordChar().isNull() ? QString(QChar(0)) : QString(e->EditPasswordChar()); }
void SetPasswordText(TbsSkinEdit* e, const QString& s) { e->SetEditPasswordChar(s.isEmpty() ? QChar(0) : s[0]); }

}  // namespace

void RegisterSkinControlClasses() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  RegisterPlatformClasses();

  // The platform label and page control the skinned ones build on.
  RegisterClass<TCustomLabel>(QStringLiteral("TCustomLabel"), QStringLiteral("TGraphicControl"))
      .Enum(QStringLiteral("Alignment"), &TCustomLabel::Alignment, &TCustomLabel::SetAlignment, AlignmentIdents(), taLeftJustify)
      .Bool(QStringLiteral("AutoSize"), &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize, true)
      .Reference<TWinControl>(QStringLiteral("FocusControl"), &TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl)
      .Enum(QStringLiteral("Layout"), &TCustomLabel::Layout, &TCustomLabel::SetLayout, TextLayoutIdents(),
            static_cast<int>(TTextLayout::tlTop))
      .Bool(QStringLiteral("ShowAccelChar"), &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar, true)
      .Bool(QStringLiteral("Transparent"), &TCustomLabel::Transparent, &TCustomLabel::SetTransparent)
      .Bool(QStringLiteral("WordWrap"), &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap, false);

  RegisterClass<TTabSheet>(QStringLiteral("TTabSheet"), QStringLiteral("TWinControl"))
      .Hide(QStringLiteral("Align"))
      .Hide(QStringLiteral("Left"))
      .Hide(QStringLiteral("Top"))
      .Hide(QStringLiteral("Width"))
      .Hide(QStringLiteral("Height"))
      .Hide(QStringLiteral("TabOrder"))
      .Hide(QStringLiteral("TabStop"))
      .Integer(QStringLiteral("ImageIndex"), &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex, 0)
      .Integer(QStringLiteral("PageIndex"), &TTabSheet::PageIndex, &TTabSheet::SetPageIndex)
      .Bool(QStringLiteral("TabVisible"), &TTabSheet::TabVisible, &TTabSheet::SetTabVisible, true);

  RegisterClass<TPageControl>(QStringLiteral("TPageControl"), QStringLiteral("TCustomControl"))
      .Reference<TTabSheet>(QStringLiteral("ActivePage"), &TPageControl::ActivePage, &TPageControl::SetActivePage)
      .Reference<TCustomImageList>(QStringLiteral("Images"), &TPageControl::Images, &TPageControl::SetImages)
      .Bool(QStringLiteral("HotTrack"), &TPageControl::HotTrack, &TPageControl::SetHotTrack, false)
      .Bool(QStringLiteral("MultiLine"), &TPageControl::MultiLine, &TPageControl::SetMultiLine, false)
      .Enum(QStringLiteral("Style"), &TPageControl::Style, &TPageControl::SetStyle, TabStyleIdents(),
            static_cast<int>(TTabStyle::tsTabs))
      .Integer(QStringLiteral("TabHeight"), &TPageControl::TabHeight, &TPageControl::SetTabHeight, 0)
      .Enum(QStringLiteral("TabPosition"), &TPageControl::TabPosition, &TPageControl::SetTabPosition, TabPositionIdents(),
            static_cast<int>(TTabPosition::tpTop))
      .Integer(QStringLiteral("TabWidth"), &TPageControl::TabWidth, &TPageControl::SetTabWidth, 0)
      .Event(QStringLiteral("OnChange"), &TPageControl::OnChange)
      .Ignored(QStringLiteral("TabIndex"));

  // The skinned control base.
  RegisterClass<TbsSkinControl>(QStringLiteral("TbsSkinControl"), QStringLiteral("TCustomControl"))
      .Reference<TbsSkinData>(QStringLiteral("SkinData"), &TbsSkinControl::SkinData, &TbsSkinControl::SetSkinData)
      .String(QStringLiteral("SkinDataName"), &TbsSkinControl::SkinDataName, &TbsSkinControl::SetSkinDataName, true)
      .Event(QStringLiteral("OnMouseEnter"), &TbsSkinControl::OnMouseEnter)
      .Event(QStringLiteral("OnMouseLeave"), &TbsSkinControl::OnMouseLeave);

  RegisterClass<TbsSkinCustomControl>(QStringLiteral("TbsSkinCustomControl"), QStringLiteral("TbsSkinControl"))
      .Font(QStringLiteral("DefaultFont"), [](TbsSkinCustomControl* c) { return &c->DefaultFontRef(); })
      .Integer(QStringLiteral("DefaultWidth"), &TbsSkinCustomControl::DefaultWidth, &TbsSkinCustomControl::SetDefaultWidth)
      .Integer(QStringLiteral("DefaultHeight"), &TbsSkinCustomControl::DefaultHeight, &TbsSkinCustomControl::SetDefaultHeight)
      .Bool(QStringLiteral("UseSkinFont"), &TbsSkinCustomControl::UseSkinFont, &TbsSkinCustomControl::SetUseSkinFont);

  RegisterClass<TbsSkinPanel>(QStringLiteral("TbsSkinPanel"), QStringLiteral("TbsSkinCustomControl"))
      .Bool(QStringLiteral("AutoEnabledControls"), &TbsSkinPanel::AutoEnabledControls, &TbsSkinPanel::SetAutoEnabledControls)
      .Bool(QStringLiteral("CheckedMode"), &TbsSkinPanel::CheckedMode, &TbsSkinPanel::SetCheckedMode)
      .Bool(QStringLiteral("Checked"), &TbsSkinPanel::Checked, &TbsSkinPanel::SetChecked)
      .Enum(QStringLiteral("DefaultAlignment"), &TbsSkinPanel::DefaultAlignment, &TbsSkinPanel::SetDefaultAlignment,
            AlignmentIdents())
      .Integer(QStringLiteral("DefaultCaptionHeight"), &TbsSkinPanel::DefaultCaptionHeight, &TbsSkinPanel::SetDefaultCaptionHeight)
      .Enum(QStringLiteral("BorderStyle"), &TbsSkinPanel::BorderStyle, &TbsSkinPanel::SetBorderStyle, BorderStyleIdents())
      .Bool(QStringLiteral("CaptionMode"), &TbsSkinPanel::CaptionMode, &TbsSkinPanel::SetCaptionMode)
      .Bool(QStringLiteral("RollUpMode"), &TbsSkinPanel::RollUpMode, &TbsSkinPanel::SetRollUpMode)
      .Bool(QStringLiteral("RollUpState"), &TbsSkinPanel::RollUpState, &TbsSkinPanel::SetRollUpState)
      .Persistent<TBitmapData>(QStringLiteral("Glyph"), QStringLiteral("TBitmap"), [](TbsSkinPanel* p) { return &p->GlyphData(); },
                           [](TbsSkinPanel* p) { p->GlyphEdited(); })
      .Integer(QStringLiteral("NumGlyphs"), &TbsSkinPanel::NumGlyphs, &TbsSkinPanel::SetNumGlyphs)
      .Integer(QStringLiteral("Spacing"), &TbsSkinPanel::Spacing, &TbsSkinPanel::SetSpacing)
      .Event(QStringLiteral("OnChecked"), &TbsSkinPanel::OnChecked)
      .Ignored(QStringLiteral("DockSite"))
      .Ignored(QStringLiteral("DragCursor"))
      .Ignored(QStringLiteral("DragKind"))
      .Ignored(QStringLiteral("DragMode"));

  RegisterClass<TbsSkinButton>(QStringLiteral("TbsSkinButton"), QStringLiteral("TbsSkinCustomControl"))
      .Bool(QStringLiteral("RepeatMode"), &TbsSkinButton::RepeatMode, &TbsSkinButton::SetRepeatMode)
      .Integer(QStringLiteral("RepeatInterval"), &TbsSkinButton::RepeatInterval, &TbsSkinButton::SetRepeatInterval)
      .Bool(QStringLiteral("AllowAllUp"), &TbsSkinButton::AllowAllUp, &TbsSkinButton::SetAllowAllUp)
      .Bool(QStringLiteral("CanFocused"), &TbsSkinButton::CanFocused, &TbsSkinButton::SetCanFocused)
      .Bool(QStringLiteral("Down"), &TbsSkinButton::Down, &TbsSkinButton::SetDown)
      .Integer(QStringLiteral("GroupIndex"), &TbsSkinButton::GroupIndex, &TbsSkinButton::SetGroupIndex)
      .Persistent<TBitmapData>(QStringLiteral("Glyph"), QStringLiteral("TBitmap"), [](TbsSkinButton* b) { return &b->GlyphData(); },
                           [](TbsSkinButton* b) { b->GlyphEdited(); })
      .Integer(QStringLiteral("NumGlyphs"), &TbsSkinButton::NumGlyphs, &TbsSkinButton::SetNumGlyphs)
      .Integer(QStringLiteral("Margin"), &TbsSkinButton::Margin, &TbsSkinButton::SetMargin, -1)
      .Integer(QStringLiteral("Spacing"), &TbsSkinButton::Spacing, &TbsSkinButton::SetSpacing, 1)
      .Enum(QStringLiteral("Layout"), &TbsSkinButton::Layout, &TbsSkinButton::SetLayout, ButtonLayoutIdents(), blGlyphLeft)
      .Bool(QStringLiteral("Cancel"), &TbsSkinButton::Cancel, &TbsSkinButton::SetCancel, false)
      .Bool(QStringLiteral("Default"), &TbsSkinButton::Default, &TbsSkinButton::SetDefault, false)
      .Integer(QStringLiteral("ModalResult"), &TbsSkinButton::ModalResult, &TbsSkinButton::SetModalResult, 0)
      .Reference<TAction>(QStringLiteral("Action"), &TbsSkinButton::Action, &TbsSkinButton::SetAction);

  RegisterClass<TbsSkinUpDown>(QStringLiteral("TbsSkinUpDown"), QStringLiteral("TbsSkinCustomControl"))
      .Enum(QStringLiteral("Orientation"), &TbsSkinUpDown::Orientation, &TbsSkinUpDown::SetOrientation, OrientationIdents())
      .Integer(QStringLiteral("Increment"), &TbsSkinUpDown::Increment, &TbsSkinUpDown::SetIncrement)
      .Integer(QStringLiteral("Min"), &TbsSkinUpDown::Min, &TbsSkinUpDown::SetMin)
      .Integer(QStringLiteral("Max"), &TbsSkinUpDown::Max, &TbsSkinUpDown::SetMax)
      .Integer(QStringLiteral("Position"), &TbsSkinUpDown::Position, &TbsSkinUpDown::SetPosition)
      .Event(QStringLiteral("OnChange"), &TbsSkinUpDown::OnChange)
      .Event(QStringLiteral("OnUpButtonClick"), &TbsSkinUpDown::OnUpButtonClick)
      .Event(QStringLiteral("OnDownButtonClick"), &TbsSkinUpDown::OnDownButtonClick);

  RegisterClass<TbsSkinStdLabel>(QStringLiteral("TbsSkinStdLabel"), QStringLiteral("TCustomLabel"))
      .Bool(QStringLiteral("UseSkinFont"), &TbsSkinStdLabel::UseSkinFont, &TbsSkinStdLabel::SetUseSkinFont)
      .Font(QStringLiteral("DefaultFont"), [](TbsSkinStdLabel* l) { return &l->DefaultFontRef(); },
            [](TbsSkinStdLabel* l) { l->Invalidate(); })
      .Reference<TbsSkinData>(QStringLiteral("SkinData"), &TbsSkinStdLabel::SkinData, &TbsSkinStdLabel::SetSkinData)
      .String(QStringLiteral("SkinDataName"), &TbsSkinStdLabel::SkinDataName, &TbsSkinStdLabel::SetSkinDataName, true);

  RegisterClass<TbsSkinPageControl>(QStringLiteral("TbsSkinPageControl"), QStringLiteral("TPageControl"))
      .Font(QStringLiteral("DefaultFont"), [](TbsSkinPageControl* p) { return &p->DefaultFontRef(); })
      .Bool(QStringLiteral("UseSkinFont"), &TbsSkinPageControl::UseSkinFont, &TbsSkinPageControl::SetUseSkinFont)
      .Integer(QStringLiteral("DefaultItemHeight"), &TbsSkinPageControl::DefaultItemHeight,
               &TbsSkinPageControl::SetDefaultItemHeight)
      .Reference<TbsSkinData>(QStringLiteral("SkinData"), &TbsSkinPageControl::SkinData, &TbsSkinPageControl::SetSkinData)
      .String(QStringLiteral("SkinDataName"), &TbsSkinPageControl::SkinDataName, &TbsSkinPageControl::SetSkinDataName, true);

  RegisterClass<TbsSkinCustomTabSheet>(QStringLiteral("TbsSkinCustomTabSheet"), QStringLiteral("TTabSheet"));
  RegisterClass<TbsSkinTabSheet>(QStringLiteral("TbsSkinTabSheet"), QStringLiteral("TbsSkinCustomTabSheet"));

  RegisterClass<TbsSkinEdit>(QStringLiteral("TbsSkinEdit"), QStringLiteral("TWinControl"))
      .Font(QStringLiteral("DefaultFont"), [](TbsSkinEdit* e) { return &e->DefaultFontRef(); },
            [](TbsSkinEdit* e) { e->DefaultFontEdited(); })
      .Bool(QStringLiteral("UseSkinFont"), &TbsSkinEdit::UseSkinFont, &TbsSkinEdit::SetUseSkinFont)
      .Integer(QStringLiteral("DefaultWidth"), &TbsSkinEdit::DefaultWidth, &TbsSkinEdit::SetDefaultWidth)
      .Integer(QStringLiteral("DefaultHeight"), &TbsSkinEdit::DefaultHeight, &TbsSkinEdit::SetDefaultHeight)
      .Bool(QStringLiteral("ButtonMode"), &TbsSkinEdit::ButtonMode, &TbsSkinEdit::SetButtonMode)
      .Reference<TbsSkinData>(QStringLiteral("SkinData"), &TbsSkinEdit::SkinData, &TbsSkinEdit::SetSkinData)
      .String(QStringLiteral("SkinDataName"), &TbsSkinEdit::SkinDataName, &TbsSkinEdit::SetSkinDataName, true)
      .String(QStringLiteral("EditPasswordChar"), PasswordText, SetPasswordText, true)
      .Bool(QStringLiteral("ReadOnly"), &TbsSkinEdit::ReadOnly, &TbsSkinEdit::SetReadOnly, false)
      .Enum(QStringLiteral("Alignment"), &TbsSkinEdit::Alignment, &TbsSkinEdit::SetAlignment, AlignmentIdents(), taLeftJustify)
      .Integer(QStringLiteral("MaxLength"), &TbsSkinEdit::MaxLength, &TbsSkinEdit::SetMaxLength, 0)
      .Bool(QStringLiteral("AutoSelect"), &TbsSkinEdit::AutoSelect, &TbsSkinEdit::SetAutoSelect, true)
      .String(QStringLiteral("Text"), &TbsSkinEdit::Text, &TbsSkinEdit::SetText)
      .Event(QStringLiteral("OnButtonClick"), &TbsSkinEdit::OnButtonClick)
      .Event(QStringLiteral("OnMouseEnter"), &TbsSkinEdit::OnMouseEnter)
      .Event(QStringLiteral("OnMouseLeave"), &TbsSkinEdit::OnMouseLeave)
      .Event(QStringLiteral("OnChange"), &TbsSkinEdit::OnChange)
      .Hide(QStringLiteral("Caption"))
      .Enum(QStringLiteral("CharCase"), &TbsSkinEdit::CharCase, &TbsSkinEdit::SetCharCase, CharCaseIdents(),
            static_cast<int>(TEditCharCase::ecNormal))
      .Bool(QStringLiteral("HideSelection"), &TbsSkinEdit::HideSelection, &TbsSkinEdit::SetHideSelection, true)
      .Ignored(QStringLiteral("ImeMode"))
      .Ignored(QStringLiteral("ImeName"))
      .Ignored(QStringLiteral("OEMConvert"))
      .Ignored(QStringLiteral("ParentCtl3D"));
}

// The skinned classes load from a stored form definition as the query form stores them: the
// published properties arrive, handlers bind, the active page is resolved, and writing the
// form back gives a definition that reads into the same state.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/Forms.h"
#include "platform/Streaming.h"
#include "skin/controls/SkinControlsRegistry.h"
#include "skin/controls/bsSkinButton.h"
#include "skin/controls/bsSkinEdit.h"
#include "skin/controls/bsSkinPanel.h"
#include "skin/controls/bsSkinStdLabel.h"
#include "skin/controls/bsSkinTabs.h"
#include "skin/form/SkinFormRegistry.h"
#include "skin/form/bsSkinForm.h"
#include "tests/TestUtil.h"

namespace {

class TQueryLikeForm : public TForm {
 public:
  explicit TQueryLikeForm(TComponent* owner) : TForm(owner) {}
  QString ClassName() const override { return QStringLiteral("TQueryLikeForm"); }
  void QueryClick(TComponent* sender) { clicks.push_back(sender); }
  std::vector<TComponent*> clicks;
};

const char* kDefinition = R"(object QueryForm: TQueryLikeForm
  Left = 198
  Top = 119
  ClientHeight = 541
  ClientWidth = 813
  object bsSkinPanel1: TbsSkinPanel
    Left = 0
    Top = 0
    Width = 813
    Height = 73
    TabOrder = 0
    SkinDataName = 'panel'
    DefaultFont.Charset = DEFAULT_CHARSET
    DefaultFont.Color = clWindowText
    DefaultFont.Height = 14
    DefaultFont.Name = 'Arial'
    DefaultFont.Style = []
    DefaultWidth = 0
    DefaultHeight = 0
    UseSkinFont = True
    AutoEnabledControls = True
    CheckedMode = False
    Checked = False
    DefaultAlignment = taLeftJustify
    DefaultCaptionHeight = 22
    BorderStyle = bvRaised
    CaptionMode = False
    RollUpMode = False
    RollUpState = False
    NumGlyphs = 1
    Spacing = 2
    Caption = 'bsSkinPanel1'
    Align = alTop
    object bsSkinButton1: TbsSkinButton
      Left = 383
      Top = 48
      Width = 75
      Height = 25
      TabOrder = 0
      SkinDataName = 'button'
      DefaultFont.Charset = DEFAULT_CHARSET
      DefaultFont.Color = clWindowText
      DefaultFont.Height = 14
      DefaultFont.Name = 'Arial'
      DefaultFont.Style = []
      DefaultWidth = 0
      DefaultHeight = 0
      UseSkinFont = True
      RepeatMode = False
      RepeatInterval = 100
      AllowAllUp = False
      TabStop = True
      CanFocused = True
      Down = False
      GroupIndex = 0
      Caption = #26597#35426
      NumGlyphs = 2
      Spacing = 1
      OnClick = QueryClick
    end
    object bsSkinPageControl1: TbsSkinPageControl
      Left = 1
      Top = 1
      Width = 369
      Height = 71
      ActivePage = bsSkinTabSheet2
      Align = alLeft
      Font.Charset = DEFAULT_CHARSET
      Font.Color = clBtnText
      Font.Height = 14
      Font.Name = 'Arial'
      Font.Style = []
      ParentFont = False
      TabOrder = 1
      SkinDataName = 'tab'
      DefaultFont.Charset = DEFAULT_CHARSET
      DefaultFont.Color = clBtnText
      DefaultFont.Height = 14
      DefaultFont.Name = 'Arial'
      DefaultFont.Style = []
      UseSkinFont = True
      DefaultItemHeight = 20
      object bsSkinTabSheet1: TbsSkinTabSheet
        Caption = #21934#34399#26597#35426
        object bsSkinStdLabel1: TbsSkinStdLabel
          Left = 16
          Top = 16
          Width = 60
          Height = 13
          UseSkinFont = True
          DefaultFont.Charset = DEFAULT_CHARSET
          DefaultFont.Color = clWindowText
          DefaultFont.Height = -11
          DefaultFont.Name = 'MS Sans Serif'
          DefaultFont.Style = []
          SkinDataName = 'stdlabel'
          Caption = #21934#34399#21312#38291':   '
        end
        object bsSkinEdit1: TbsSkinEdit
          Left = 83
          Top = 13
          Width = 121
          Height = 20
          Text = 'A001'
          DefaultFont.Charset = DEFAULT_CHARSET
          DefaultFont.Color = clWindowText
          DefaultFont.Height = 14
          DefaultFont.Name = 'Arial'
          DefaultFont.Style = []
          UseSkinFont = True
          DefaultWidth = 0
          DefaultHeight = 20
          ButtonMode = False
          SkinDataName = 'edit'
          Font.Charset = DEFAULT_CHARSET
          Font.Color = clWindowText
          Font.Height = 14
          Font.Name = 'Arial'
          Font.Style = []
          EditPasswordChar = #0
          ParentFont = False
          TabOrder = 0
        end
      end
      object bsSkinTabSheet2: TbsSkinTabSheet
        Caption = #26085#26399#26597#35426
      end
    end
  end
  object bsSkinForm1: TbsSkinForm
    ShowIcon = False
    MaximizeOnFullScreen = False
    AlphaBlend = False
    AlphaBlendAnimation = False
    AlphaBlendValue = 250
    ShowObjectHint = False
    MenusAlphaBlend = False
    MenusAlphaBlendAnimation = False
    MenusAlphaBlendValue = 200
    DefCaptionFont.Charset = DEFAULT_CHARSET
    DefCaptionFont.Color = clBtnText
    DefCaptionFont.Height = 14
    DefCaptionFont.Name = 'Arial'
    DefCaptionFont.Style = [fsBold]
    DefInActiveCaptionFont.Charset = DEFAULT_CHARSET
    DefInActiveCaptionFont.Color = clBtnShadow
    DefInActiveCaptionFont.Height = 14
    DefInActiveCaptionFont.Name = 'Arial'
    DefInActiveCaptionFont.Style = [fsBold]
    DefMenuItemHeight = 20
    DefMenuItemFont.Charset = DEFAULT_CHARSET
    DefMenuItemFont.Color = clWindowText
    DefMenuItemFont.Height = 14
    DefMenuItemFont.Name = 'Arial'
    DefMenuItemFont.Style = []
    UseDefaultSysMenu = True
    MinHeight = 0
    MinWidth = 0
    Magnetic = False
    MagneticSize = 5
    BorderIcons = [biSystemMenu, biMinimize, biMaximize, biRollUp]
  end
end
)";

class SkinDefinition : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterSkinControlClasses();
    RegisterSkinFormClasses();
    RegisterClass<TQueryLikeForm>(QStringLiteral("TQueryLikeForm"), QStringLiteral("TForm"))
        .Method(QStringLiteral("QueryClick"), &TQueryLikeForm::QueryClick);
  }
  template <class T>
  static T* Find(TComponent* root, const char* name) {
    auto* c = dynamic_cast<T*>(root->FindComponent(QLatin1String(name)));
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
};

TEST_F(SkinDefinition, QueryFormSkinnedPartsLoadAsStored) {
  TQueryLikeForm form(nullptr);
  form.LoadDefinition(QString::fromUtf8(kDefinition));

  auto* panel = Find<TbsSkinPanel>(&form, "bsSkinPanel1");
  auto* button = Find<TbsSkinButton>(&form, "bsSkinButton1");
  auto* pages = Find<TbsSkinPageControl>(&form, "bsSkinPageControl1");
  auto* sheet1 = Find<TbsSkinTabSheet>(&form, "bsSkinTabSheet1");
  auto* sheet2 = Find<TbsSkinTabSheet>(&form, "bsSkinTabSheet2");
  auto* label = Find<TbsSkinStdLabel>(&form, "bsSkinStdLabel1");
  auto* edit = Find<TbsSkinEdit>(&form, "bsSkinEdit1");
  auto* frame = Find<TbsSkinForm>(&form, "bsSkinForm1");
  ASSERT_TRUE(panel && button && pages && sheet1 && sheet2 && label && edit && frame);

  EXPECT_EQ(panel->Align(), TAlign::alTop);
  EXPECT_EQ(panel->Height(), 73);
  EXPECT_EQ(panel->Caption(), QStringLiteral("bsSkinPanel1"));
  EXPECT_EQ(button->Parent(), panel);
  EXPECT_EQ(button->Caption(), QString::fromUtf8("查詢"));
  EXPECT_EQ(button->BoundsRect(), Bounds(383, 48, 75, 25));
  EXPECT_EQ(pages->Parent(), panel);
  EXPECT_EQ(pages->Align(), TAlign::alLeft);
  ASSERT_EQ(pages->PageCount(), 2);
  EXPECT_EQ(pages->Pages(0), sheet1);
  EXPECT_EQ(pages->ActivePage(), sheet2);
  EXPECT_TRUE(sheet2->Visible());
  EXPECT_FALSE(sheet1->Visible());
  EXPECT_EQ(sheet1->Caption(), QString::fromUtf8("單號查詢"));
  EXPECT_EQ(label->Parent(), sheet1);
  EXPECT_EQ(label->Caption(), QString::fromUtf8("單號區間:   "));
  EXPECT_EQ(label->DefaultFont().Name, QStringLiteral("MS Sans Serif"));
  EXPECT_EQ(label->DefaultFont().Height, -11);
  EXPECT_EQ(edit->Text(), QStringLiteral("A001"));
  EXPECT_EQ(edit->DefaultHeight(), 20);
  EXPECT_EQ(edit->Height(), 20);
  EXPECT_TRUE(edit->EditPasswordChar().isNull());
  EXPECT_EQ(frame->AlphaBlendValue(), 250);
  EXPECT_EQ(frame->DefCaptionFont.Style, fsBold);
  EXPECT_EQ(frame->DefInActiveCaptionFont.Color, clBtnShadow);
  EXPECT_EQ(frame->BorderIcons(), biSystemMenu | biMinimize | biMaximize | biRollUp);
  EXPECT_EQ(frame->Form(), &form);

  // The handler is bound: a click reaches the form.
  button->PerformClick();
  ASSERT_EQ(form.clicks.size(), 1u);
  EXPECT_EQ(form.clicks[0], button);

  // Written back and read again: the same state.
  const QString written = WriteComponentToText(&form);
  TQueryLikeForm again(nullptr);
  again.LoadDefinition(written);
  auto* pages2 = Find<TbsSkinPageControl>(&again, "bsSkinPageControl1");
  auto* frame2 = Find<TbsSkinForm>(&again, "bsSkinForm1");
  auto* button2 = Find<TbsSkinButton>(&again, "bsSkinButton1");
  ASSERT_TRUE(pages2 && frame2 && button2);
  EXPECT_EQ(pages2->ActivePageIndex(), 1);
  EXPECT_EQ(frame2->AlphaBlendValue(), 250);
  EXPECT_EQ(frame2->BorderIcons(), frame->BorderIcons());
  EXPECT_EQ(button2->Caption(), button->Caption());
  EXPECT_EQ(Find<TbsSkinEdit>(&again, "bsSkinEdit1")->Text(), QStringLiteral("A001"));
}

TEST_F(SkinDefinition, UnknownPropertyOfASkinnedClassFailsClearly) {
  TQueryLikeForm form(nullptr);
  const QString text = QStringLiteral(
      "object QueryForm: TQueryLikeForm\n  object P: TbsSkinPanel\n    BorderStyle = bvSunken\n  end\nend\n");
  try {
    form.LoadDefinition(text);
    FAIL() << "no failure";
  } catch (const Exception& e) {
    EXPECT_EQ(e.ClassName(), QStringLiteral("EReadError"));
    EXPECT_TRUE(e.Message().contains(QStringLiteral("BorderStyle"))) << e.Message().toStdString();
  }
}

}  // namespace

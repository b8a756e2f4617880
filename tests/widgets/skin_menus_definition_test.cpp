// The hint component and the tray icon load from a stored form definition: every stored
// property arrives (the tray icon's index survives its image list arriving later, its icon comes
// back pixel for pixel), the handlers bind, writing the form back gives a definition that reads
// into the same state, and bad stored values fail with a clear error. An MDI parent stored with
// a tray icon that starts minimized runs hidden, children included, behind a shown icon, and a
// double click on the icon brings it all back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "platform/Exceptions.h"
#include "platform/Forms.h"
#include "platform/ImageList.h"
#include "platform/Menus.h"
#include "platform/NotifyArea.h"
#include "platform/Stream.h"
#include "platform/Streaming.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinDataClasses.h"
#include "skin/form/SkinFormRegistry.h"
#include "skin/form/bsSkinForm.h"
#include "skin/menus/bsSkinHint.h"
#include "skin/menus/bsSkinPopupMenu.h"
#include "skin/menus/bsTrayIcon.h"
#include "tests/TestUtil.h"

namespace {

QImage Solid(QRgb c) {
  QImage img(16, 16, QImage::Format_ARGB32);
  img.fill(c);
  return img;
}

// The byte block of an image list holding three plain icons, as a definition writes it.
QString ImageListBlock() {
  TImageList list(nullptr);
  list.Add(Solid(qRgb(255, 0, 0)));
  list.Add(Solid(qRgb(0, 255, 0)));
  list.Add(Solid(qRgb(0, 0, 255)));
  TMemoryStream s;
  list.WriteImages(s);
  const QByteArray bytes(reinterpret_cast<const char*>(s.Memory()), static_cast<qsizetype>(s.Size()));
  return QStringLiteral("{") + QString::fromLatin1(bytes.toHex().toUpper()) + QStringLiteral("}");
}

QString TrayDefinition(const QString& trayExtra = {}, const QString& hintExtra = {}) {
  return QStringLiteral(R"(object TrayForm: TForm
  Left = 10
  Top = 10
  Width = 300
  Height = 200
  Caption = 'Tray form'
  object bsSkinData1: TbsSkinData
  end
  object bsSkinHint1: TbsSkinHint
    SkinData = bsSkinData1
    Active = True
    AlphaBlend = True
    AlphaBlendValue = 180
    DefaultFont.Name = 'Tahoma'
    DefaultFont.Height = -13
    UseSkinFont = False
%2  end
  object ImageList1: TImageList
    Bitmap = %3
  end
  object bsSkinPopupMenu1: TbsSkinPopupMenu
    object Restore1: TMenuItem
      Caption = '&Restore'
      Default = True
    end
  end
  object bsTrayIcon1: TbsTrayIcon
    IconList = ImageList1
    AnimateTimerInterval = 250
    Enabled = False
    Hint = 'Ledgerly change log'
    ShowHint = False
    IconIndex = 2
    PopupMenu = bsSkinPopupMenu1
    PopupByLeftButton = True
    MinimizeToTray = True
    OnClick = TrayClick
    OnDblClick = TrayClick
%1  end
end
)")
      .arg(trayExtra, hintExtra, ImageListBlock());
}

class TrayDefinitionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterSkinDataClasses();
    RegisterSkinFormClasses();
    RegisterSkinMenuClasses();
  }
  // A form that counts the calls of its TrayClick handler; one of the application's forms (whose
  // names must differ) or a form of its own.
  TForm* NewForm(bool ofApplication = false) {
    TForm* f = ofApplication ? Application->CreateForm<TForm>() : new TForm(nullptr);
    f->RegisterMethod(QStringLiteral("TrayClick"), [this](TComponent* sender) { clicks.push_back(sender); });
    forms.emplace_back(f);
    return f;
  }
  template <class T>
  static T* Find(TComponent* root, const char* name) {
    auto* c = dynamic_cast<T*>(root->FindComponent(QLatin1String(name)));
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
  // The tray icon and hint component of a form read from TrayDefinition hold what it stores.
  void ExpectStoredState(TForm* form) {
    auto* hint = Find<TbsSkinHint>(form, "bsSkinHint1");
    auto* tray = Find<TbsTrayIcon>(form, "bsTrayIcon1");
    auto* list = Find<TImageList>(form, "ImageList1");
    ASSERT_TRUE(hint && tray && list);
    EXPECT_EQ(hint->SkinData(), Find<TbsSkinData>(form, "bsSkinData1"));
    EXPECT_TRUE(hint->Active());
    EXPECT_TRUE(hint->AlphaBlend);
    EXPECT_EQ(hint->AlphaBlendValue, 180);
    EXPECT_EQ(hint->DefaultFont().Name, QStringLiteral("Tahoma"));
    EXPECT_EQ(hint->DefaultFont().Height, -13);
    EXPECT_FALSE(hint->UseSkinFont);

    ASSERT_EQ(list->Count(), 3);
    EXPECT_EQ(tray->IconList(), list);
    EXPECT_EQ(tray->IconIndex(), 2) << "the stored index, not the 0 of a list set at run time";
    EXPECT_EQ(tray->Icon().convertToFormat(QImage::Format_ARGB32), list->Image(2).convertToFormat(QImage::Format_ARGB32));
    EXPECT_FALSE(tray->CycleIcons());
    EXPECT_EQ(tray->AnimateTimerInterval(), 250u);
    EXPECT_EQ(tray->CycleTimer().Interval(), 250);
    EXPECT_FALSE(tray->Enabled);
    EXPECT_EQ(tray->Hint(), QStringLiteral("Ledgerly change log"));
    EXPECT_FALSE(tray->ShowHint());
    EXPECT_TRUE(tray->NotifyData().Tip.isEmpty()) << "no tip while ShowHint is off";
    EXPECT_EQ(tray->PopupMenu(), Find<TbsSkinPopupMenu>(form, "bsSkinPopupMenu1"));
    EXPECT_TRUE(tray->PopupByLeftButton);
    EXPECT_TRUE(tray->MinimizeToTray);
    EXPECT_FALSE(tray->MinimizedOnStart);
    EXPECT_FALSE(tray->IconVisible());
    EXPECT_FALSE(tray->DesignPreview());
    // Both handlers are bound to the form's method.
    clicks.clear();
    tray->OnClick(tray);
    tray->OnDblClick(tray);
    EXPECT_EQ(clicks, (std::vector<TComponent*>{tray, tray}));
  }

  std::vector<std::unique_ptr<TForm>> forms;
  std::vector<TComponent*> clicks;
};

TEST_F(TrayDefinitionTest, HintAndTrayIconComeBackAsStored) {
  TForm* form = NewForm();
  form->LoadDefinition(TrayDefinition());
  ExpectStoredState(form);

  // Written back: the properties without a stored default always, the others when they differ.
  const QString written = WriteComponentToText(form);
  for (const char* line : {"Active = True", "AlphaBlend = True", "AlphaBlendValue = 180", "UseSkinFont = False",
                           "AnimateTimerInterval = 250", "IconIndex = 2", "Enabled = False", "ShowHint = False",
                           "PopupByLeftButton = True", "MinimizeToTray = True", "OnClick = TrayClick",
                           "IconList = ImageList1", "PopupMenu = bsSkinPopupMenu1", "Icon = {"})
    EXPECT_TRUE(written.contains(QLatin1String(line))) << line << "\n" << written.toStdString();
  for (const char* absent : {"IconVisible", "CycleIcons", "DesignPreview", "MinimizedOnStart"})
    EXPECT_FALSE(written.contains(QLatin1String(absent))) << absent;

  // Read again: the same state, the icon's pixels included.
  TForm* again = NewForm();
  again->LoadDefinition(written);
  ExpectStoredState(again);
  EXPECT_EQ(WriteComponentToText(again), written);

  // Defaults: a bare hint component and tray icon store only what has no default.
  TForm* bare = NewForm();
  bare->LoadDefinition(QStringLiteral(
      "object Bare: TForm\n  object bsSkinHint1: TbsSkinHint\n  end\n  object bsTrayIcon1: TbsTrayIcon\n  end\nend\n"));
  auto* hint = Find<TbsSkinHint>(bare, "bsSkinHint1");
  auto* tray = Find<TbsTrayIcon>(bare, "bsTrayIcon1");
  ASSERT_TRUE(hint && tray);
  EXPECT_TRUE(hint->Active());
  EXPECT_FALSE(hint->AlphaBlend);
  EXPECT_TRUE(hint->UseSkinFont);
  EXPECT_TRUE(tray->Enabled);
  EXPECT_TRUE(tray->ShowHint());
  EXPECT_EQ(tray->IconIndex(), 0);
  const QString bareText = WriteComponentToText(bare);
  EXPECT_TRUE(bareText.contains(QLatin1String("AlphaBlendValue = 0"))) << bareText.toStdString();
  EXPECT_TRUE(bareText.contains(QLatin1String("AnimateTimerInterval = 0")));
  EXPECT_FALSE(bareText.contains(QLatin1String("Enabled")));
}

TEST_F(TrayDefinitionTest, BadStoredValuesFailClearly) {
  auto expectError = [this](const QString& text, const char* part) {
    TForm* form = NewForm();
    try {
      form->LoadDefinition(text);
      ADD_FAILURE() << "read without an error: " << part;
    } catch (const Exception& e) {
      EXPECT_TRUE(e.Message().contains(QLatin1String(part))) << e.Message().toStdString();
    }
  };
  // Bytes that are no image, an image too large for a tray, a value out of range, a reference
  // to a component of the wrong class.
  expectError(TrayDefinition(QStringLiteral("    Icon = {0011223344}\n")), "Icon image is not valid");
  {
    QImage big(300, 20, QImage::Format_ARGB32);
    big.fill(Qt::red);
    TbsTrayIcon probe(nullptr);
    probe.SetIcon(big);
    const QString text = WriteComponentToText(&probe);
    const qsizetype at = text.indexOf(QLatin1String("Icon = {"));
    ASSERT_GE(at, 0);
    const QString block = text.mid(at + 7, text.indexOf(QLatin1Char('}'), at) - at - 6);
    expectError(TrayDefinition(QStringLiteral("    Icon = %1\n").arg(block)), "Icon image is not valid");
  }
  expectError(TrayDefinition({}, QStringLiteral("    AlphaBlendValue = 256\n")), "AlphaBlendValue");
  expectError(TrayDefinition(QStringLiteral("    PopupMenu = bsSkinData1\n")), "PopupMenu");
  expectError(TrayDefinition(QStringLiteral("    AnimateTimerInterval = -1\n")), "AnimateTimerInterval");
}

// Runs the application's loop (which cannot run again afterwards): keep this test last.
TEST_F(TrayDefinitionTest, MdiParentMinimizedOnStartRunsHiddenBehindItsIcon) {
  TForm* parent = NewForm(true);
  ASSERT_EQ(Application->MainForm(), parent) << "the first form of the application is its main form";
  parent->LoadDefinition(QStringLiteral(R"(object Books: TForm
  Left = 40
  Top = 40
  Width = 700
  Height = 500
  Caption = 'Books'
  FormStyle = fsMDIForm
  object bsSkinForm1: TbsSkinForm
    TrayIcon = bsTrayIcon1
  end
  object bsTrayIcon1: TbsTrayIcon
    Hint = 'Books'
    MinimizedOnStart = True
  end
end
)"));
  auto* tray = Find<TbsTrayIcon>(parent, "bsTrayIcon1");
  auto* frame = Find<TbsSkinForm>(parent, "bsSkinForm1");
  ASSERT_TRUE(tray && frame);
  EXPECT_FALSE(Application->ShowMainForm);
  EXPECT_TRUE(tray->IconVisible()) << "the only way back to a hidden application is its icon";
  EXPECT_EQ(tray->PopupMenu(), frame->TrayMenu());
  std::vector<TForm*> children;
  for (int i = 0; i < 2; ++i) {
    TForm* child = NewForm(true);
    child->SetFormStyle(TFormStyle::fsMDIChild);
    child->SetCaption(QStringLiteral("Ledger %1").arg(i + 1));
    child->SetBounds(20 + 40 * i, 20 + 30 * i, 300, 200);
    new TbsSkinForm(child);
    child->Show();
    children.push_back(child);
  }
  bool hiddenAtStart = false, iconAtStart = false, back = false, iconGone = false;
  QTimer::singleShot(300, [&] {
    hiddenAtStart = !parent->Visible() && !parent->Handle()->isVisible();
    for (TForm* c : children) hiddenAtStart = hiddenAtStart && !c->Handle()->isVisible();
    iconAtStart = tray->IconVisible();
    // A double click on the icon: the frame restores the form.
    tray->IconWindow()->Perform(2048, 1, WM_LBUTTONDBLCLK);
    back = parent->Visible() && parent->Handle()->isVisible();
    for (TForm* c : children) back = back && c->Handle()->isVisible();
    iconGone = !tray->IconVisible();
    parent->Close();
  });
  // The loop ends when the main form closes; a watchdog ends it when that fails.
  QTimer::singleShot(20000, [] { Application->Terminate(); });
  Application->Run();
  EXPECT_TRUE(hiddenAtStart) << "the parent and its children stay hidden at start";
  EXPECT_TRUE(iconAtStart);
  EXPECT_TRUE(back) << "the parent and its children come back";
  EXPECT_TRUE(iconGone);
  Application->ShowMainForm = true;
}

}  // namespace

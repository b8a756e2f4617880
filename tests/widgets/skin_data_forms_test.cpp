// The skin data talking to real forms: the skin messages, their order and timing, and the
// skins loading from a stored form definition.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "platform/Exceptions.h"
#include "platform/Forms.h"
#include "platform/Streaming.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinDataClasses.h"
#include "skin/data/SkinZlib.h"
#include "tests/TestUtil.h"

namespace {

QString SkinIni(const char* folder) { return SourceDir() + QStringLiteral("/skins/%1/SKIN.INI").arg(QLatin1String(folder)); }

struct Received {
  const TCustomForm* form;
  uint32_t msg;
  intptr_t wparam, lparam;
  bool skinEmptyAtArrival;
  friend bool operator==(const Received& a, const Received& b) {
    return a.form == b.form && a.msg == b.msg && a.wparam == b.wparam && a.lparam == b.lparam;
  }
};

// Records every skin message a form's window procedure sees, then passes it on.
class Recorder {
 public:
  void Watch(TCustomForm& f) {
    TWndMethod old = f.WindowProc;
    f.WindowProc = [this, &f, old](TMessage& m) {
      if (m.Msg >= SkinMessageBeforeChange && m.Msg <= SkinMessageChangedAfter) {
        auto* data = reinterpret_cast<TbsSkinData*>(m.WParam);
        log.push_back({&f, m.Msg, m.WParam, m.LParam, data->IsEmpty});
      }
      old(m);
    };
  }
  std::vector<uint32_t> MessagesOf(const TCustomForm& f) const {
    std::vector<uint32_t> out;
    for (const Received& r : log)
      if (r.form == &f) out.push_back(r.msg);
    return out;
  }
  std::vector<Received> log;
};

TEST(SkinDataMessages, EveryLoadTellsTheOwnerFirstThenEveryOtherForm) {
  TForm other(nullptr);
  TForm owner(nullptr);
  TForm third(nullptr);
  Recorder rec;
  rec.Watch(other);
  rec.Watch(owner);
  rec.Watch(third);
  auto* stored = new TbsStoredSkin(&owner);
  stored->LoadFromSkinFile(SkinIni("daylight"));
  auto* compressed = new TbsCompressedStoredSkin(&owner);
  compressed->CompressFromSkinFile(SkinIni("slate"));
  auto* data = new TbsSkinData(&owner);
  EXPECT_FALSE(owner.HandleAllocated());

  data->SetStoredSkin(stored);
  data->SetCompressedStoredSkin(compressed);
  EXPECT_TRUE(owner.HandleAllocated());  // the owner's window is made for the first message
  EXPECT_EQ(data->skinname, QStringLiteral("Ledgerly Slate"));

  const intptr_t w = reinterpret_cast<intptr_t>(data);
  std::vector<Received> expected;
  for (int load = 0; load < 2; ++load)
    for (uint32_t m : {SkinMessageBeforeChange, SkinMessageChanged, SkinMessageChangedAfter})
      for (const TCustomForm* f : {static_cast<TCustomForm*>(&owner), static_cast<TCustomForm*>(&other),
                                   static_cast<TCustomForm*>(&third)})
        expected.push_back({f, m, w, 1000, false});
  // Forms that are not the owner come in the order of the application's list.
  const auto& forms = Application->Forms();
  ASSERT_LT(std::find(forms.begin(), forms.end(), &other), std::find(forms.begin(), forms.end(), &third));
  EXPECT_EQ(rec.log, expected);

  // Synchronous: while 1225 is handled the skin is already empty; 1226 and 1227 find it loaded.
  for (const Received& r : rec.log) EXPECT_EQ(r.skinEmptyAtArrival, r.msg == SkinMessageBeforeChange);
}

TEST(SkinDataMessages, FailuresSendOnlyWhatTheLoadReached) {
  TForm owner(nullptr);
  Recorder rec;
  rec.Watch(owner);
  auto* data = new TbsSkinData(&owner);

  // Empty lines: not a skin, all three messages, skin empty.
  auto* lines = new TbsStoredSkin(&owner);
  data->SetStoredSkin(lines);
  EXPECT_TRUE(data->IsEmpty);
  EXPECT_EQ(rec.MessagesOf(owner), (std::vector<uint32_t>{1225, 1226, 1227}));

  // An empty compressed container: nothing at all.
  rec.log.clear();
  auto* compressed = new TbsCompressedStoredSkin(&owner);
  data->SetCompressedStoredSkin(compressed);
  EXPECT_TRUE(rec.log.empty());

  // A conversion error: only the first message, the error reaches the caller.
  lines->SetIniStrings({"[VERSION]", "a=1", "[PICTURES]", "a=1", "[FORMINFO]", "clientrect=1,2", "[SKINOBJECTS]", "a=1",
                        "[SKINCONTROLS]", "a=1"});
  EXPECT_THROW(data->SetStoredSkin(lines), EConvertError);
  EXPECT_EQ(rec.MessagesOf(owner), (std::vector<uint32_t>{1225}));
  EXPECT_TRUE(data->IsEmpty);

  // Content version 2: only the first message, no error.
  rec.log.clear();
  TMemoryStream content(std::vector<uint8_t>{2, 0, 0, 0});
  TMemoryStream packed;
  DeflateInto(content, packed);
  packed.SetPosition(0);
  compressed->ReadData(packed);
  data->SetCompressedStoredSkin(compressed);
  EXPECT_EQ(rec.MessagesOf(owner), (std::vector<uint32_t>{1225}));
  EXPECT_TRUE(data->IsEmpty);

  // Destroying the skin data sends nothing.
  rec.log.clear();
  delete data;
  EXPECT_TRUE(rec.log.empty());
}

TEST(SkinDataDefinition, BothSkinsLoadFromTheStoredDefinition) {
  RegisterSkinDataClasses();
  QString text;
  {
    // Build the definition the way the skin tools do, then store it.
    TForm design(nullptr);
    design.SetName(QStringLiteral("FormSkins"));
    auto* stored = new TbsStoredSkin(&design);
    stored->SetName(QStringLiteral("bsStoredSkin1"));
    stored->LoadFromSkinFile(SkinIni("daylight"));
    stored->SetFileName(QStringLiteral("SKIN.INI"));
    auto* compressed = new TbsCompressedStoredSkin(&design);
    compressed->SetName(QStringLiteral("bsCompressedStoredSkin1"));
    compressed->CompressFromSkinFile(SkinIni("slate"));
    compressed->SetFileName(QStringLiteral("SKIN.INI"));
    auto* data = new TbsSkinData(&design);
    data->SetName(QStringLiteral("bsSkinData1"));
    data->SetState(csDesigning, true);  // store the references without loading
    data->SetStoredSkin(stored);
    data->SetCompressedStoredSkin(compressed);
    text = WriteComponentToText(&design);
  }
  // Byte blocks as hexadecimal: the zlib stream (78 DA) and the pictures (flag 0, then "BM").
  EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("CompressedData = \\{\\s*78DA"))));
  EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Pictures = \\{\\s*00424D"))));
  EXPECT_TRUE(text.contains(QStringLiteral("IniStrings = (")));
  const qsizetype storedRef = text.indexOf(QStringLiteral("StoredSkin = bsStoredSkin1"));
  const qsizetype compressedRef = text.indexOf(QStringLiteral("CompressedStoredSkin = bsCompressedStoredSkin1"));
  ASSERT_GE(storedRef, 0);
  ASSERT_GT(compressedRef, storedRef);

  TForm other(nullptr);
  TForm form(nullptr);
  Recorder rec;
  rec.Watch(form);
  rec.Watch(other);
  ReadComponentFromText(text, &form);
  auto* data = dynamic_cast<TbsSkinData*>(form.FindComponent(QStringLiteral("bsSkinData1")));
  ASSERT_NE(data, nullptr);
  auto* stored = dynamic_cast<TbsStoredSkin*>(form.FindComponent(QStringLiteral("bsStoredSkin1")));
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(stored->FileName(), QStringLiteral("SKIN.INI"));
  EXPECT_EQ(stored->activepictures.size(), 9u);
  EXPECT_TRUE(stored->inactivepicture.Empty());
  EXPECT_EQ(data->StoredSkin(), stored);
  EXPECT_NE(data->CompressedStoredSkin(), nullptr);

  // Stored first, then compressed: two rounds of the three messages to each form.
  const std::vector<uint32_t> twice = {1225, 1226, 1227, 1225, 1226, 1227};
  EXPECT_EQ(rec.MessagesOf(form), twice);
  EXPECT_EQ(rec.MessagesOf(other), twice);
  ASSERT_FALSE(data->IsEmpty);
  EXPECT_EQ(data->skinname, QStringLiteral("Ledgerly Slate"));
  for (const char* name : {"caption1", "closebutton", "maxbutton", "minbutton", "rollupbutton", "sysmenubutton", "MENUITEM"})
    EXPECT_GE(data->FindObjectIndex(QLatin1String(name)), 0) << name;
  for (const char* name : {"panel", "button", "edit", "stdlabel", "tab", "hupdown", "vupdown"})
    EXPECT_GE(data->FindControlIndex(QLatin1String(name)), 0) << name;

  // Stored back, the definition is the same text.
  EXPECT_EQ(WriteComponentToText(&form).replace(QStringLiteral("object FormSkins"), QString()),
            QString(text).replace(QStringLiteral("object FormSkins"), QString()));
}

TEST(SkinDataDefinition, ADamagedBlockFailsTheRead) {
  RegisterSkinDataClasses();
  TForm form(nullptr);
  const QString text = QStringLiteral(
      "object F: TForm\n"
      "  object C: TbsCompressedStoredSkin\n    CompressedData = {78DA0102030405}\n  end\n"
      "  object D: TbsSkinData\n    CompressedStoredSkin = C\n  end\n"
      "end\n");
  try {
    ReadComponentFromText(text, &form);
    FAIL() << "a damaged block must fail the definition";
  } catch (const Exception& e) {
    EXPECT_TRUE(e.Message().contains(QStringLiteral("compression error"))) << e.Message().toStdString();
  }
}

}  // namespace

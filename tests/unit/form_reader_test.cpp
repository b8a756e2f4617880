// Stored form definitions: reading into registered classes, reference fix-ups, Loaded order,
// writing back, and the failure texts.
#include <gtest/gtest.h>

#include <QStringList>
#include <memory>

#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/Streaming.h"
#include "tests/TestUtil.h"

namespace {

std::vector<QString>* g_loadLog = nullptr;

enum class TMode { mdOff, mdSlow, mdFast };
const TIdentTable& ModeIdents() {
  static const TIdentTable t = {{QStringLiteral("mdOff"), 0}, {QStringLiteral("mdSlow"), 1}, {QStringLiteral("mdFast"), 2}};
  return t;
}
const TIdentTable& OptionIdents() {
  static const TIdentTable t = {{QStringLiteral("opA"), 1}, {QStringLiteral("opB"), 2}, {QStringLiteral("opC"), 4}};
  return t;
}

class TTestItem : public TCollectionItem {
 public:
  using TCollectionItem::TCollectionItem;
  QString Caption;
  int Width = 64;
  TFont Font;
};

class TTestPanel : public TCustomControl {
 public:
  explicit TTestPanel(TComponent* owner)
      : TCustomControl(owner),
        items_(QStringLiteral("TTestItem"), [](TCollection* c) { return std::make_unique<TTestItem>(c); }) {}
  QString ClassName() const override { return QStringLiteral("TTestPanel"); }

  int spacing = 2;
  TMode mode = TMode::mdOff;
  uint32_t options = 0;
  QStringList lines;
  QByteArray data;
  double ratio = 0;
  TTestPanel* buddy = nullptr;
  TFont defaultFont;
  bool buddyAtLoaded = false;
  TNotifyEvent OnChange;
  TCollection& Items() { return items_; }

  void Loaded() override {
    TCustomControl::Loaded();
    buddyAtLoaded = buddy != nullptr;
    if (g_loadLog) g_loadLog->push_back(Name());
  }

 private:
  TCollection items_;
};

class TTestForm : public TForm {
 public:
  explicit TTestForm(TComponent* owner) : TForm(owner) {}
  QString ClassName() const override { return QStringLiteral("TTestForm"); }
  void Loaded() override {
    TForm::Loaded();
    if (g_loadLog) g_loadLog->push_back(Name());
  }
  void PanelClick(TComponent* sender) { clicked.push_back(sender); }
  std::vector<TComponent*> clicked;
};

void RegisterTestClasses() {
  RegisterClass<TTestItem>(QStringLiteral("TTestItem"))
      .String(QStringLiteral("Caption"), [](const TTestItem* i) { return i->Caption; },
              [](TTestItem* i, const QString& s) { i->Caption = s; })
      .Integer(QStringLiteral("Width"), [](const TTestItem* i) { return i->Width; }, [](TTestItem* i, int w) { i->Width = w; }, 64)
      .Font(QStringLiteral("Font"), [](TTestItem* i) { return &i->Font; });
  RegisterClass<TTestPanel>(QStringLiteral("TTestPanel"), QStringLiteral("TCustomControl"))
      .Integer(QStringLiteral("Spacing"), [](const TTestPanel* p) { return p->spacing; }, [](TTestPanel* p, int v) { p->spacing = v; }, 2)
      .Enum(QStringLiteral("Mode"), [](const TTestPanel* p) { return p->mode; }, [](TTestPanel* p, TMode m) { p->mode = m; },
            ModeIdents(), 0)
      .Set(QStringLiteral("Options"), [](const TTestPanel* p) { return p->options; },
           [](TTestPanel* p, uint32_t o) { p->options = o; }, OptionIdents(), 0)
      .StringList(QStringLiteral("Lines"), [](const TTestPanel* p) { return p->lines; },
                  [](TTestPanel* p, const QStringList& l) { p->lines = l; })
      .Binary(QStringLiteral("Data"),
              [](TTestPanel* p, TStream& s) {
                p->data.resize(static_cast<qsizetype>(s.Size()));
                s.ReadBuffer(p->data.data(), s.Size());
              },
              [](TTestPanel* p, TStream& s) {
                s.WriteBuffer(p->data.constData(), p->data.size());
                return !p->data.isEmpty();
              })
      .Float(QStringLiteral("Ratio"), [](const TTestPanel* p) { return p->ratio; }, [](TTestPanel* p, double r) { p->ratio = r; }, 0.0)
      .Reference<TTestPanel>(QStringLiteral("Buddy"), [](const TTestPanel* p) { return p->buddy; },
                             [](TTestPanel* p, TTestPanel* b) { p->buddy = b; })
      .Font(QStringLiteral("DefaultFont"), [](TTestPanel* p) { return &p->defaultFont; })
      .Collection(QStringLiteral("Items"), [](TTestPanel* p) { return &p->Items(); })
      .Event(QStringLiteral("OnChange"), &TTestPanel::OnChange);
  RegisterClass<TTestForm>(QStringLiteral("TTestForm"), QStringLiteral("TForm")).Method(QStringLiteral("PanelClick"), &TTestForm::PanelClick);
}

const char* kDefinition = R"(object TestForm: TTestForm
  Left = 198
  Top = 119
  Caption = #20659#31080' data'
  ClientHeight = 541
  ClientWidth = 813
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  WindowState = wsMaximized
  object Panel1: TTestPanel
    Left = 0
    Top = 0
    Width = 813
    Height = 73
    Align = alTop
    Caption = 'it''s a'#13#10 +
      'panel'
    Color = 13695438
    TabOrder = 0
    Spacing = -7
    Mode = mdFast
    Options = [opA, opC]
    Lines.Strings = ()
    Buddy = Panel2
    Ratio = 38576.626
    DefaultFont.Name = 'Arial'
    DefaultFont.Height = 14
    DefaultFont.Style = [fsBold]
    OnClick = PanelClick
    object Inner: TTestPanel
      Left = 5
      Top = 6
      Width = 7
      Height = 8
      Cursor = crVSplit
      Data = {
        000102FF
        7F}
      Items = <
        item
          Caption = 'first'
          Width = 30
          Font.Name = 'Arial'
        end
        item
          Caption = 'second'
        end>
    end
  end
  object Panel2: TTestPanel
    Left = 0
    Top = 506
    Width = 813
    Height = 35
    Align = alBottom
    Buddy = Panel1
    Options = []
  end
end
)";

QString Definition() {
  QString s = QString::fromUtf8(kDefinition);
  return s.replace(QStringLiteral("    Lines.Strings = ()\n"), QStringLiteral("    Lines = ('a' 'b c' '')\n"));
}

class FormReader : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTestClasses();
    g_loadLog = &log;
  }
  void TearDown() override { g_loadLog = nullptr; }
  std::vector<QString> log;
};

std::unique_ptr<TTestForm> Load(const QString& text) {
  auto f = std::make_unique<TTestForm>(nullptr);
  f->LoadDefinition(text);
  return f;
}

QString ReadFailure(const QString& text) {
  try {
    Load(text);
  } catch (const Exception& e) {
    return e.ClassName() + QStringLiteral(": ") + e.Message();
  }
  return QStringLiteral("no failure");
}

}  // namespace

TEST_F(FormReader, RestoresPropertiesReferencesAndLoadedOrder) {
  auto form = Load(Definition());
  EXPECT_EQ(form->Name(), QStringLiteral("TestForm"));
  EXPECT_EQ(form->Caption(), QString::fromUtf8("傳票 data"));
  EXPECT_EQ(form->ClientWidth(), 813);
  EXPECT_EQ(form->ClientHeight(), 541);
  EXPECT_EQ(form->WindowState(), TWindowState::wsMaximized);
  EXPECT_FALSE(form->ParentFont());

  // Created in definition order, all owned by the root; children get their parents.
  ASSERT_EQ(form->ComponentCount(), 3);
  auto* p1 = dynamic_cast<TTestPanel*>(form->Components(0));
  auto* inner = dynamic_cast<TTestPanel*>(form->Components(1));
  auto* p2 = dynamic_cast<TTestPanel*>(form->Components(2));
  ASSERT_TRUE(p1 && inner && p2);
  EXPECT_EQ(inner->Name(), QStringLiteral("Inner"));
  EXPECT_EQ(p1->Parent(), form.get());
  EXPECT_EQ(inner->Parent(), p1);
  EXPECT_EQ(p2->Parent(), form.get());

  EXPECT_EQ(p1->Caption(), QStringLiteral("it's a\r\npanel"));
  EXPECT_EQ(p1->Color(), 13695438);
  EXPECT_EQ(p1->spacing, -7);
  EXPECT_EQ(p1->mode, TMode::mdFast);
  EXPECT_EQ(p1->options, 5u);
  EXPECT_EQ(p1->lines, (QStringList{QStringLiteral("a"), QStringLiteral("b c"), QString()}));
  EXPECT_DOUBLE_EQ(p1->ratio, 38576.626);
  EXPECT_EQ(p1->defaultFont.Name, QStringLiteral("Arial"));
  EXPECT_EQ(p1->defaultFont.Height, 14);
  EXPECT_EQ(p1->defaultFont.Style, fsBold);
  EXPECT_EQ(inner->Cursor(), crVSplit);
  EXPECT_EQ(inner->data, QByteArray::fromHex("000102FF7F"));
  ASSERT_EQ(inner->Items().Count(), 2);
  auto* it0 = static_cast<TTestItem*>(inner->Items().Items(0));
  auto* it1 = static_cast<TTestItem*>(inner->Items().Items(1));
  EXPECT_EQ(it0->Caption, QStringLiteral("first"));
  EXPECT_EQ(it0->Width, 30);
  EXPECT_EQ(it0->Font.Name, QStringLiteral("Arial"));
  EXPECT_EQ(it1->Width, 64);

  // References, forward and backward, are in place before anything is told it has loaded.
  EXPECT_EQ(p1->buddy, p2);
  EXPECT_EQ(p2->buddy, p1);
  EXPECT_TRUE(p1->buddyAtLoaded);
  EXPECT_TRUE(p2->buddyAtLoaded);
  EXPECT_FALSE(inner->buddyAtLoaded);
  EXPECT_EQ(log, (std::vector<QString>{QStringLiteral("TestForm"), QStringLiteral("Panel1"), QStringLiteral("Inner"),
                                       QStringLiteral("Panel2")}));
  EXPECT_FALSE(p1->IsLoading());
  EXPECT_FALSE(form->IsLoading());

  // Alignment ran once loading finished.
  EXPECT_EQ(p2->BoundsRect(), Bounds(0, 506, 813, 35));
  // Events are bound to the root's handler.
  p1->Click();
  ASSERT_EQ(form->clicked.size(), 1u);
  EXPECT_EQ(form->clicked[0], p1);
  EXPECT_EQ(p1->OnClick.MethodName, QStringLiteral("PanelClick"));
}

TEST_F(FormReader, WritesWhatItReads) {
  auto form = Load(Definition());
  const QString written = WriteComponentToText(form.get());
  // Defaults are left out, everything else is there.
  EXPECT_FALSE(written.contains(QStringLiteral("Spacing = 2")));
  EXPECT_TRUE(written.contains(QStringLiteral("Spacing = -7")));
  EXPECT_TRUE(written.contains(QStringLiteral("OnClick = PanelClick")));
  EXPECT_TRUE(written.contains(QStringLiteral("Buddy = Panel2")));
  EXPECT_TRUE(written.contains(QStringLiteral("Caption = #20659#31080' data'")));
  EXPECT_FALSE(written.contains(QStringLiteral("  Width = 813\n  Height")));  // forms store the client size

  log.clear();
  auto again = Load(written);
  EXPECT_EQ(WriteComponentToText(again.get()), written);
  auto* p1 = dynamic_cast<TTestPanel*>(again->FindComponent(QStringLiteral("panel1")));
  auto* inner = dynamic_cast<TTestPanel*>(again->FindComponent(QStringLiteral("Inner")));
  ASSERT_TRUE(p1 && inner);
  EXPECT_EQ(p1->Caption(), QStringLiteral("it's a\r\npanel"));
  EXPECT_EQ(p1->buddy, again->FindComponent(QStringLiteral("Panel2")));
  EXPECT_DOUBLE_EQ(p1->ratio, 38576.626);
  EXPECT_EQ(inner->data, QByteArray::fromHex("000102FF7F"));
  EXPECT_EQ(inner->Items().Count(), 2);
  EXPECT_EQ(inner->Parent(), p1);
  EXPECT_EQ(log.size(), 4u);
}

TEST_F(FormReader, FormTextSurvivesAWriteAndARead) {
  // Long strings are split, odd characters written as codes; the tree is the same after a trip.
  TFormObject o;
  o.name = QStringLiteral("X");
  o.className = QStringLiteral("TThing");
  QString longText;
  for (int i = 0; i < 150; ++i) longText += QChar(i % 3 == 0 ? u'\'' : i % 3 == 1 ? u'\x7f' : u'\x6a1f');
  o.props.push_back({QStringLiteral("Text"), TFormValue::Str(longText), 0});
  o.props.push_back({QStringLiteral("Big"), TFormValue::Int(-9007199254740993LL), 0});
  o.props.push_back({QStringLiteral("Real"), TFormValue::Real(-1.0 / 3.0), 0});
  o.props.push_back({QStringLiteral("Whole"), TFormValue::Real(3.0), 0});
  QByteArray bytes;
  for (int i = 0; i < 100; ++i) bytes.append(static_cast<char>(i * 7));
  o.props.push_back({QStringLiteral("Block"), TFormValue::Bytes(bytes), 0});
  o.props.push_back({QStringLiteral("Empty"), TFormValue::Bytes(QByteArray()), 0});
  const QString text = FormObjectToText(o);
  const TFormObject back = ParseFormText(text);
  ASSERT_EQ(back.props.size(), o.props.size());
  EXPECT_EQ(back.props[0].value.text, longText);
  EXPECT_EQ(back.props[1].value.integer, -9007199254740993LL);
  EXPECT_EQ(back.props[2].value.kind, TFormValue::Kind::Float);
  EXPECT_EQ(back.props[2].value.real, -1.0 / 3.0);
  EXPECT_EQ(back.props[3].value.kind, TFormValue::Kind::Float);
  EXPECT_EQ(back.props[4].value.bytes, bytes);
  EXPECT_TRUE(back.props[5].value.bytes.isEmpty());
  EXPECT_EQ(FormObjectToText(back), text);
  for (const QString& line : text.split(QLatin1Char('\n'))) EXPECT_LE(line.size(), 90) << line.toStdString();
  // Hexadecimal integers read as 32-bit patterns, as the platform writes colours.
  EXPECT_EQ(ParseFormText(QStringLiteral("object A: T\n C = $FFFFFFFF\n D = $10\nend")).props[0].value.integer, -1);
}

TEST_F(FormReader, FailuresSayWhatAndWhere) {
  const QString base = QStringLiteral("object F: TTestForm\n  object P: TTestPanel\n%1\n  end\nend\n");
  auto fail = [&](const char* body) { return ReadFailure(base.arg(QString::fromUtf8(body))); };
  EXPECT_EQ(fail("    Foo = 1"), QStringLiteral("EReadError: Error reading P.Foo: Property Foo does not exist"));
  EXPECT_EQ(fail("    Font.Size2 = 1"), QStringLiteral("EReadError: Error reading P.Font.Size2: Property Size2 does not exist"));
  EXPECT_EQ(fail("    Mode = mdWarp"), QStringLiteral("EReadError: Error reading P.Mode: Invalid property value"));
  EXPECT_EQ(fail("    Spacing = 'x'"), QStringLiteral("EReadError: Error reading P.Spacing: Invalid property value"));
  EXPECT_EQ(fail("    Spacing = 4294967296"), QStringLiteral("EReadError: Error reading P.Spacing: Invalid property value"));
  EXPECT_EQ(fail("    Options = [opA, opZ]"), QStringLiteral("EReadError: Error reading P.Options: Invalid property value"));
  EXPECT_EQ(fail("    Buddy = Nobody"), QStringLiteral("EReadError: Error reading P.Buddy: Component Nobody not found"));
  EXPECT_EQ(fail("    Buddy = F"), QStringLiteral("EReadError: Error reading P.Buddy: Invalid property value"));
  EXPECT_EQ(fail("    OnClick = Missing"),
            QStringLiteral("EReadError: Error reading P.OnClick: Method Missing not found in TTestForm"));
  EXPECT_EQ(fail("    object Q: TNope\n    end"), QStringLiteral("EClassNotFound: Class TNope not found"));
  EXPECT_EQ(fail("    object P: TTestPanel\n    end"), QStringLiteral("EComponentError: A component named P already exists"));
  EXPECT_EQ(fail("    Caption = 'open"), QStringLiteral("EParserError: Unterminated string on line 3"));
  EXPECT_EQ(fail("    Data = {0A0}"), QStringLiteral("EParserError: Invalid binary value on line 3"));
  EXPECT_EQ(fail("    Data = {0AZZ}"), QStringLiteral("EParserError: Invalid binary value on line 3"));
  EXPECT_EQ(fail("    Caption = #70000"), QStringLiteral("EParserError: Invalid character code on line 3"));
  EXPECT_EQ(fail("    Caption = 'a' +"), QStringLiteral("EParserError: String expected on line 4"));
  EXPECT_EQ(fail("    Spacing ="), QStringLiteral("EParserError: Property value expected on line 4"));
  EXPECT_EQ(fail("    Items = <\n      item\n        Width = 1\n      end"), QStringLiteral("EParserError: 'item' expected on line 7"));
  EXPECT_EQ(ReadFailure(QStringLiteral("object F: TTestForm\n  Left = 1\n")), QStringLiteral("EParserError: 'end' expected on line 3"));
  EXPECT_EQ(ReadFailure(QStringLiteral("object F: TTestForm\nend\nend")), QStringLiteral("EParserError: End of text expected on line 3"));
  EXPECT_EQ(ReadFailure(QStringLiteral("object F: TOther\nend")),
            QStringLiteral("EReadError: Invalid stream format: class TTestForm expected, TOther found"));
  // Deep nesting is refused instead of exhausting the stack.
  QString deep = QStringLiteral("object F: TTestForm\n Lines = ");
  for (int i = 0; i < 5000; ++i) deep += QLatin1Char('(');
  EXPECT_TRUE(ReadFailure(deep).startsWith(QStringLiteral("EParserError: Nesting too deep on line 2")));
}

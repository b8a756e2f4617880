// The skinned edit on real offscreen widgets: the frame drawn from the real skins (normal and
// active strips, the height the skin fixes, the client inset, the text colours), the plain
// look without a skin, the skin change messages, text editing through the one line edit,
// read-only, the password character, the frame button and what a screen reader sees.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <cstdlib>

#include "platform/Colors.h"
#include "platform/Forms.h"
#include "skin/controls/bsSkinEdit.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"
#include "tests/TestUtil.h"

namespace {

// Digits and letters, as the keyboard sends them.
void Type(QWidget* w, const QString& text) {
  for (QChar c : text) {
    const int key = c.isDigit() ? Qt::Key_0 + c.digitValue() : Qt::Key_A + (c.toUpper().unicode() - u'A');
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &release);
  }
}

void Key(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, mods);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, mods);
  QApplication::sendEvent(w, &release);
}

void SendMouse(QWidget* w, QEvent::Type type, QPoint p) {
  const Qt::MouseButtons held =
      type == QEvent::MouseButtonRelease || type == QEvent::MouseMove ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
  const Qt::MouseButton b = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), b, held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

// Sends a mouse event to whichever widget of the edit lies under the window point `p`, as Qt
// routes a real one (the line edit over the text box, the edit's window over the frame).
void MouseAt(TWinControl* c, QEvent::Type type, QPoint p) {
  QWidget* w = c->Handle();
  if (QWidget* child = w->childAt(p)) {
    SendMouse(child, type, child->mapFrom(w, p));
    return;
  }
  SendMouse(w, type, p);
}

// A click as the window system gives it (focus follows it) on the widget under `p`.
void ClickAt(TWinControl* c, QPoint p) {
  QWidget* w = c->Handle();
  QWidget* child = w->childAt(p);
  if (child) QTest::mouseClick(child, Qt::LeftButton, Qt::NoModifier, child->mapFrom(w, p));
  else QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, p);
}

// Where the line edit lies in the edit's window.
TRect EditorBox(TbsSkinEdit* e) {
  const QRect g = e->Editor()->geometry();
  return TRect(g.x(), g.y(), g.x() + g.width(), g.y() + g.height());
}

QImage Grab(TWinControl* c) { return c->Handle()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
int32_t Pixel(const QImage& img, int x, int y) { return FromQColor(img.pixelColor(x, y)); }
int32_t Pixel(TWinControl* c, int x, int y) { return Pixel(Grab(c), x, y); }

int ColorDistance(TColor a, TColor b) {
  const int32_t x = ColorToRGB(a), y = ColorToRGB(b);
  int d = 0;
  for (int shift : {0, 8, 16}) d += std::abs(((x >> shift) & 0xFF) - ((y >> shift) & 0xFF));
  return d;
}

QString SkinIni(const char* folder) {
  return SourceDir() + QStringLiteral("/skins/%1/SKIN.INI").arg(QLatin1String(folder));
}

void MouseEnter(TbsSkinEdit* e) { e->Perform(CM_MOUSEENTER, 0, reinterpret_cast<intptr_t>(static_cast<TControl*>(e))); }
void MouseLeave(TbsSkinEdit* e) { e->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<intptr_t>(static_cast<TControl*>(e))); }

struct Fixture {
  TForm form{nullptr};
  TbsSkinEdit* edit;
  TbsSkinData* data = nullptr;
  int changes = 0;
  Fixture() {
    form.SetBounds(0, 0, 400, 100);
    edit = new TbsSkinEdit(&form);
    edit->SetParent(&form);
    edit->SetBounds(83, 13, 121, 20);
    edit->OnChange = [this](TComponent*) { ++changes; };
  }
  // Loads a skin folder into a skin data component of the form (the edit is told as the
  // frame component tells its controls).
  void LoadSkin(const char* folder) { LoadSkinFile(SkinIni(folder)); }
  void LoadSkinFile(const QString& ini) {
    auto* stored = new TbsStoredSkin(&form);
    stored->LoadFromSkinFile(ini);
    if (!data) {
      data = new TbsSkinData(&form);
      data->SetStoredSkin(stored);
      return;
    }
    const auto w = reinterpret_cast<intptr_t>(data);
    edit->Perform(SkinMessageBeforeChange, w, SkinMessageLParam);
    data->LoadFromStoredSkin(*stored);
    edit->Perform(SkinMessageChanged, w, SkinMessageLParam);
    edit->Perform(SkinMessageChangedAfter, w, SkinMessageLParam);
  }
  void Show() {
    form.Show();
    QApplication::setActiveWindow(form.Handle());
    QApplication::processEvents();
  }
  void Unfocus() {
    form.Handle()->setFocus();
    QApplication::processEvents();
    ASSERT_FALSE(edit->Focused());
  }
  const TBitmap& Picture() const { return *data->activepictures.at(1).get(); }
};

// The frame rows (above and below the text) equal the skin strip `s` stretched to the width:
// the fixed ends copied, the middle tiled. Only columns below `upTo` are checked when given.
void ExpectFrameFromStrip(const QImage& shot, const TBitmap& picture, const TRect& s, int left, int right,
                          int upTo = -1) {
  const int w = shot.width();
  const int middle = s.Width() - left - right;
  for (int y : {0, 1, 2, s.Height() - 2, s.Height() - 1}) {
    for (int x = 0; x < (upTo < 0 ? w : upTo); ++x) {
      int sx;
      if (x < left)
        sx = x;
      else if (x >= w - right)
        sx = s.Width() - (w - x);
      else
        sx = left + (x - left) % middle;
      ASSERT_EQ(Pixel(shot, x, y), FromQColor(picture.Image().pixelColor(s.Left + sx, s.Top + y)))
          << "at " << x << "," << y;
    }
  }
}

// The colour of the text: the pixel of the text box that differs most from the empty box
// (read-only meanwhile, so that no caret is drawn).
TColor TextColor(TbsSkinEdit* e, const QString& text) {
  const bool readOnly = e->ReadOnly();
  e->SetReadOnly(true);
  e->SetText(QString());
  QApplication::processEvents();
  const QImage empty = Grab(e);
  e->SetText(text);
  QApplication::processEvents();
  const QImage full = Grab(e);
  const TRect box = e->TextBox();
  TColor best = 0;
  int bestDistance = -1;
  for (int y = box.Top; y < box.Bottom; ++y)
    for (int x = box.Left; x < box.Right; ++x) {
      const int d = ColorDistance(Pixel(full, x, y), Pixel(empty, x, y));
      if (d > bestDistance) {
        bestDistance = d;
        best = Pixel(full, x, y);
      }
    }
  e->SetReadOnly(readOnly);
  return best;
}

// `got` is nearer to `want` than to every other candidate.
::testing::AssertionResult NearestOf(TColor got, TColor want, std::initializer_list<TColor> others) {
  for (TColor o : others)
    if (ColorDistance(got, o) <= ColorDistance(got, want))
      return ::testing::AssertionFailure()
             << "text colour " << std::hex << got << " is nearer " << o << " than " << want;
  return ::testing::AssertionSuccess();
}

TEST(SkinEdit, DefaultsAsCreated) {
  TForm form(nullptr);
  TbsSkinEdit e(&form);
  EXPECT_EQ(e.Height(), 20);
  EXPECT_EQ(e.DefaultHeight(), 20);
  EXPECT_EQ(e.DefaultWidth(), 0);
  EXPECT_EQ(e.SkinDataName(), QStringLiteral("edit"));
  EXPECT_EQ(e.SectionIndex(), -1);
  EXPECT_EQ(e.Font().Name, QStringLiteral("Arial"));
  EXPECT_EQ(e.Font().Height, 14);
  EXPECT_EQ(e.DefaultFont().Name, QStringLiteral("Arial"));
  EXPECT_FALSE(e.ParentFont());
  EXPECT_TRUE(e.TabStop());
  EXPECT_TRUE(e.TransparentMode());
  EXPECT_FALSE(e.ReadOnly());
  EXPECT_TRUE(e.EditPasswordChar().isNull());
  EXPECT_EQ(e.Alignment(), taLeftJustify);
}

TEST(SkinEdit, OneLineEditCarriesTypingAndText) {
  Fixture f;
  f.edit->SetText(QStringLiteral("A0"));
  EXPECT_EQ(f.changes, 1);
  f.Show();
  // One line edit carries the text, inside the edit's window and on its client area.
  QLineEdit* le = f.edit->Editor();
  ASSERT_NE(le, nullptr);
  EXPECT_EQ(le->parentWidget(), f.edit->Handle());
  EXPECT_EQ(f.edit->Handle()->findChildren<QLineEdit*>().size(), 1);
  EXPECT_EQ(EditorBox(f.edit), f.edit->EditClientRect());
  EXPECT_EQ(le->text(), QStringLiteral("A0"));
  f.edit->SetFocus();
  QApplication::processEvents();
  EXPECT_TRUE(f.edit->Focused());
  le->end(false);
  Type(le, QStringLiteral("01"));
  EXPECT_EQ(f.edit->Text(), QStringLiteral("A001"));
  EXPECT_EQ(f.changes, 3);
  f.edit->SetText(QStringLiteral("it's"));
  EXPECT_EQ(le->text(), QStringLiteral("it's"));
  EXPECT_EQ(f.changes, 4);

  f.edit->SetReadOnly(true);
  Type(le, QStringLiteral("x"));
  Key(le, Qt::Key_Backspace);
  Key(le, Qt::Key_Home);
  Key(le, Qt::Key_Delete);
  Key(le, Qt::Key_V, Qt::ControlModifier);
  Key(le, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(f.edit->Text(), QStringLiteral("it's"));
  // Selecting and copying still work.
  le->selectAll();
  Key(le, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("it's"));
  f.edit->SetReadOnly(false);
  Key(le, Qt::Key_End);
  Key(le, Qt::Key_Backspace);
  EXPECT_EQ(f.edit->Text(), QStringLiteral("it'"));

  // The text survives a new window.
  f.edit->RecreateWnd();
  EXPECT_EQ(f.edit->Text(), QStringLiteral("it'"));
  ASSERT_NE(f.edit->Editor(), nullptr);
  EXPECT_EQ(f.edit->Editor()->text(), QStringLiteral("it'"));
}

TEST(SkinEdit, PlainFrameInsetAndActiveLook) {
  Fixture f;
  f.Show();
  // The text sits inside a 2-pixel frame.
  EXPECT_EQ(f.edit->EditClientRect(), TRect(2, 2, 119, 18));
  EXPECT_EQ(EditorBox(f.edit), f.edit->TextBox());
  f.Unfocus();
  // Idle: button face outside, shadow inside; white behind the text.
  EXPECT_EQ(Pixel(f.edit, 0, 0), ColorToRGB(clBtnFace));
  EXPECT_EQ(Pixel(f.edit, 1, 1), ColorToRGB(clBtnShadow));
  EXPECT_EQ(Pixel(f.edit, 60, 10), ColorToRGB(clWhite));
  // Hover: shadow outside, face inside; leaving goes back.
  MouseEnter(f.edit);
  EXPECT_TRUE(f.edit->MouseInside());
  EXPECT_EQ(Pixel(f.edit, 0, 0), ColorToRGB(clBtnShadow));
  EXPECT_EQ(Pixel(f.edit, 1, 1), ColorToRGB(clBtnFace));
  MouseLeave(f.edit);
  EXPECT_EQ(Pixel(f.edit, 0, 0), ColorToRGB(clBtnFace));
  // Focused: the active look stays.
  f.edit->SetFocus();
  QApplication::processEvents();
  ASSERT_TRUE(f.edit->Focused());
  EXPECT_EQ(Pixel(f.edit, 0, 0), ColorToRGB(clBtnShadow));
  // Without a section the text is DefaultFont's, in the window text colour.
  EXPECT_TRUE(NearestOf(TextColor(f.edit, QStringLiteral("HHHH")), clWindowText, {clWhite, clGrayText}));
  // DefaultHeight applies without a section.
  f.edit->SetDefaultHeight(25);
  EXPECT_EQ(f.edit->Height(), 25);
}

TEST(SkinEdit, SlateFrameFromTheSkinStripsAndItsHeight) {
  Fixture f;
  f.LoadSkin("slate");
  f.edit->SetSkinData(f.data);
  f.Show();
  ASSERT_NE(f.edit->SectionIndex(), -1);
  // "skinrect" 65 x 22, ends 3 and 3 pixels, client rectangle 3,3,62,20.
  EXPECT_EQ(f.edit->Height(), 22);
  EXPECT_EQ(f.edit->Width(), 121);
  EXPECT_EQ(f.edit->LeftEdgeWidth(), 3);
  EXPECT_EQ(f.edit->RightEdgeWidth(), 3);
  EXPECT_EQ(f.edit->TextBox(), TRect(3, 3, 118, 20));
  EXPECT_EQ(f.edit->EditClientRect(), TRect(3, 3, 118, 20));
  EXPECT_EQ(EditorBox(f.edit), TRect(3, 3, 118, 20));
  // The skin fixes the height whatever is asked; the width follows.
  f.edit->SetBounds(83, 13, 200, 40);
  EXPECT_EQ(f.edit->Height(), 22);
  EXPECT_EQ(f.edit->Width(), 200);
  f.edit->SetDefaultHeight(30);
  EXPECT_EQ(f.edit->Height(), 22);
  EXPECT_EQ(f.edit->TextBox(), TRect(3, 3, 197, 20));

  f.Unfocus();
  const TRect normal = f.edit->SkinRect(), active = f.edit->ActiveSkinRect();
  EXPECT_EQ(normal, TRect(0, 48, 65, 70));
  EXPECT_EQ(active, TRect(0, 70, 65, 92));
  ExpectFrameFromStrip(Grab(f.edit), f.Picture(), normal, 3, 3);
  // Hovering switches to the active strip, leaving back.
  MouseEnter(f.edit);
  ExpectFrameFromStrip(Grab(f.edit), f.Picture(), active, 3, 3);
  MouseLeave(f.edit);
  ExpectFrameFromStrip(Grab(f.edit), f.Picture(), normal, 3, 3);
  // A focused edit keeps the active strip, also when the mouse leaves.
  f.edit->SetFocus();
  QApplication::processEvents();
  ASSERT_TRUE(f.edit->Focused());
  ExpectFrameFromStrip(Grab(f.edit), f.Picture(), active, 3, 3);
  MouseEnter(f.edit);
  MouseLeave(f.edit);
  ExpectFrameFromStrip(Grab(f.edit), f.Picture(), active, 3, 3);
}

TEST(SkinEdit, TextColoursFollowTheLook) {
  Fixture f;
  f.LoadSkin("slate");
  f.edit->SetSkinData(f.data);
  f.Show();
  f.Unfocus();
  const TColor normal = f.edit->FontColor(), active = f.edit->ActiveFontColor(), disabled = f.edit->DisabledFontColor();
  EXPECT_EQ(normal, 14209224);
  EXPECT_EQ(active, 15792336);
  EXPECT_EQ(disabled, 7368816);
  const QString text = QStringLiteral("HHHH0001");
  // Enabled text is drawn in the section's colour, never greyed.
  EXPECT_EQ(f.edit->Font().Color, normal);
  EXPECT_TRUE(NearestOf(TextColor(f.edit, text), normal, {active, disabled}));
  MouseEnter(f.edit);
  EXPECT_EQ(f.edit->Font().Color, active);
  MouseLeave(f.edit);
  EXPECT_EQ(f.edit->Font().Color, normal);
  f.edit->SetFocus();
  QApplication::processEvents();
  EXPECT_EQ(f.edit->Font().Color, active);
  EXPECT_TRUE(NearestOf(TextColor(f.edit, text), active, {normal, disabled}));
  f.Unfocus();
  EXPECT_EQ(f.edit->Font().Color, normal);

  // The daylight skin's dark text on a light frame, and its disabled grey with the password
  // character once per character.
  f.LoadSkin("daylight");
  ASSERT_NE(f.edit->SectionIndex(), -1);
  EXPECT_EQ(f.edit->FontColor(), 2105376);
  EXPECT_EQ(f.edit->Font().Color, 2105376);
  EXPECT_TRUE(NearestOf(TextColor(f.edit, text), 2105376, {6303760, 9474192}));
  f.edit->SetEditPasswordChar(u'#');
  f.edit->SetEnabled(false);
  EXPECT_EQ(f.edit->Editor()->displayText(), QString(text.size(), u'#'));
  EXPECT_TRUE(NearestOf(TextColor(f.edit, text), 9474192, {2105376, 6303760}));
}

TEST(SkinEdit, SkinLoadedAfterItsReferenceAppliesWhenLoadingEnds) {
  // As a form definition is read: the reference comes first, the skin later, then Loaded.
  Fixture f;
  auto* data = new TbsSkinData(&f.form);
  f.edit->SetSkinData(data);
  EXPECT_EQ(f.edit->Height(), 20);
  auto* stored = new TbsStoredSkin(&f.form);
  stored->LoadFromSkinFile(SkinIni("slate"));
  data->SetStoredSkin(stored);
  EXPECT_EQ(f.edit->Height(), 20);
  f.edit->Loaded();
  EXPECT_NE(f.edit->SectionIndex(), -1);
  EXPECT_EQ(f.edit->Height(), 22);
  EXPECT_EQ(f.edit->Font().Color, 14209224);
}

TEST(SkinEdit, SkinChangeRepaintsAndAbsentSectionFallsBack) {
  Fixture f;
  f.LoadSkin("slate");
  f.edit->SetSkinData(f.data);
  f.Show();
  f.Unfocus();
  ExpectFrameFromStrip(Grab(f.edit), f.Picture(), TRect(0, 48, 65, 70), 3, 3);
  // The daylight skin replaces it: new strips and colours, same height 22.
  f.LoadSkin("daylight");
  EXPECT_EQ(f.edit->SkinRect(), TRect(0, 0, 65, 22));
  EXPECT_EQ(f.edit->Height(), 22);
  ExpectFrameFromStrip(Grab(f.edit), *f.data->activepictures.at(3).get(), TRect(0, 0, 65, 22), 3, 3);
  // Before the change the section is forgotten.
  f.edit->Perform(SkinMessageBeforeChange, reinterpret_cast<intptr_t>(f.data), SkinMessageLParam);
  EXPECT_EQ(f.edit->SectionIndex(), -1);
  // A name in other letter case finds nothing: the plain look, DefaultFont and DefaultHeight.
  f.edit->SetSkinDataName(QStringLiteral("Edit"));
  f.edit->ApplySkinData();
  EXPECT_EQ(f.edit->SectionIndex(), -1);
  EXPECT_EQ(f.edit->Height(), 20);
  EXPECT_EQ(f.edit->Font().Color, clWindowText);
  EXPECT_EQ(Pixel(f.edit, 0, 0), ColorToRGB(clBtnFace));
  EXPECT_EQ(EditorBox(f.edit), TRect(2, 2, 119, 18));
  // The skin data going away leaves the plain look too.
  f.edit->SetSkinDataName(QStringLiteral("edit"));
  f.edit->ApplySkinData();
  EXPECT_NE(f.edit->SectionIndex(), -1);
  delete f.data;
  f.data = nullptr;
  EXPECT_EQ(f.edit->SkinData(), nullptr);
  EXPECT_EQ(Pixel(f.edit, 0, 0), ColorToRGB(clBtnFace));
}

TEST(SkinEdit, FrameButtonFiresAndFocuses) {
  Fixture f;
  int clicks = 0;
  f.edit->OnButtonClick = [&](TComponent*) { ++clicks; };
  f.edit->SetButtonMode(true);
  f.Show();
  EXPECT_EQ(f.edit->TextBox(), TRect(2, 2, 121 - 22, 18));
  EXPECT_EQ(f.edit->ButtonArea(), TRect(101, 0, 121, 20));
  EXPECT_EQ(EditorBox(f.edit), TRect(2, 2, 99, 18));
  TbsSkinEdit* w = f.edit;
  MouseAt(w, QEvent::MouseMove, QPoint(110, 10));
  EXPECT_TRUE(f.edit->ButtonHot());
  EXPECT_EQ(Pixel(f.edit, 110, 10), RGBColor(182, 189, 210));
  MouseAt(w, QEvent::MouseButtonPress, QPoint(110, 10));
  EXPECT_TRUE(f.edit->ButtonPressed());
  EXPECT_EQ(Pixel(f.edit, 110, 10), RGBColor(133, 147, 181));
  MouseAt(w, QEvent::MouseButtonRelease, QPoint(110, 10));
  EXPECT_FALSE(f.edit->ButtonPressed());
  EXPECT_EQ(clicks, 1);
  QApplication::processEvents();
  EXPECT_TRUE(f.edit->Focused());
  // Over the text the button is no longer hot and a click is the line edit's.
  MouseAt(w, QEvent::MouseMove, QPoint(30, 10));
  EXPECT_FALSE(f.edit->ButtonHot());
  MouseAt(w, QEvent::MouseButtonPress, QPoint(30, 10));
  MouseAt(w, QEvent::MouseButtonRelease, QPoint(30, 10));
  EXPECT_EQ(clicks, 1);
}

// The daylight skin with a "buttonedit" section on its edit picture: the right end of 23
// pixels holds the button (skin coordinates 44,0-63,22), the hot look comes from the active
// strip of the picture and stands for the pressed look too.
QString DaylightWithButtonEdit(const QTemporaryDir& dir) {
  const QDir from(SourceDir() + QStringLiteral("/skins/daylight"));
  for (const QString& name : from.entryList(QDir::Files)) QFile::copy(from.filePath(name), dir.filePath(name));
  QFile f(dir.filePath(QStringLiteral("SKIN.INI")));
  if (!f.open(QIODevice::ReadWrite)) return QString();
  QString text = QString::fromLatin1(f.readAll());
  // One more control entry after the skin's own ones.
  const QRegularExpressionMatch count =
      QRegularExpression(QStringLiteral("\\[SKINCONTROLS\\]\\r?\\ncount=(\\d+)")).match(text);
  if (!count.hasMatch()) return QString();
  const int n = count.captured(1).toInt();
  text.replace(count.capturedStart(), count.capturedLength(),
               QStringLiteral("[SKINCONTROLS]\r\ncount=%1\r\n%2=buttonedit:edit").arg(n + 1).arg(n));
  text += QStringLiteral(
      "\r\n[buttonedit]\r\npictureindex=3\r\nmaskpictureindex=-1\r\nskinrect=0,0,65,22\r\n"
      "lefttoppoint=3,0\r\nrighttoppoint=42,0\r\nleftbottompoint=0,0\r\nrightbottompoint=0,0\r\n"
      "clientrect=3,3,42,20\r\nactiveskinrect=0,22,65,44\r\nfontname=Arial\r\nfontstyle=\r\n"
      "fontheight=14\r\nfontcolor=2105376\r\ndisabledfontcolor=9474192\r\nactivefontcolor=6303760\r\n"
      "buttonrect=44,0,63,22\r\nactivebuttonrect=44,22,63,44\r\ndownbuttonrect=0,0,0,0\r\n"
      "unenabledbuttonrect=0,0,0,0\r\n");
  f.resize(0);
  f.write(text.toLatin1());
  return dir.filePath(QStringLiteral("SKIN.INI"));
}

TEST(SkinEdit, SkinnedFrameButton) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  Fixture f;
  f.LoadSkinFile(DaylightWithButtonEdit(dir));
  int clicks = 0;
  f.edit->OnButtonClick = [&](TComponent*) { ++clicks; };
  f.edit->SetSkinDataName(QStringLiteral("buttonedit"));
  f.edit->SetButtonMode(true);
  f.edit->SetSkinData(f.data);
  f.Show();
  f.Unfocus();
  ASSERT_NE(f.edit->SectionIndex(), -1);
  EXPECT_EQ(f.edit->RightEdgeWidth(), 23);
  // The button keeps its place in the right end; the text ends where the client area does.
  EXPECT_EQ(f.edit->ButtonArea(), TRect(100, 0, 119, 22));
  EXPECT_EQ(f.edit->TextBox(), TRect(3, 3, 121 + 42 - 65, 20));
  EXPECT_EQ(EditorBox(f.edit), f.edit->TextBox());
  const TBitmap& pic = *f.data->activepictures.at(3).get();
  auto expectButton = [&](int srcLeft, int srcTop) {
    const QImage shot = Grab(f.edit);
    for (int y = 0; y < 22; ++y)
      for (int x = 100; x < 119; ++x)
        ASSERT_EQ(Pixel(shot, x, y), FromQColor(pic.Image().pixelColor(srcLeft + x - 100, srcTop + y)))
            << "at " << x << "," << y;
  };
  // Normal: the button as the frame strip has it; hot and pressed: the active button piece.
  expectButton(44, 0);
  TbsSkinEdit* w = f.edit;
  MouseAt(w, QEvent::MouseMove, QPoint(110, 10));
  EXPECT_TRUE(f.edit->ButtonHot());
  // The mouse is not inside (no enter came): the frame stays normal around the hot button.
  ExpectFrameFromStrip(Grab(f.edit), pic, TRect(0, 0, 65, 22), 3, 23, 98);
  expectButton(44, 22);
  MouseAt(w, QEvent::MouseButtonPress, QPoint(110, 10));
  EXPECT_TRUE(f.edit->ButtonPressed());
  expectButton(44, 22);
  MouseAt(w, QEvent::MouseButtonRelease, QPoint(110, 10));
  EXPECT_EQ(clicks, 1);
  QApplication::processEvents();
  EXPECT_TRUE(f.edit->Focused());
  MouseLeave(f.edit);
  EXPECT_FALSE(f.edit->ButtonHot());
}

TEST(SkinEdit, PasswordCharacterAndAccessibleText) {
  Fixture f;
  f.edit->SetText(QStringLiteral("secret"));
  f.edit->SetEditPasswordChar(u'*');
  f.Show();
  EXPECT_EQ(f.edit->Editor()->echoMode(), QLineEdit::Password);
  EXPECT_EQ(f.edit->Editor()->displayText(), QString(6, u'*'));
  EXPECT_EQ(f.edit->Text(), QStringLiteral("secret"));
  f.edit->SetEditPasswordChar(QChar());
  EXPECT_EQ(f.edit->Editor()->displayText(), QStringLiteral("secret"));
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(f.edit->Editor());
  ASSERT_NE(iface, nullptr);
  EXPECT_EQ(iface->role(), QAccessible::EditableText);
  EXPECT_NE(iface->editableTextInterface(), nullptr);
}

// The bounding box of the pixels of `shot` inside `area` that differ from `empty`.
TRect InkBox(const QImage& shot, const QImage& empty, const TRect& area) {
  TRect box(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN);
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x)
      if (shot.pixel(x, y) != empty.pixel(x, y)) {
        box.Left = std::min(box.Left, x);
        box.Top = std::min(box.Top, y);
        box.Right = std::max(box.Right, x + 1);
        box.Bottom = std::max(box.Bottom, y + 1);
      }
  return box;
}

TEST(SkinEdit, PasswordEditKeepsTheSkinsLook) {
  // The password character must not bring the platform's own look back: on the dark slate
  // skin a password edit shows the same frame and box as any other, its text in the skin's colour.
  Fixture f;
  f.LoadSkin("slate");
  f.edit->SetSkinData(f.data);
  f.edit->SetText(QStringLiteral("HHHH"));
  f.Show();
  f.Unfocus();
  const QImage plain = Grab(f.edit);
  f.edit->SetEditPasswordChar(u'*');
  QApplication::processEvents();
  const QImage hidden = Grab(f.edit);
  const TRect box = f.edit->TextBox();
  // The right half of the box holds no text in either picture.
  for (int y = box.Top; y < box.Bottom; ++y)
    for (int x = box.Left + box.Width() / 2; x < box.Right; ++x)
      ASSERT_EQ(Pixel(hidden, x, y), Pixel(plain, x, y)) << "at " << x << "," << y;
  EXPECT_TRUE(NearestOf(TextColor(f.edit, QStringLiteral("HHHH")), f.edit->FontColor(),
                        {f.edit->ActiveFontColor(), f.edit->DisabledFontColor(), clWhite}));
  // Focused and again without focus, the box keeps the skin's colour.
  f.edit->SetFocus();
  QApplication::processEvents();
  f.Unfocus();
  const QImage again = Grab(f.edit);
  EXPECT_EQ(Pixel(again, box.Right - 2, box.Top + 2), Pixel(plain, box.Right - 2, box.Top + 2));
  EXPECT_EQ(f.edit->Editor()->displayText(), QStringLiteral("****"));
  // Another character takes the place of the first; a skin applied again keeps it.
  f.edit->SetEditPasswordChar(u'#');
  EXPECT_EQ(f.edit->Editor()->displayText(), QStringLiteral("####"));
  f.LoadSkin("slate");
  EXPECT_EQ(f.edit->Editor()->displayText(), QStringLiteral("####"));
}

TEST(SkinEdit, FrameIsInertAndOnlyTheTextBoxTakesClicks) {
  Fixture f;
  f.LoadSkin("slate");
  f.edit->SetSkinData(f.data);
  f.edit->SetText(QStringLiteral("A0001"));
  f.Show();
  f.Unfocus();
  QWidget* window = f.edit->Handle();
  // The line edit covers the text box exactly: the frame is the edit's window alone.
  EXPECT_EQ(window->childAt(QPoint(1, 10)), nullptr);
  EXPECT_EQ(window->childAt(QPoint(f.edit->Width() - 2, 10)), nullptr);
  EXPECT_EQ(window->childAt(QPoint(60, 21)), nullptr);
  EXPECT_EQ(window->childAt(QPoint(3, 3)), f.edit->Editor());
  EXPECT_EQ(window->childAt(QPoint(117, 19)), f.edit->Editor());
  // The frame answers the hit test as no part of the text.
  EXPECT_EQ(f.edit->HitTest(TPoint(1, 10)), HTNOWHERE);
  EXPECT_EQ(f.edit->HitTest(TPoint(3, 3)), HTCLIENT);
  // A click on the frame neither focuses the edit nor moves the caret; one on the text does.
  f.edit->SetAutoSelect(false);
  f.edit->Editor()->setCursorPosition(2);
  int parentDowns = 0;
  f.form.OnMouseDown = [&](TComponent*, TMouseButton, TShiftState, int, int) { ++parentDowns; };
  // Clicks as the window system delivers them.
  for (QPoint p : {QPoint(1, 10), QPoint(f.edit->Width() - 1, 10), QPoint(60, 21)}) ClickAt(f.edit, p);
  QApplication::processEvents();
  EXPECT_FALSE(f.edit->Focused());
  EXPECT_EQ(f.edit->Editor()->cursorPosition(), 2);
  EXPECT_EQ(parentDowns, 0);
  ClickAt(f.edit, QPoint(4, 10));
  QApplication::processEvents();
  EXPECT_TRUE(f.edit->Focused());
  EXPECT_EQ(f.edit->Editor()->cursorPosition(), 0);
}

TEST(SkinEdit, TextSitsAtTheTopLeftOfTheTextBoxAndDisabledTextIsDrawnByTheEdit) {
  Fixture f;
  f.LoadSkin("daylight");
  f.edit->SetSkinData(f.data);
  f.edit->SetReadOnly(true);  // no caret in the shots
  f.Show();
  f.Unfocus();
  const TRect box = f.edit->TextBox();
  ASSERT_EQ(box, TRect(3, 3, 118, 20));
  f.edit->SetText(QString());
  QApplication::processEvents();
  const QImage empty = Grab(f.edit);
  const QString text = QStringLiteral("HHHH");
  f.edit->SetText(text);
  QApplication::processEvents();
  const QImage shot = Grab(f.edit);
  const TRect ink = InkBox(shot, empty, box);
  ASSERT_LT(ink.Left, ink.Right) << "no text drawn";
  // The same text drawn by the canvas with its cell at the client's top-left plus the left
  // margin of 2 pixels: the enabled text lies exactly there.
  QImage reference = empty.copy();
  {
    TCanvas c(&reference);
    c.Font = f.edit->Font();
    c.Brush.Style = TBrushStyle::bsClear;
    c.TextOut(box.Left + 2, box.Top, text);
  }
  EXPECT_EQ(ink, InkBox(reference, empty, box));

  // Disabled: the edit's own drawing, in the disabled colour, TextBox.left to the right of the
  // client's left edge and TextBox.top - 2 below its top (the box read in client coordinates).
  f.edit->SetEnabled(false);
  QApplication::processEvents();
  const QImage disabledEmpty = [&] {
    f.edit->SetText(QString());
    QApplication::processEvents();
    return Grab(f.edit);
  }();
  f.edit->SetText(text);
  QApplication::processEvents();
  const QImage disabled = Grab(f.edit);
  const TRect dink = InkBox(disabled, disabledEmpty, box);
  ASSERT_LT(dink.Left, dink.Right) << "no disabled text drawn";
  EXPECT_EQ(dink.Left, ink.Left + box.Left - 2);
  EXPECT_EQ(dink.Top, ink.Top + box.Top - 2);
  EXPECT_EQ(dink.Width(), ink.Width());
  EXPECT_TRUE(NearestOf(Pixel(disabled, dink.Left, dink.Top + 1), 9474192, {2105376, 6303760}));
  // With a password character each character shows as that character, also disabled.
  f.edit->SetEditPasswordChar(u'#');
  QApplication::processEvents();
  const QImage hidden = Grab(f.edit);
  QImage want = disabledEmpty.copy();
  {
    TCanvas c(&want);
    TFont font = f.edit->Font();
    font.Color = 9474192;
    c.Font = font;
    c.Brush.Style = TBrushStyle::bsClear;
    c.TextRect(TRect(box.Left * 2, box.Top * 2, box.Right + box.Left, box.Bottom + box.Top), box.Left * 2,
               box.Top * 2 - 2, QStringLiteral("####"));
  }
  EXPECT_EQ(InkBox(hidden, disabledEmpty, box), InkBox(want, disabledEmpty, box));
  // Right alignment: the text ends 3 pixels before the box's right edge (client coordinates).
  f.edit->SetEditPasswordChar(QChar());
  f.edit->SetAlignment(taRightJustify);
  QApplication::processEvents();
  const TRect rink = InkBox(Grab(f.edit), disabledEmpty, box);
  TCanvas measure;
  QImage scratch(1, 1, QImage::Format_RGB32);
  measure.SetImage(&scratch);
  measure.Font = f.edit->Font();
  const int tw = measure.TextWidth(text);
  EXPECT_EQ(rink.Left - dink.Left, (box.Right - 3 - tw) - box.Left);
}

TEST(SkinEdit, TextColourFollowsTheFocusWhenTheSkinIsApplied) {
  Fixture f;
  f.LoadSkin("slate");
  f.edit->SetSkinData(f.data);
  f.Show();
  f.Unfocus();
  // Hovered but not focused: applying the skin gives the normal colour.
  MouseEnter(f.edit);
  f.edit->ApplySkinData();
  EXPECT_EQ(f.edit->Font().Color, f.edit->FontColor());
  MouseLeave(f.edit);
  f.edit->SetFocus();
  QApplication::processEvents();
  ASSERT_TRUE(f.edit->Focused());
  f.edit->ApplySkinData();
  EXPECT_EQ(f.edit->Font().Color, f.edit->ActiveFontColor());
}

TEST(SkinEdit, CharCaseAndHideSelection) {
  Fixture f;
  f.Show();
  QLineEdit* le = f.edit->Editor();
  f.edit->SetFocus();
  QApplication::processEvents();
  f.edit->SetCharCase(TEditCharCase::ecUpperCase);
  Type(le, QStringLiteral("ab1"));
  EXPECT_EQ(f.edit->Text(), QStringLiteral("AB1"));
  // Switching the case turns the text there too; pasted text follows it.
  f.edit->SetCharCase(TEditCharCase::ecLowerCase);
  EXPECT_EQ(f.edit->Text(), QStringLiteral("ab1"));
  le->insert(QStringLiteral("XY"));
  EXPECT_EQ(f.edit->Text(), QStringLiteral("ab1xy"));
  f.edit->SetCharCase(TEditCharCase::ecNormal);
  Type(le, QStringLiteral("Q"));
  EXPECT_EQ(f.edit->Text(), QStringLiteral("ab1xyQ"));

  // HideSelection false keeps the selection while another control has the focus.
  f.edit->SetHideSelection(false);
  le->setSelection(1, 2);
  f.Unfocus();
  QApplication::processEvents();
  EXPECT_EQ(le->selectedText(), QStringLiteral("b1"));
  // True (the default) drops it as the focus goes.
  f.edit->SetFocus();
  QApplication::processEvents();
  f.edit->SetHideSelection(true);
  le->setSelection(1, 2);
  f.Unfocus();
  QApplication::processEvents();
  EXPECT_TRUE(le->selectedText().isEmpty());
}

}  // namespace

namespace {
TEST(SkinEdit, EachKeyReachesTheEditOnceWhereverItIsSent) {
  Fixture f;
  f.Show();
  f.edit->SetFocus();
  QApplication::processEvents();
  std::vector<uint16_t> keys;
  f.edit->OnKeyDown = [&](TComponent*, uint16_t& key, TShiftState) { keys.push_back(key); };
  // To the line edit (as the keyboard does) and to the edit's window: once each, also for a
  // key the line edit leaves to its parents.
  QTest::keyClick(f.edit->Editor(), Qt::Key_F5);
  QTest::keyClick(f.edit->Handle(), Qt::Key_F6);
  QTest::keyClick(f.edit->Handle(), Qt::Key_B);
  EXPECT_EQ(keys, (std::vector<uint16_t>{VK_F1 + 4, VK_F1 + 5, 'B'}));
  EXPECT_EQ(f.edit->Text(), QStringLiteral("b"));
}
}  // namespace

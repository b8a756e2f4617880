// The skinned edit on real offscreen widgets: text editing through the line edit inside,
// read-only, the client inset and the frame looks without a skin, the frame button, and
// what a screen reader sees.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWidget>

#include "platform/Colors.h"
#include "platform/Forms.h"
#include "skin/controls/bsSkinEdit.h"
#include "tests/TestUtil.h"

namespace {

void Type(QWidget* w, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &press);
  }
}

void Key(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, mods);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, mods);
  QApplication::sendEvent(w, &release);
}

void SendMouse(QWidget* w, QEvent::Type type, QPoint p) {
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease || type == QEvent::MouseMove
                                    ? Qt::NoButton
                                    : Qt::MouseButtons(Qt::LeftButton);
  const Qt::MouseButton b = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), b, held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

int32_t Pixel(QWidget* w, int x, int y) { return FromQColor(w->grab().toImage().pixelColor(x, y)); }

struct Fixture {
  TForm form{nullptr};
  TbsSkinEdit* edit;
  int changes = 0;
  Fixture() {
    form.SetBounds(0, 0, 400, 100);
    edit = new TbsSkinEdit(&form);
    edit->SetParent(&form);
    edit->SetBounds(83, 13, 121, 20);
    edit->OnChange = [this](TComponent*) { ++changes; };
  }
  void Show() {
    form.Show();
    QApplication::setActiveWindow(form.Handle());
    QApplication::processEvents();
  }
};

TEST(SkinEdit, DefaultsAsCreated) {
  TForm form(nullptr);
  TbsSkinEdit e(&form);
  EXPECT_EQ(e.Height(), 20);
  EXPECT_EQ(e.DefaultHeight(), 20);
  EXPECT_EQ(e.DefaultWidth(), 0);
  EXPECT_EQ(e.SkinDataName(), QStringLiteral("edit"));
  EXPECT_EQ(e.Font().Name, QStringLiteral("Arial"));
  EXPECT_EQ(e.Font().Height, 14);
  EXPECT_FALSE(e.ParentFont());
  EXPECT_TRUE(e.TabStop());
  EXPECT_FALSE(e.ReadOnly());
  EXPECT_TRUE(e.EditPasswordChar().isNull());
}

TEST(SkinEdit, TypingEditsTheTextAndReadOnlyBlocksChanges) {
  Fixture f;
  f.edit->SetText(QStringLiteral("A0"));
  EXPECT_EQ(f.changes, 1);
  f.Show();
  ASSERT_NE(f.edit->LineEdit(), nullptr);
  EXPECT_EQ(f.edit->LineEdit()->text(), QStringLiteral("A0"));
  f.edit->SetFocus();
  QApplication::processEvents();
  EXPECT_TRUE(f.edit->Focused());
  QLineEdit* le = f.edit->LineEdit();
  le->end(false);
  Type(le, QStringLiteral("01"));
  EXPECT_EQ(f.edit->Text(), QStringLiteral("A001"));
  EXPECT_EQ(f.changes, 3);

  f.edit->SetReadOnly(true);
  Type(le, QStringLiteral("x"));
  Key(le, Qt::Key_Backspace);
  Key(le, Qt::Key_Home);
  Key(le, Qt::Key_Delete);
  Key(le, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(f.edit->Text(), QStringLiteral("A001"));
  // Selecting and copying still work.
  le->selectAll();
  Key(le, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("A001"));
  f.edit->SetReadOnly(false);
  Key(le, Qt::Key_End);
  Key(le, Qt::Key_Backspace);
  EXPECT_EQ(f.edit->Text(), QStringLiteral("A00"));
}

TEST(SkinEdit, TextSetBeforeTheWindowSurvivesRecreation) {
  Fixture f;
  f.edit->SetText(QStringLiteral("it's"));
  f.Show();
  EXPECT_EQ(f.edit->LineEdit()->text(), QStringLiteral("it's"));
  f.edit->LineEdit()->setText(QStringLiteral("B9"));
  f.edit->RecreateWnd();
  EXPECT_EQ(f.edit->Text(), QStringLiteral("B9"));
  ASSERT_NE(f.edit->LineEdit(), nullptr);
  EXPECT_EQ(f.edit->LineEdit()->text(), QStringLiteral("B9"));
}

TEST(SkinEdit, PlainFrameInsetAndActiveLook) {
  Fixture f;
  f.Show();
  QWidget* w = f.edit->Handle();
  // The text sits inside a 2-pixel frame.
  EXPECT_EQ(f.edit->LineEdit()->geometry(), QRect(2, 2, 117, 16));
  // Idle: button face outside, shadow inside; white behind the text.
  f.edit->LineEdit()->clearFocus();
  f.form.Handle()->setFocus();
  QApplication::processEvents();
  ASSERT_FALSE(f.edit->Focused());
  EXPECT_EQ(Pixel(w, 0, 0), ColorToRGB(clBtnFace));
  EXPECT_EQ(Pixel(w, 1, 1), ColorToRGB(clBtnShadow));
  EXPECT_EQ(Pixel(w, 60, 10), ColorToRGB(clWhite));
  // Hover: shadow outside, face inside.
  f.edit->Perform(CM_MOUSEENTER, 0, reinterpret_cast<intptr_t>(static_cast<TControl*>(f.edit)));
  EXPECT_TRUE(f.edit->MouseInside());
  EXPECT_EQ(Pixel(w, 0, 0), ColorToRGB(clBtnShadow));
  EXPECT_EQ(Pixel(w, 1, 1), ColorToRGB(clBtnFace));
  f.edit->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<intptr_t>(static_cast<TControl*>(f.edit)));
  EXPECT_EQ(Pixel(w, 0, 0), ColorToRGB(clBtnFace));
  // Focused: the active look stays.
  f.edit->SetFocus();
  QApplication::processEvents();
  ASSERT_TRUE(f.edit->Focused());
  EXPECT_EQ(Pixel(w, 0, 0), ColorToRGB(clBtnShadow));
}

TEST(SkinEdit, FrameButtonFiresAndFocuses) {
  Fixture f;
  int clicks = 0;
  f.edit->OnButtonClick = [&](TComponent*) { ++clicks; };
  f.edit->SetButtonMode(true);
  f.Show();
  EXPECT_EQ(f.edit->TextBox(), TRect(2, 2, 121 - 22, 18));
  EXPECT_EQ(f.edit->ButtonArea(), TRect(101, 0, 121, 20));
  EXPECT_EQ(f.edit->LineEdit()->geometry().right(), 121 - 22 - 1);
  QWidget* w = f.edit->Handle();
  SendMouse(w, QEvent::MouseMove, QPoint(110, 10));
  EXPECT_TRUE(f.edit->ButtonHot());
  EXPECT_EQ(Pixel(w, 110, 10), RGBColor(182, 189, 210));
  SendMouse(w, QEvent::MouseButtonPress, QPoint(110, 10));
  EXPECT_TRUE(f.edit->ButtonPressed());
  EXPECT_EQ(Pixel(w, 110, 10), RGBColor(133, 147, 181));
  SendMouse(w, QEvent::MouseButtonRelease, QPoint(110, 10));
  EXPECT_FALSE(f.edit->ButtonPressed());
  EXPECT_EQ(clicks, 1);
  QApplication::processEvents();
  EXPECT_TRUE(f.edit->Focused());
}

TEST(SkinEdit, PasswordCharacterAndAccessibleText) {
  Fixture f;
  f.edit->SetText(QStringLiteral("secret"));
  f.edit->SetEditPasswordChar(u'*');
  f.Show();
  EXPECT_EQ(f.edit->LineEdit()->echoMode(), QLineEdit::Password);
  EXPECT_EQ(f.edit->LineEdit()->displayText(), QString(6, u'*'));
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(f.edit->LineEdit());
  ASSERT_NE(iface, nullptr);
  EXPECT_EQ(iface->role(), QAccessible::EditableText);
  EXPECT_NE(iface->editableTextInterface(), nullptr);
}

}  // namespace

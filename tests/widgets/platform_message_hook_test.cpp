// What the message loop does with input before a control sees it: the application's
// message hook sees every key first and can drop it, the form's shortcut handler is asked
// before the focused control, Alt alone and F10 ask the form for its keyboard menu and
// Alt+F4 for its close, and the form hears of presses on its child controls (WM_PARENTNOTIFY),
// of its own moves (WM_MOVE) and of a modal window blocking it (WM_CANCELMODE).
#include <gtest/gtest.h>

#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <vector>

#include "platform/Edit.h"
#include "platform/Forms.h"
#include "support/WidgetTest.h"

namespace {

// A form with a panel-like windowed child holding an edit; records the form's messages.
struct KeyForm {
  KeyForm() {
    form.SetBounds(40, 40, 320, 200);
    inner = new TCustomControl(&form);
    inner->SetParent(&form);
    inner->SetBounds(10, 10, 200, 100);
    edit = new TEdit(&form);
    edit->SetParent(inner);
    edit->SetBounds(10, 10, 120, 21);
    edit->OnKeyDown = [this](TComponent*, uint16_t& key, TShiftState) { editKeys.push_back(key); };
    old = form.WindowProc;
    form.WindowProc = [this](TMessage& m) {
      if (m.Msg == WM_SYSCOMMAND || m.Msg == WM_PARENTNOTIFY || m.Msg == WM_MOVE || m.Msg == WM_CANCELMODE ||
          m.Msg == WM_MOUSEACTIVATE || m.Msg == WM_LBUTTONDOWN)
        seen.push_back(m);
      if (m.Msg == WM_SYSCOMMAND) return;  // no real closing or menus in these tests
      old(m);
    };
    ShowActive(form);
    edit->SetFocus();
    QApplication::processEvents();
  }
  ~KeyForm() { Application->OnMessage.Clear(); }
  std::vector<TMessage> Seen(uint32_t msg) const {
    std::vector<TMessage> r;
    for (const TMessage& m : seen)
      if (m.Msg == msg) r.push_back(m);
    return r;
  }
  TForm form{nullptr};
  TCustomControl* inner;
  TEdit* edit;
  TWndMethod old;
  std::vector<uint16_t> editKeys;
  std::vector<TMessage> seen;
};

TEST(PlatformMessageHook, TheHookSeesEveryKeyFirstAndDropsWhatItHandles) {
  KeyForm f;
  ASSERT_TRUE(f.edit->Focused());
  std::vector<TMsg> hooked;
  Application->OnMessage = [&](TMsg& m, bool& handled) {
    hooked.push_back(m);
    handled = m.Msg == WM_KEYDOWN && m.WParam == 'X';
  };
  QTest::keyClick(f.edit->Handle(), Qt::Key_A, Qt::NoModifier);
  QTest::keyClick(f.edit->Handle(), Qt::Key_X, Qt::NoModifier);
  QTest::keyClick(f.edit->Handle(), Qt::Key_B, Qt::NoModifier);
  // Each press and release once, though Qt offers a key the edit leaves alone to its parents.
  ASSERT_EQ(hooked.size(), 6u);
  EXPECT_EQ(hooked[0].Msg, WM_KEYDOWN);
  EXPECT_EQ(hooked[0].WParam, 'A');
  EXPECT_EQ(hooked[0].Control, f.edit);
  EXPECT_EQ(hooked[1].Msg, WM_KEYUP);
  EXPECT_EQ(hooked[2].WParam, 'X');
  // The dropped key reached neither the control's key handler nor its text.
  EXPECT_EQ(f.editKeys, (std::vector<uint16_t>{'A', 'B'}));
  EXPECT_EQ(f.edit->Text(), QStringLiteral("ab"));

  // Keys held with Alt come as system keys; the same press twice is offered twice.
  hooked.clear();
  QTest::keyClick(f.edit->Handle(), Qt::Key_Down, Qt::NoModifier);
  QTest::keyClick(f.edit->Handle(), Qt::Key_Down, Qt::NoModifier);
  QTest::keyClick(f.edit->Handle(), Qt::Key_F, Qt::AltModifier);
  std::vector<uint32_t> downs;
  for (const TMsg& m : hooked)
    if (m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN) downs.push_back(m.Msg);
  EXPECT_EQ(downs, (std::vector<uint32_t>{WM_KEYDOWN, WM_KEYDOWN, WM_SYSKEYDOWN, WM_SYSKEYDOWN}));  // Alt, then F

  // A hook that went is not called; the keys reach the edit again.
  Application->OnMessage.Clear();
  hooked.clear();
  QTest::keyClick(f.edit->Handle(), Qt::Key_X, Qt::NoModifier);
  EXPECT_TRUE(hooked.empty());
  EXPECT_TRUE(f.edit->Text().endsWith(QLatin1Char('x'))) << f.edit->Text().toStdString();
}

TEST(PlatformMessageHook, TheFormsShortCutHandlerIsAskedBeforeTheFocusedControl) {
  KeyForm f;
  std::vector<TWMKey> offered;
  f.form.OnShortCut = [&](TWMKey& key, bool& handled) {
    offered.push_back(key);
    handled = key.CharCode == 'S' && key.Shift == ssCtrl;
  };
  QTest::keyClick(f.edit->Handle(), Qt::Key_S, Qt::ControlModifier);
  QTest::keyClick(f.edit->Handle(), Qt::Key_Q, Qt::NoModifier);
  // Ctrl, Ctrl+S, Q: each press once, with its own serial.
  ASSERT_EQ(offered.size(), 3u);
  EXPECT_EQ(offered[1].CharCode, 'S');
  EXPECT_EQ(offered[1].Shift, ssCtrl);
  EXPECT_EQ(offered[1].Msg, WM_KEYDOWN);
  EXPECT_NE(offered[1].Serial, offered[2].Serial);
  EXPECT_EQ(offered[2].Shift, 0);
  // The taken shortcut never reached the edit.
  EXPECT_EQ(f.editKeys, (std::vector<uint16_t>{VK_CONTROL, 'Q'}));
}

TEST(PlatformMessageHook, AltAloneAndF10AskForTheKeyboardMenuAltF4ForClosing) {
  KeyForm f;
  QWidget* w = f.edit->Handle();
  QTest::keyClick(w, Qt::Key_Alt);
  ASSERT_EQ(f.Seen(WM_SYSCOMMAND).size(), 1u);
  EXPECT_EQ(f.Seen(WM_SYSCOMMAND)[0].WParam, SC_KEYMENU);
  // Alt with another key between press and release is no menu request.
  QTest::keyPress(w, Qt::Key_Alt);
  QTest::keyClick(w, Qt::Key_K, Qt::AltModifier);
  QTest::keyRelease(w, Qt::Key_Alt);
  EXPECT_EQ(f.Seen(WM_SYSCOMMAND).size(), 1u);
  // Nor is Alt with a mouse press between.
  QTest::keyPress(w, Qt::Key_Alt);
  ClickAt(w, QPoint(3, 3));
  QTest::keyRelease(w, Qt::Key_Alt);
  EXPECT_EQ(f.Seen(WM_SYSCOMMAND).size(), 1u);
  QTest::keyClick(w, Qt::Key_F10);
  QTest::keyClick(w, Qt::Key_F10, Qt::ControlModifier);
  QTest::keyClick(w, Qt::Key_F4, Qt::AltModifier);
  QTest::keyClick(w, Qt::Key_F4, Qt::ControlModifier);
  const auto commands = f.Seen(WM_SYSCOMMAND);
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(commands[1].WParam, SC_KEYMENU);
  EXPECT_EQ(commands[2].WParam, SC_CLOSE);

  // A control that takes the key for itself keeps the form out of it.
  f.edit->OnKeyDown = [](TComponent*, uint16_t& key, TShiftState) {
    if (key == VK_F10) key = 0;
  };
  QTest::keyClick(w, Qt::Key_F10);
  EXPECT_EQ(f.Seen(WM_SYSCOMMAND).size(), 3u);
}

TEST(PlatformMessageHook, FormHearsOfPressesOnItsChildrenOfMovesAndOfModalWindows) {
  KeyForm f;
  // A press on the edit inside the inner control: the inner control first, then the form.
  std::vector<TMessage> innerNotes;
  TWndMethod innerOld = f.inner->WindowProc;
  f.inner->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_PARENTNOTIFY) innerNotes.push_back(m);
    innerOld(m);
  };
  ClickAt(f.edit->Handle(), QPoint(5, 6));
  ASSERT_EQ(innerNotes.size(), 1u);
  EXPECT_EQ(innerNotes[0].WParam, WM_LBUTTONDOWN);
  EXPECT_EQ(LParamToPoint(innerNotes[0].LParam), TPoint(15, 16));
  auto notes = f.Seen(WM_PARENTNOTIFY);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0].WParam, WM_LBUTTONDOWN);
  EXPECT_EQ(LParamToPoint(notes[0].LParam), TPoint(25, 26));
  // A right press on the inner control itself: the form alone is told.
  ClickAt(f.inner->Handle(), QPoint(150, 50), Qt::RightButton);
  notes = f.Seen(WM_PARENTNOTIFY);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[1].WParam, WM_RBUTTONDOWN);
  EXPECT_EQ(innerNotes.size(), 1u);
  // A press on the form's own client area comes as the press itself, with no notice.
  ClickAt(f.form.ClientHandle(), QPoint(250, 150));
  EXPECT_EQ(f.Seen(WM_PARENTNOTIFY).size(), 2u);
  EXPECT_EQ(f.Seen(WM_LBUTTONDOWN).size(), 1u);

  // Moving the form.
  QApplication::processEvents();
  f.seen.clear();
  f.form.SetBounds(60, 70, 320, 200);
  ASSERT_EQ(f.Seen(WM_MOVE).size(), 1u);
  EXPECT_EQ(LParamToPoint(f.Seen(WM_MOVE)[0].LParam), TPoint(60, 70));
  f.form.SetBounds(60, 70, 330, 200);  // a size change alone is no move
  QApplication::processEvents();
  EXPECT_EQ(f.Seen(WM_MOVE).size(), 1u);

  // A modal dialog blocks the form while it runs.
  QDialog dialog;
  QTimer::singleShot(50, &dialog, [&] { dialog.reject(); });
  dialog.exec();
  EXPECT_GE(f.Seen(WM_CANCELMODE).size(), 1u);
}

}  // namespace

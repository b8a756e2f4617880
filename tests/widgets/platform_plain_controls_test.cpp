// The plain controls the query form uses, on real (offscreen) Qt widgets: the date picker,
// the splitter and the single-line edit.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>

#include "platform/Colors.h"
#include "platform/DateTimePicker.h"
#include "platform/Edit.h"
#include "platform/Forms.h"
#include "platform/Splitter.h"
#include "platform/Streaming.h"
#include "support/WidgetTest.h"
#include "tests/TestUtil.h"

TEST(PlatformDatePicker, OnlyTheUserFiresOnChangeAndTheTimeOfDayStays) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 100);
  auto* picker = new TDateTimePicker(&form);
  picker->SetParent(&form);
  picker->SetBounds(10, 10, 102, 21);
  int changes = 0;
  picker->OnChange = [&](TComponent* s) {
    EXPECT_EQ(s, picker);
    ++changes;
  };
  const QDateTime stored(QDate(2005, 8, 12), QTime(15, 1, 1, 953));
  picker->SetDateTime(stored);
  form.Show();
  QDateEdit* editor = picker->Editor();
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(editor->calendarPopup());
  EXPECT_EQ(editor->displayFormat(), QLocale().dateFormat(QLocale::ShortFormat));
  EXPECT_EQ(editor->date(), QDate(2005, 8, 12));

  // The program sets the date: no change event, the time of day is kept.
  picker->SetDate(QDate(2006, 3, 3));
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(picker->DateTime(), QDateTime(QDate(2006, 3, 3), QTime(15, 1, 1, 953)));
  EXPECT_EQ(editor->date(), QDate(2006, 3, 3));

  // The user steps the date with the arrow key: one change event, the time still kept.
  SendKey(editor, Qt::Key_Up);
  EXPECT_EQ(changes, 1);
  EXPECT_NE(picker->Date(), QDate(2006, 3, 3));
  EXPECT_EQ(picker->Date(), editor->date());
  EXPECT_EQ(picker->Time(), QTime(15, 1, 1, 953));
  EXPECT_THROW(picker->SetDate(QDate()), EConvertError);
  EXPECT_EQ(changes, 1);
}

TEST(PlatformDatePicker, StoredDateAndTimeAreDaysAndFractions) {
  EXPECT_EQ(DateToQt(38576.0), QDate(2005, 8, 12));
  EXPECT_EQ(DateFromQt(QDate(1899, 12, 30)), 0.0);
  EXPECT_EQ(DateFromQt(QDate(2006, 3, 3)), 38779.0);
  EXPECT_EQ(TimeToQt(0.5), QTime(12, 0));
  EXPECT_FALSE(DateToQt(1e300).isValid());
  EXPECT_FALSE(DateToQt(std::nan("")).isValid());

  TForm form(nullptr);
  const double time = (15 * 3600 + 61.953) / 86400.0;
  ReadComponentFromText(QStringLiteral("object F: TForm\n object P: TDateTimePicker\n  Date = 38576.0\n  Time = %1\n end\nend")
                            .arg(time, 0, 'g', 17),
                        &form);
  auto* p = dynamic_cast<TDateTimePicker*>(form.FindComponent(QStringLiteral("P")));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->DateTime(), QDateTime(QDate(2005, 8, 12), QTime(15, 1, 1, 953)));
  const QString written = WriteComponentToText(&form);
  EXPECT_TRUE(written.contains(QStringLiteral("Date = 38576.0"))) << written.toStdString();
}

TEST(PlatformSplitter, DragShowsAPatternAndResizesOnReleaseWithinLimits) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 400);
  auto* top = new TCustomControl(&form);
  top->SetParent(&form);
  top->SetBounds(0, 0, 200, 113);
  top->SetAlign(TAlign::alTop);
  top->SetColor(clWhite);
  auto* split = new TSplitter(&form);
  split->SetAlign(TAlign::alTop);  // a splitter starts aligned left
  split->SetBounds(0, 113, 200, 3);
  split->SetParent(&form);
  split->SetCursor(crVSplit);
  split->SetBeveled(true);
  split->SetColor(clRed);
  auto* rest = new TCustomControl(&form);
  rest->SetParent(&form);
  rest->SetAlign(TAlign::alClient);
  rest->SetColor(clWhite);
  int moved = 0;
  split->OnMoved = [&](TComponent*) { ++moved; };
  form.Show();
  QWidget* surface = form.ClientHandle();
  EXPECT_EQ(split->BoundsRect(), Bounds(0, 113, 200, 3));
  EXPECT_EQ(rest->BoundsRect(), Bounds(0, 116, 200, 284));

  // Red, beveled: light top edge, dark bottom edge.
  QImage img = surface->grab().toImage();
  EXPECT_EQ(img.pixel(50, 113), Rgb(clBtnHighlight));
  EXPECT_EQ(img.pixel(50, 114), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(50, 115), Rgb(clBtnShadow));

  // Drag down by 50: the heights stay while the button is held; a patterned line shows.
  SendMouse(surface, QEvent::MouseButtonPress, QPoint(100, 114));
  DragTo(surface, QPoint(100, 164));
  EXPECT_TRUE(split->Dragging());
  EXPECT_EQ(top->Height(), 113);
  auto* line = surface->findChild<QWidget*>(QStringLiteral("SplitterLine"));
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->geometry(), QRect(0, 163, 200, 3));
  img = surface->grab().toImage();
  EXPECT_NE(img.pixel(10, 163), img.pixel(11, 163));  // a checker, not a solid line
  EXPECT_NE(img.pixel(10, 163), img.pixel(10, 164));
  SendMouse(surface, QEvent::MouseButtonRelease, QPoint(100, 164));
  EXPECT_FALSE(split->Dragging());
  EXPECT_EQ(surface->findChild<QWidget*>(QStringLiteral("SplitterLine")), nullptr);
  EXPECT_EQ(top->Height(), 163);
  EXPECT_EQ(split->Top(), 163);
  EXPECT_EQ(rest->BoundsRect(), Bounds(0, 166, 200, 234));
  EXPECT_EQ(moved, 1);

  // Far down: the other side keeps its minimum of 30 pixels.
  SendMouse(surface, QEvent::MouseButtonPress, QPoint(100, 164));
  SendMouse(surface, QEvent::MouseButtonRelease, QPoint(100, 1000));
  EXPECT_EQ(rest->Height(), 30);
  EXPECT_EQ(top->Height(), 400 - 3 - 30);
  // Far up: the resized control keeps 30 pixels.
  SendMouse(surface, QEvent::MouseButtonPress, QPoint(100, split->Top() + 1));
  SendMouse(surface, QEvent::MouseButtonRelease, QPoint(100, -500));
  EXPECT_EQ(top->Height(), 30);
  EXPECT_EQ(rest->BoundsRect(), Bounds(0, 33, 200, 367));
  EXPECT_EQ(moved, 3);
}

TEST(PlatformEdit, TextFromProgramAndKeysWithItsLimits) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 100);
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  std::vector<QString> seen;
  edit->OnChange = [&](TComponent*) { seen.push_back(edit->Text()); };
  edit->SetText(QStringLiteral("A001"));  // before the window exists
  form.Show();
  QLineEdit* line = edit->Editor();
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->text(), QStringLiteral("A001"));
  edit->SetText(QStringLiteral("it's"));
  EXPECT_EQ(line->text(), QStringLiteral("it's"));
  line->setCursorPosition(4);
  SendKey(line, Qt::Key_X, QStringLiteral("x"));
  EXPECT_EQ(edit->Text(), QStringLiteral("it'sx"));
  edit->SetMaxLength(3);
  SendKey(line, Qt::Key_Y, QStringLiteral("y"));
  EXPECT_EQ(edit->Text().size(), 3);
  // A key handler that drops the character keeps it out of the text.
  edit->SetMaxLength(0);
  edit->OnKeyPress = [](TComponent*, QChar& c) {
    if (c == QLatin1Char('q')) c = QChar();
  };
  const QString before = edit->Text();
  SendKey(line, Qt::Key_Q, QStringLiteral("q"));
  EXPECT_EQ(edit->Text(), before);
  SendKey(line, Qt::Key_Z, QStringLiteral("z"));
  EXPECT_EQ(edit->Text(), before + QLatin1Char('z'));
  // Keys without a key code of their own type their characters too.
  line->setText(QString());
  SendKey(line, Qt::Key_Apostrophe, QStringLiteral("'"));
  SendKey(line, Qt::Key_Minus, QStringLiteral("-"));
  SendKey(line, Qt::Key_Eacute, QStringLiteral("\u00e9"));
  EXPECT_EQ(line->text(), QStringLiteral("'-\u00e9"));
  ASSERT_GE(seen.size(), 4u);
  EXPECT_EQ(seen.front(), QStringLiteral("A001"));
  EXPECT_EQ(seen[1], QStringLiteral("it's"));
}

TEST(PlatformEdit, ClientAreaFromTheWindowProcedurePasswordAndAlignment) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 100);
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  // A hook that claims a frame of 4 pixels left, 3 top, 6 right and 1 bottom.
  TWndMethod old = edit->WindowProc;
  edit->WindowProc = [old](TMessage& m) {
    if (m.Msg == WM_NCCALCSIZE) {
      auto* r = reinterpret_cast<TRect*>(m.LParam);
      *r = TRect(r->Left + 4, r->Top + 3, r->Right - 6, r->Bottom - 1);
      return;
    }
    old(m);
  };
  edit->SetText(QStringLiteral("abc"));
  form.Show();
  QLineEdit* line = edit->Editor();
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(edit->EditClientRect(), TRect(4, 3, 121 - 6, 21 - 1));
  // The line edit lies on the client area; the frame is the edit's window alone.
  EXPECT_EQ(line->geometry(), QRect(4, 3, 121 - 10, 21 - 4));
  EXPECT_EQ(edit->Handle()->childAt(QPoint(1, 1)), nullptr);
  // A new size asks again.
  edit->SetWidth(150);
  EXPECT_EQ(edit->EditClientRect(), TRect(4, 3, 150 - 6, 21 - 1));
  EXPECT_EQ(line->geometry(), QRect(4, 3, 150 - 10, 21 - 4));
  EXPECT_EQ(line->cursor().shape(), Qt::IBeamCursor);

  edit->SetPasswordChar(u'#');
  EXPECT_EQ(line->displayText(), QStringLiteral("###"));
  EXPECT_EQ(edit->Text(), QStringLiteral("abc"));
  edit->SetPasswordChar(QChar());
  EXPECT_EQ(line->displayText(), QStringLiteral("abc"));
  edit->SetAlignment(taRightJustify);
  EXPECT_EQ(line->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
  // The text colour is the font's, also after a colour change of the edit.
  TFont f = edit->Font();
  f.Color = clRed;
  edit->SetFont(f);
  edit->SetColor(clYellow);
  EXPECT_EQ(line->palette().color(QPalette::Active, QPalette::Text), QColor(255, 0, 0));
  EXPECT_EQ(line->palette().color(QPalette::Active, QPalette::Base), QColor(255, 255, 0));
}

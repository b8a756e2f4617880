// Text drawn from kept layouts and text measures kept between paints: what they paint and
// answer is what Qt's own drawText and font metrics paint and answer, pixel for pixel, for the
// first draw and for the draws from the kept layout, in several fonts, alignments, wraps and
// boxes (text cut by a small box, text that wraps, text with line breaks or tabs).
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/TextLayouts.h"
#include "platform/TextMeasure.h"
#include "tests/TestUtil.h"

namespace {

QList<QFont> Fonts() {
  QList<QFont> fonts;
  for (int px : {11, 13, 17})
    for (int style = 0; style < 4; ++style) {
      QFont f(QStringLiteral("DejaVu Sans"));
      f.setPixelSize(px);
      f.setBold(style & 1);
      f.setItalic(style & 2);
      f.setHintingPreference(QFont::PreferFullHinting);
      fonts << f;
    }
  QFont underlined(QStringLiteral("Tahoma"));
  underlined.setPixelSize(11);
  underlined.setUnderline(true);
  fonts << underlined;
  return fonts;
}

const QStringList kTexts = {QStringLiteral("Default"),
                            QStringLiteral("Inside a caption panel"),
                            QString::fromUtf8("\xc3\x96l\xc3\xa7\xc3\xbc \xc3\x84\xc3\x96\xc3\x9c"),
                            QStringLiteral("a b  c"),
                            QStringLiteral("x"),
                            QStringLiteral(" leading space"),
                            QStringLiteral("trailing space "),
                            QString::fromUtf8("\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d abc"),
                            QStringLiteral("two\nlines"),
                            QStringLiteral("tab\there")};

const QRect kBoxes[] = {QRect(3, 4, 150, 30), QRect(5, 2, 33, 13), QRect(0, 0, 81, 17), QRect(2, 2, 10, 8)};

// Paints `text` twice into a fresh surface with a translated, clipped painter.
QImage Painted(const QFont& font, const QRect& box, int flags, const QString& text, bool kept, QRect* br) {
  QImage img(200, 60, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::white);
  QPainter p(&img);
  p.translate(9, 6);
  p.setClipRect(QRect(0, 0, 180, 45));
  p.setFont(font);
  p.setPen(QColor(20, 30, 200));
  for (int i = 0; i < 2; ++i) {
    if (kept) TextLayouts::Draw(p, box, flags, text, br);
    else p.drawText(box, flags, text, br);
  }
  return img;
}

}  // namespace

TEST(PlatformTextLayouts, KeptLayoutsPaintWhatDrawTextPaints) {
  const int horizontal[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
  const int vertical[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
  const int extra[] = {0, Qt::TextWordWrap, Qt::TextSingleLine, Qt::TextExpandTabs, Qt::TextDontClip};
  int cases = 0, differing = 0;
  for (const QFont& font : Fonts())
    for (const QString& text : kTexts)
      for (int h : horizontal)
        for (int v : vertical)
          for (int e : extra)
            for (const QRect& box : kBoxes) {
              const int flags = h | v | e;
              QRect expectedBounds, bounds;
              const QImage expected = Painted(font, box, flags, text, false, &expectedBounds);
              const QImage drawn = Painted(font, box, flags, text, true, &bounds);
              ++cases;
              if (drawn != expected || bounds != expectedBounds) {
                if (++differing <= 5)
                  ADD_FAILURE() << "differs: '" << text.toStdString() << "' in " << font.family().toStdString() << " "
                                << font.pixelSize() << "px, flags " << std::hex << flags << std::dec << ", box "
                                << box.width() << "x" << box.height();
              }
            }
  EXPECT_EQ(differing, 0) << "of " << cases;
  // Single-line texts were drawn from kept layouts (the others by drawText itself).
  EXPECT_GT(TextLayouts::Count(), 0);
}

TEST(PlatformTextLayouts, TextOnABaselinePaintsWhatDrawTextPaints) {
  QStringList texts = kTexts;
  texts << QString::fromUtf8("\xe4\xb8\xad\xe6\x96\x87 mixed") << QStringLiteral("Ledger 10 - Slate");
  int differing = 0;
  for (const QFont& font : Fonts())
    for (const QString& text : texts)
      for (int x : {0, 3, 17})
        for (int y : {0, 5}) {
          QImage expected(220, 50, QImage::Format_ARGB32_Premultiplied), drawn = expected;
          for (QImage* img : {&expected, &drawn}) {
            img->fill(Qt::white);
            QPainter p(img);
            p.translate(4, 3);
            p.setFont(font);
            p.setPen(QColor(120, 30, 20));
            const int baseline = y + QFontMetrics(p.font()).ascent();
            for (int i = 0; i < 2; ++i) {
              if (img == &expected) p.drawText(x, baseline, text);
              else TextLayouts::DrawAt(p, x, baseline, text);
            }
          }
          if (drawn != expected && ++differing <= 5)
            ADD_FAILURE() << "differs: '" << text.toStdString() << "' in " << font.pixelSize() << "px at " << x << ", " << y;
        }
  EXPECT_EQ(differing, 0);
}

TEST(PlatformTextLayouts, MeasuresAreQtsOwn) {
  for (const QFont& font : Fonts()) {
    const QFontMetrics fm(font);
    EXPECT_EQ(TextMeasure::Ascent(font), fm.ascent());
    EXPECT_EQ(TextMeasure::Descent(font), fm.descent());
    for (const QString& text : kTexts) {
      // Asked twice: the kept answer is the same as the first.
      for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(TextMeasure::Advance(font, text), fm.horizontalAdvance(text)) << text.toStdString();
        for (int flags : {int(Qt::AlignLeft | Qt::AlignTop), int(Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine),
                          int(Qt::AlignRight | Qt::AlignBottom | Qt::TextWordWrap)})
          for (const QRect& box : kBoxes) {
            // The same box at another place gives the same rectangle moved with it.
            const QRect moved = box.translated(37, -5);
            EXPECT_EQ(TextMeasure::BoundingRect(font, box, flags, text), fm.boundingRect(box, flags, text));
            EXPECT_EQ(TextMeasure::BoundingRect(font, moved, flags, text), fm.boundingRect(moved, flags, text));
          }
      }
    }
  }
  // Different fonts are told apart.
  QFont regular(QStringLiteral("DejaVu Sans")), bold = regular;
  regular.setPixelSize(15);
  bold.setPixelSize(15);
  bold.setBold(true);
  const QString wide = QStringLiteral("WWWWWWWWWWWW");
  ASSERT_NE(QFontMetrics(regular).horizontalAdvance(wide), QFontMetrics(bold).horizontalAdvance(wide));
  EXPECT_EQ(TextMeasure::Advance(regular, wide), QFontMetrics(regular).horizontalAdvance(wide));
  EXPECT_EQ(TextMeasure::Advance(bold, wide), QFontMetrics(bold).horizontalAdvance(wide));
}

TEST(PlatformTextLayouts, CanvasTextMatchesDrawText) {
  // The canvas's text calls (measure, draw, the text at a point) against Qt's own drawing.
  TFont font;
  font.Name = QStringLiteral("DejaVu Sans");
  font.Height = 14;
  font.Color = RGBColor(200, 10, 10);
  const QString caption = QStringLiteral("&Open the ledger");
  QImage ours(160, 40, QImage::Format_RGB32), theirs = ours;
  ours.fill(Qt::white);
  theirs.fill(Qt::white);
  TRect r(4, 3, 150, 30);
  {
    TCanvas c(&ours);
    c.Font = font;
    c.Brush.Style = TBrushStyle::bsClear;
    TRect calc = r;
    c.DrawText(caption, calc, DT_CALCRECT | DT_SINGLELINE);
    const QRect qt = QFontMetrics(font.ToQFont())
                         .boundingRect(QRect(r.Left, r.Top, 100000, 100000), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                                       QStringLiteral("Open the ledger"));
    EXPECT_EQ(calc.Width(), qt.width());
    EXPECT_EQ(calc.Height(), qt.height());
    for (int i = 0; i < 3; ++i) c.DrawText(caption, r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    EXPECT_EQ(c.TextWidth(QStringLiteral("Open")), QFontMetrics(font.ToQFont()).horizontalAdvance(QStringLiteral("Open")));
  }
  {
    QPainter p(&theirs);
    p.setClipRect(ToQRect(r));
    p.setFont(font.ToQFont());
    p.setPen(QColor(200, 10, 10));
    for (int i = 0; i < 3; ++i)
      p.drawText(ToQRect(r), Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, QStringLiteral("Open the ledger"));
  }
  EXPECT_TRUE(ours == theirs);
  // Something was drawn at all.
  int red = 0;
  for (int y = 0; y < ours.height(); ++y)
    for (int x = 0; x < ours.width(); ++x) red += qRed(ours.pixel(x, y)) > 150 && qGreen(ours.pixel(x, y)) < 100;
  EXPECT_GT(red, 20);
}

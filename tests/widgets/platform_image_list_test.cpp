// Image lists: slicing a masked strip, drawing (enabled and greyed), change listeners, and the
// stored byte block (round trip through a form definition, bad blocks refused).
#include <gtest/gtest.h>

#include <QPainter>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Exceptions.h"
#include "platform/Forms.h"
#include "platform/ImageList.h"
#include "platform/Stream.h"
#include "platform/Streaming.h"

namespace {

// A strip of `n` 4x3 cells: cell i is filled with colour (i*40, 0, 0) except its top-left pixel,
// which is magenta (the transparent key).
TBitmap Strip(int n) {
  TBitmap b(4 * n, 3);
  for (int i = 0; i < n; ++i)
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 4; ++x) b.Image().setPixelColor(i * 4 + x, y, (x == 0 && y == 0) ? QColor(255, 0, 255) : QColor(i * 40, 0, 0));
  return b;
}

}  // namespace

TEST(ImageList, SlicesMaskedStripAndDraws) {
  TImageList list(nullptr);
  list.SetSize(4, 3);
  int changes = 0;
  list.AddChangeListener(&changes, [&] { ++changes; });
  EXPECT_EQ(list.AddMasked(Strip(3), 0xFF00FF), 0);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(qAlpha(list.Image(1).pixel(0, 0)), 0);           // the key colour became transparent
  EXPECT_EQ(QColor(list.Image(2).pixel(1, 1)), QColor(80, 0, 0));
  EXPECT_TRUE(list.Image(3).isNull());

  // Drawing keeps what lies under the transparent pixel; greyed drawing is grey and lighter.
  TBitmap target(10, 10);
  target.Canvas().Brush.Color = 0x00FF00;  // green
  target.Canvas().FillRect(TRect(0, 0, 10, 10));
  list.Draw(target.Canvas(), 2, 2, 2);
  list.Draw(target.Canvas(), 6, 6, 2, false);
  list.Draw(target.Canvas(), 0, 0, 7);  // out of range: nothing
  EXPECT_EQ(target.Image().pixelColor(2, 2), QColor(0, 255, 0));
  EXPECT_EQ(target.Image().pixelColor(3, 3), QColor(80, 0, 0));
  const QColor grey = target.Image().pixelColor(7, 7);
  EXPECT_EQ(grey.red(), grey.green());
  EXPECT_EQ(grey.green(), grey.blue());
  EXPECT_GT(grey.red(), 80);
  EXPECT_EQ(target.Image().pixelColor(0, 0), QColor(0, 255, 0));

  // A new size clears the list and tells the listeners; a removed listener hears nothing.
  list.SetWidth(8);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(changes, 2);
  list.RemoveChangeListener(&changes);
  list.Add(QImage(8, 3, QImage::Format_RGB32));
  EXPECT_EQ(changes, 2);
  EXPECT_THROW(list.Delete(5), EListError);
}

TEST(ImageList, StoredBlockRoundTripsAndRefusesBadData) {
  TImageList list(nullptr);
  list.SetSize(4, 3);
  list.AddMasked(Strip(2), 0xFF00FF);
  TMemoryStream out;
  list.WriteImages(out);

  TImageList copy(nullptr);
  TBytesStream in(out.Memory(), out.Size());
  copy.ReadImages(in);
  ASSERT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.Width(), 4);
  EXPECT_EQ(copy.Image(1), list.Image(1));

  // Truncated, oversized and foreign blocks fail and leave the list as it was.
  for (int cut : {2, 10, int(out.Size()) - 1}) {
    TBytesStream bad(out.Memory(), cut);
    EXPECT_THROW(copy.ReadImages(bad), EReadError) << cut;
    EXPECT_EQ(copy.Count(), 2);
  }
  std::vector<uint8_t> huge(out.Memory(), out.Memory() + out.Size());
  huge[3] = 0xFF, huge[4] = 0xFF, huge[5] = 0xFF;  // width far above the limit
  TBytesStream bigIn(huge.data(), int64_t(huge.size()));
  EXPECT_THROW(copy.ReadImages(bigIn), EReadError);
  EXPECT_EQ(copy.Count(), 2);

  // Through a form definition: the list and its pictures come back as written.
  TForm form(nullptr);
  auto* stored = new TImageList(&form);
  stored->SetName(QStringLiteral("Images1"));
  stored->SetSize(4, 3);
  stored->AddMasked(Strip(2), 0xFF00FF);
  const QString text = WriteComponentToText(&form);
  EXPECT_TRUE(text.contains(QStringLiteral("object Images1: TImageList")));
  TForm again(nullptr);
  ReadComponentFromText(text, &again);
  auto* read = dynamic_cast<TImageList*>(again.FindComponent(QStringLiteral("Images1")));
  ASSERT_TRUE(read);
  ASSERT_EQ(read->Count(), 2);
  EXPECT_EQ(read->Image(0), stored->Image(0));
}

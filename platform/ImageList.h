// Image lists: numbered images of one size (Width x Height), drawn on canvases by index. Menus,
// page-control tabs, buttons with actions and the tray icon take their pictures from one.
// Images are kept as 32-bit ARGB (premultiplied), so a masked source keeps its transparent parts.
//
// Consumers that keep an index into the list register a change listener (called after every
// change) and ask for a free notice (FreeNotification) to drop their reference when the list
// goes. Stored in form definitions as Width, Height and a "Bitmap" byte block (see ReadImages).
// GUI thread only.
#pragma once
#include <QImage>
#include <functional>
#include <vector>

#include "platform/Component.h"
#include "platform/Types.h"

class TBitmap;
class TCanvas;
class TStream;

class TCustomImageList : public TComponent {
 public:
  explicit TCustomImageList(TComponent* owner);
  ~TCustomImageList() override;
  QString ClassName() const override { return QStringLiteral("TCustomImageList"); }

  // Image size in pixels (1 to 1024). Changing it clears the list.
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetWidth(int w) { SetSize(w, height_); }
  void SetHeight(int h) { SetSize(width_, h); }
  void SetSize(int w, int h);

  int Count() const { return static_cast<int>(images_.size()); }
  bool Valid(int index) const { return index >= 0 && index < Count(); }
  // The image at `index` (Width x Height, ARGB32 premultiplied); a null image when out of range.
  QImage Image(int index) const;

  // Adds `image` cut or padded (transparent) to the list's size; returns its index.
  int Add(const QImage& image);
  // Adds every Width-wide slice of `strip`, pixels of colour `transparent` made transparent
  // (clNone keeps them all); returns the index of the first one added.
  int AddMasked(const TBitmap& strip, TColor transparent);
  void Replace(int index, const QImage& image);
  void Delete(int index);
  void Clear();

  // Draws image `index` with its top-left corner at (x, y), greyed when not enabled. An index out
  // of range draws nothing.
  void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;

  // Change listeners, keyed by their owner (one per key; adding again replaces it).
  void AddChangeListener(const void* key, std::function<void()> onChange);
  void RemoveChangeListener(const void* key);

  // The stored byte block: "IL1" then width, height and count as 32-bit little-endian numbers,
  // then the pixels of every image, row by row, as 32-bit ARGB. Bad blocks raise EReadError and
  // leave the list as it was.
  void ReadImages(TStream& in);
  void WriteImages(TStream& out) const;

 private:
  void Changed();
  QImage Fit(const QImage& image) const;

  int width_ = 16;
  int height_ = 16;
  std::vector<QImage> images_;
  struct Listener {
    const void* key;
    std::function<void()> onChange;
  };
  std::vector<Listener> listeners_;
};

class TImageList : public TCustomImageList {
 public:
  using TCustomImageList::TCustomImageList;
  QString ClassName() const override { return QStringLiteral("TImageList"); }
};

// A copy of `image` as it is drawn disabled: grey, lightened, alpha kept.
QImage GreyedImage(const QImage& image);
// Registers TCustomImageList and TImageList for form definitions (part of the platform classes).
void RegisterImageListClasses();

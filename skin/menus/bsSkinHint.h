// Skinned hints. TbsSkinHint, placed on the main form, makes every hint of the application
// show in a TbsSkinHintWindow drawn from the skin's [HINTWINDOW] section, and shows texts of its
// own after the application's hint pause (the frame's object hints). TbsSkinHintWindow is the
// window: frameless, on top, never focused, shaped by the section's mask; without a usable
// skin it draws a plain look.
//
// Installing is one-way: from the first TbsSkinHint made outside design mode on, the
// application's hint windows are skinned and the short hint pause is 100 ms. Every hint window
// takes its settings from the first active TbsSkinHint among the main form's components.
// GUI thread only.
#pragma once
#include <QFont>
#include <QRegion>
#include <QSize>
#include <QTextLayout>
#include <QString>
#include <memory>

#include "platform/Bitmap.h"
#include "platform/Component.h"
#include "platform/Font.h"
#include "platform/HintWindow.h"
#include "platform/RecentCache.h"
#include "platform/Timer.h"

class TbsSkinData;
class TbsSkinHint;

class TbsSkinHintWindow : public THintWindow {
 public:
  explicit TbsSkinHintWindow(TComponent* owner);
  ~TbsSkinHintWindow() override;
  QString ClassName() const override { return QStringLiteral("TbsSkinHintWindow"); }

  // Shows `text` with the window's top-left corner at rect's top-left corner; nothing when no
  // hint component is in force.
  void ActivateHint(const TRect& rect, const QString& text) override;
  TRect CalcHintRect(int maxWidth, const QString& text) override;

  // The first active TbsSkinHint among the main form's components; nullptr when none.
  static TbsSkinHint* FindHintComponent();
  // The window size for `text` in the canvas font; sets the mapped points and client rectangle.
  QSize MeasureHint(TCanvas& canvas, const QString& text);
  void UpdateRegion();

  TRect MappedClientRect;
  TPoint MappedLeftTop, MappedRightTop, MappedLeftBottom, MappedRightBottom;
  TbsSkinHint* HintComponent() const { return hintComponent_; }
  TbsSkinData* SkinInUse() const { return skinInUse_; }
  const QRegion& Region() const { return region_; }
  bool LastAlphaBlend() const { return lastAlphaBlend_; }
  uint8_t LastAlphaBlendValue() const { return lastAlphaBlendValue_; }
  // Draws the window's whole image for its current size (what Paint puts on the window).
  void PaintTo(TBitmap& buffer);
  // What the window shows now, composed once and kept for the next show of the same look.
  const QImage& Picture();

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void WndProc(TMessage& m) override;

 private:
  TFont HintFont() const;
  // The hint picture in 32 bits, converted once for each picture.
  const TBitmap& WidePicture(const TBitmap& picture);
  // The extent of `text` in the canvas font; the lines are laid out once for each of the last
  // few texts and fonts measured.
  QSize TextSize(TCanvas& canvas, const QString& text);
  // Draws the text last measured, each line centred in `r`, in the canvas font's colour.
  void DrawCentredText(TCanvas& canvas, const TRect& r);
  // The skin's hint picture is in use.
  bool Skinned() const;
  // The skinned look without its text, at the window's size.
  void ComposeBackground(TBitmap& buffer);
  // The text, centred in the mapped client rectangle in the skin's font colour.
  void DrawSkinnedText(TCanvas& canvas);

  // What the skinned look's pixels and shape depend on besides the text: a picture of the
  // skin, its points and the window size they are mapped to.
  struct LookKey {
    qint64 Picture = 0;  // QImage::cacheKey of the picture (the mask for a shape)
    int W = 0, H = 0;
    TPoint Points[4], Mapped[4];
    TRect Client, MappedClient;
    bool operator==(const LookKey&) const = default;
  };
  LookKey KeyFor(const TBitmap& picture) const;
  struct PictureKey {
    bool Skinned = false;
    LookKey Look;
    QString Text;
    QFont Font;
    TColor Color = 0;
    bool operator==(const PictureKey&) const = default;
  };
  struct TextLines {
    std::unique_ptr<QTextLayout> Layout;
    QSize Extent;
  };
  struct TextKey {
    QString Text;
    QFont Font;
    bool operator==(const TextKey&) const = default;
  };

  TbsSkinHint* hintComponent_ = nullptr;  // referenced; found again at every activation
  TbsSkinData* skinInUse_ = nullptr;      // referenced; for the current hint only
  QRegion region_;
  bool lastAlphaBlend_ = false;
  uint8_t lastAlphaBlendValue_ = 0;
  TBitmap widePicture_;
  qint64 widePictureKey_ = 0;
  TRecentCache<TextKey, std::shared_ptr<TextLines>> texts_{4};
  std::shared_ptr<TextLines> lines_;  // the text last measured
  TRecentCache<LookKey, QRegion> shapes_{4};
  LookKey shapeShown_;  // the shape the window has, when shapeApplied_
  bool shapeApplied_ = false;
  TRecentCache<LookKey, QImage> backgrounds_{4};
  TRecentCache<PictureKey, QImage> pictures_{4};
  QImage unkept_;  // a picture too large to keep, for the paint under way
};

THintWindow* MakeSkinHintWindow(TComponent* owner);

class TbsSkinHint : public TComponent {
 public:
  explicit TbsSkinHint(TComponent* owner);
  ~TbsSkinHint() override;
  QString ClassName() const override { return QStringLiteral("TbsSkinHint"); }

  // ---- Published ----
  TShowHintEvent OnShowHint;
  bool Active() const { return active_; }
  void SetActive(bool v);
  TbsSkinData* SkinData() const { return skinData_; }
  void SetSkinData(TbsSkinData* v);
  bool AlphaBlend = false;
  uint8_t AlphaBlendValue = 0;
  const TFont& DefaultFont() const { return defaultFont_; }
  TFont& DefaultFont() { return defaultFont_; }
  void SetDefaultFont(const TFont& f) { defaultFont_ = f; }
  bool UseSkinFont = true;

  // ---- Delayed texts ----
  // Shows `text` near the cursor after the application's hint pause and hides it after the
  // hide pause; a new call starts again.
  void ShowHintText(const QString& text);
  // Stops a pending show or hide and hides the own window.
  void HideHintText();
  // The application's show-hint event while this component holds it.
  void ForwardShowHint(QString& hintStr, bool& canShow, THintInfo& hintInfo);
  // Rows from the cursor position down to the lowest visible row of the cursor image.
  static int CursorBottomOffset();

  TbsSkinHintWindow* OwnWindow() const { return ownWindow_.get(); }
  TTimer* DelayTimer() const { return delayTimer_.get(); }
  const QString& PendingText() const { return pendingText_; }

 protected:
  void Notification(TComponent* c, TOperation op) override;

 private:
  void ShowPendingHint();
  void HoldShowHintEvent();
  void RetireTimer();

  bool active_ = true;
  TbsSkinData* skinData_ = nullptr;  // referenced, not owned
  std::unique_ptr<TbsSkinHintWindow> ownWindow_;
  TFont defaultFont_;
  std::unique_ptr<TTimer> delayTimer_;
  // A timer dropped inside its own tick is freed at the next drop or with the component.
  std::unique_ptr<TTimer> retiredTimer_;
  QString pendingText_;
  bool waitingToHide_ = false;  // the delay timer's next tick hides the text
};

// Makes TbsSkinHint known to form definitions with its stored properties. Called by
// RegisterSkinMenuClasses.
void RegisterSkinHintClasses();

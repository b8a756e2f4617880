#include "skin/menus/bsSkinHint.h"

#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QTextLayout>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "platform/ApplicationHints.h"
#include "platform/Colors.h"
#include "platform/CursorImage.h"
#include "platform/Forms.h"
#include "platform/Screen.h"
#include "platform/Streaming.h"
#include "skin/data/SkinData.h"
#include "skin/draw/bsUtils.h"

namespace {
// The component whose ForwardShowHint is the application's show-hint event.
TbsSkinHint* g_showHintHolder = nullptr;

// The largest hint window side: a longer text is cut rather than making a window (and a
// drawing buffer) no screen can show.
constexpr int kMaxHintSide = 4096;

// The skin whose hint picture the window uses: none when it is empty or names no picture (an
// index past the picture list is no picture, like -1).
TbsSkinData* SkinForHints(TbsSkinData* sd) {
  if (!sd || sd->IsEmpty || !sd->HintWindow || sd->HintWindow->windowpictureindex == -1) return nullptr;
  const TBitmap* p = sd->ActivePicture(sd->HintWindow->windowpictureindex);
  return p && !p->Empty() ? sd : nullptr;
}
}  // namespace

// ---- TbsSkinHintWindow ------------------------------------------------------------------

THintWindow* MakeSkinHintWindow(TComponent* owner) { return new TbsSkinHintWindow(owner); }

TbsSkinHintWindow::TbsSkinHintWindow(TComponent* owner) : THintWindow(owner) {}

TbsSkinHintWindow::~TbsSkinHintWindow() = default;

void TbsSkinHintWindow::CreateParams(TCreateParams& params) {
  THintWindow::CreateParams(params);
  params.Style &= ~WS_BORDER;
}

void TbsSkinHintWindow::WndProc(TMessage& m) {
  // No frame outside the client area, and nothing to erase: Paint covers every pixel.
  if (m.Msg == WM_NCPAINT) return;
  THintWindow::WndProc(m);
}

TbsSkinHint* TbsSkinHintWindow::FindHintComponent() {
  TCustomForm* main = Application ? Application->MainForm() : nullptr;
  if (!main) return nullptr;
  for (TComponent* c : main->ComponentList())
    if (auto* h = dynamic_cast<TbsSkinHint*>(c); h && h->Active()) return h;
  return nullptr;
}

TFont TbsSkinHintWindow::HintFont() const {
  const TFont& def = hintComponent_->DefaultFont();
  if (!skinInUse_ || !hintComponent_->UseSkinFont) return def;
  const TbsDataSkinHintWindow& d = *skinInUse_->HintWindow;
  TFont f;
  f.Height = d.fontheight;
  f.Name = d.fontname;
  f.Style = d.fontstyle;
  f.Charset = def.Charset;
  return f;
}

QSize TbsSkinHintWindow::TextSize(TCanvas& canvas, const QString& text) {
  // Painting draws the lines that activation measured: the same text in the same font.
  TextKey key{text, canvas.Font.ToQFont()};
  if (std::shared_ptr<TextLines>* kept = texts_.Find(key)) {
    lines_ = *kept;
    return lines_->Extent;
  }
  const QFont& f = key.Font;
  // Lines break at line breaks only; returns and tabs show as spaces (as the canvas draws them).
  QString lines = text;
  for (QChar& c : lines) {
    if (c == u'\n') c = QChar::LineSeparator;
    else if (c == u'\r' || c == u'\t') c = u' ';
  }
  auto made = std::make_shared<TextLines>();
  made->Layout = std::make_unique<QTextLayout>(lines, f);
  QTextLayout& layout = *made->Layout;
  layout.setCacheEnabled(true);
  QTextOption option;
  option.setTextDirection(Qt::LeftToRight);
  layout.setTextOption(option);
  // Each line starts on a whole pixel, a leading below the one before.
  const qreal leading = QFontMetricsF(f).leading();
  qreal width = 0, height = -leading;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(0x01000000);
    height = std::ceil(height + leading);
    line.setPosition(QPointF(0, height));
    height += line.ascent() + line.descent();
    width = std::max(width, line.naturalTextWidth());
  }
  layout.endLayout();
  // The pixels the text covers when centred in a wide area, as the canvas measures centred text.
  constexpr qreal kArea = 100000;
  const QRect covered = QRectF((kArea - width) / 2, 0, width, std::max<qreal>(0, height)).toAlignedRect();
  made->Extent = QSize(std::min(covered.width(), kMaxHintSide), std::min(covered.height(), kMaxHintSide));
  lines_ = made;
  texts_.Put(std::move(key), std::move(made));
  return lines_->Extent;
}

void TbsSkinHintWindow::DrawCentredText(TCanvas& canvas, const TRect& r) {
  QPainter* p = canvas.Painter();
  if (!p || !lines_) return;
  const QTextLayout& layout = *lines_->Layout;
  p->save();
  p->setPen(ToQColor(canvas.Font.Color));
  for (int i = 0; i < layout.lineCount(); ++i) {
    const QTextLine line = layout.lineAt(i);
    line.draw(p, QPointF(r.Left + (r.Width() - line.horizontalAdvance()) / 2, r.Top));
  }
  p->restore();
}

QSize TbsSkinHintWindow::MeasureHint(TCanvas& canvas, const QString& text) {
  const QSize t = TextSize(canvas, text);
  if (!skinInUse_) return QSize(std::min(t.width() + 4, kMaxHintSide), std::min(t.height() + 4, kMaxHintSide));
  const TbsDataSkinHintWindow& d = *skinInUse_->HintWindow;
  const TBitmap* p = skinInUse_->ActivePicture(d.windowpictureindex);
  const int pw = p ? p->Width() : 0, ph = p ? p->Height() : 0;
  const TRect& c = d.clientrect;
  int w = std::min(t.width() + c.Left + pw - c.Right, kMaxHintSide);
  int h = std::min(t.height() + c.Top + ph - c.Bottom, kMaxHintSide);
  w = std::max(w, pw);
  h = std::max(h, ph);
  const int dx = w - pw, dy = h - ph;
  MappedClientRect = TRect(c.Left, c.Top, c.Right + dx, c.Bottom + dy);
  MappedLeftTop = d.lefttoppoint;
  MappedRightTop = TPoint(d.righttoppoint.X + dx, d.righttoppoint.Y);
  MappedLeftBottom = TPoint(d.leftbottompoint.X, d.leftbottompoint.Y + dy);
  MappedRightBottom = TPoint(d.rightbottompoint.X + dx, d.rightbottompoint.Y + dy);
  return QSize(w, h);
}

TRect TbsSkinHintWindow::CalcHintRect(int maxWidth, const QString& text) {
  hintComponent_ = FindHintComponent();
  if (!hintComponent_) return THintWindow::CalcHintRect(maxWidth, text);
  TbsSkinData* sd = hintComponent_->SkinData();
  skinInUse_ = SkinForHints(sd);
  TCanvas measure;
  measure.Font = HintFont();
  const QSize s = MeasureHint(measure, text);
  return TRect(0, 0, s.width(), s.height());
}

void TbsSkinHintWindow::ActivateHint(const TRect& rect, const QString& text) {
  hintComponent_ = FindHintComponent();
  if (!hintComponent_) return;
  TbsSkinData* sd = hintComponent_->SkinData();
  skinInUse_ = SkinForHints(sd);
  Canvas().Font = HintFont();
  FontRef() = Canvas().Font;
  SetText(text);
  const QSize s = MeasureHint(Canvas(), text);
  TRect r = Bounds(rect.Left, rect.Top, s.width(), s.height());
  // The primary screen's full size; a left or top edge below 0 stays.
  const int sw = Screen()->Width(), sh = Screen()->Height();
  if (sw > 0 && r.Right > sw) r = Bounds(r.Left - (r.Right - sw), r.Top, r.Width(), r.Height());
  if (sh > 0 && r.Bottom > sh) r = Bounds(r.Left, r.Top - (r.Bottom - sh), r.Width(), r.Height());
  SetBoundsRect(r);
  if (LayeredWindowsAvailable()) {
    const bool on = hintComponent_->AlphaBlend;
    const uint8_t value = hintComponent_->AlphaBlendValue;
    QWidget* w = Handle();
    // Made translucent again after it was opaque, the window takes the value even when unchanged.
    if (on && (!lastAlphaBlend_ || value != lastAlphaBlendValue_)) {
      SetWindowAlpha(w, value);
      lastAlphaBlendValue_ = value;
    } else if (!on && lastAlphaBlend_) {
      SetWindowAlpha(w, 255);
    }
    lastAlphaBlend_ = on;
  }
  UpdateRegion();
  // A window that shows anew paints all of itself; one that stays shown repaints its new text.
  const bool wasShown = HandleAllocated() && Handle()->isVisible();
  ShowNoActivate();
  if (wasShown) Invalidate();
}

TbsSkinHintWindow::LookKey TbsSkinHintWindow::KeyFor(const TBitmap& picture) const {
  const TbsDataSkinHintWindow& d = *skinInUse_->HintWindow;
  LookKey k;
  k.Picture = picture.Image().cacheKey();
  k.W = Width();
  k.H = Height();
  k.Points[0] = d.lefttoppoint;
  k.Points[1] = d.righttoppoint;
  k.Points[2] = d.leftbottompoint;
  k.Points[3] = d.rightbottompoint;
  k.Mapped[0] = MappedLeftTop;
  k.Mapped[1] = MappedRightTop;
  k.Mapped[2] = MappedLeftBottom;
  k.Mapped[3] = MappedRightBottom;
  k.Client = d.clientrect;
  k.MappedClient = MappedClientRect;
  return k;
}

void TbsSkinHintWindow::UpdateRegion() {
  const TbsDataSkinHintWindow* d = skinInUse_ ? skinInUse_->HintWindow.get() : nullptr;
  const TBitmap* mask = d && d->maskpictureindex != -1 ? skinInUse_->ActivePicture(d->maskpictureindex) : nullptr;
  if (mask) {
    // The shape of a size met lately is kept, and the window keeps a shape it has already.
    const LookKey key = KeyFor(*mask);
    if (shapeApplied_ && key == shapeShown_ && HasWindowRegion()) return;
    QRegion* kept = shapes_.Find(key);
    if (!kept) {
      QRegion r;
      FrameRegionFromMask(r, d->lefttoppoint, d->righttoppoint, d->leftbottompoint, d->rightbottompoint, d->clientrect,
                          MappedLeftTop, MappedRightTop, MappedLeftBottom, MappedRightBottom, MappedClientRect, *mask,
                          Width(), Height());
      kept = &shapes_.Put(key, r);
    }
    region_ = *kept;
    SetWindowRegion(region_, false);
    shapeShown_ = key;
    shapeApplied_ = true;
  } else if (!region_.isEmpty()) {
    ClearWindowRegion(false);
    region_ = QRegion();
    shapeApplied_ = false;
  }
}

const TBitmap& TbsSkinHintWindow::WidePicture(const TBitmap& picture) {
  // Composed from a 32-bit picture, the image is 32-bit: text draws on it and it goes onto the
  // window without conversions.
  if (picture.Image().format() == QImage::Format_RGB32) return picture;
  if (widePictureKey_ != picture.Image().cacheKey()) {
    widePicture_.SetImage(picture.Image().convertToFormat(QImage::Format_RGB32));
    widePictureKey_ = picture.Image().cacheKey();
  }
  return widePicture_;
}

void TbsSkinHintWindow::ComposeBackground(TBitmap& buffer) {
  const TbsDataSkinHintWindow& d = *skinInUse_->HintWindow;
  const TBitmap& p = *skinInUse_->ActivePicture(d.windowpictureindex);
  ComposeSkinImage(d.lefttoppoint, d.righttoppoint, d.leftbottompoint, d.rightbottompoint, d.clientrect, MappedLeftTop,
                   MappedRightTop, MappedLeftBottom, MappedRightBottom, MappedClientRect, buffer, WidePicture(p),
                   TRect(0, 0, p.Width(), p.Height()), Width(), Height(), true);
}

void TbsSkinHintWindow::DrawSkinnedText(TCanvas& tc) {
  tc.Brush.Style = TBrushStyle::bsClear;
  tc.Font = hintComponent_ ? HintFont() : TFont();
  tc.Font.Color = skinInUse_->HintWindow->fontcolor;
  const QSize t = TextSize(tc, Text());
  const int cw = MappedClientRect.Width(), ch = MappedClientRect.Height();
  const int x = cw / 2 + MappedClientRect.Left - t.width() / 2;
  const int y = ch / 2 + MappedClientRect.Top - t.height() / 2;
  DrawCentredText(tc, TRect(x, y, x + t.width(), y + t.height()));
}

bool TbsSkinHintWindow::Skinned() const {
  const TbsDataSkinHintWindow* d = skinInUse_ ? skinInUse_->HintWindow.get() : nullptr;
  return d && skinInUse_->ActivePicture(d->windowpictureindex);
}

void TbsSkinHintWindow::PaintTo(TBitmap& buffer) {
  const int w = std::max(0, Width()), h = std::max(0, Height());
  if (w == 0 || h == 0) {
    buffer.SetSize(w, h);
    return;
  }
  if (Skinned()) {
    ComposeBackground(buffer);
    DrawSkinnedText(buffer.Canvas());
    return;
  }
  // The skinned image above takes its size (and pixel format) from the composition.
  buffer.SetSize(w, h);
  TCanvas& c = buffer.Canvas();
  c.Brush.Style = TBrushStyle::bsSolid;
  c.Brush.Color = clInfoBk;
  c.FillRect(TRect(0, 0, w, h));
  c.Brush.Color = clBtnShadow;
  c.FrameRect(TRect(0, 0, w, h));
  c.Font = hintComponent_ ? hintComponent_->DefaultFont() : TFont();
  c.Font.Color = clInfoText;
  c.Brush.Style = TBrushStyle::bsClear;
  TRect r(2, 2, w - 2, h - 2);
  c.DrawText(Text(), r, DT_LEFT | DT_NOPREFIX);
}

const QImage& TbsSkinHintWindow::Picture() {
  // Hints are small: a picture of a hostile size is drawn each time rather than kept.
  constexpr qsizetype kMaxKeptBytes = 1 << 20;
  PictureKey key;
  key.Skinned = Skinned() && Width() > 0 && Height() > 0;
  key.Text = Text();
  if (key.Skinned) {
    key.Look = KeyFor(*skinInUse_->ActivePicture(skinInUse_->HintWindow->windowpictureindex));
    key.Font = (hintComponent_ ? HintFont() : TFont()).ToQFont();
    key.Color = skinInUse_->HintWindow->fontcolor;
  } else {
    key.Look.W = Width();
    key.Look.H = Height();
    key.Font = (hintComponent_ ? hintComponent_->DefaultFont() : TFont()).ToQFont();
  }
  if (const QImage* kept = pictures_.Find(key)) return *kept;
  QImage made;
  if (key.Skinned) {
    // The background of a size met lately is composed once; the text goes on a copy of it.
    const QImage* back = backgrounds_.Find(key.Look);
    if (!back) {
      TBitmap composed;
      ComposeBackground(composed);
      if (composed.Image().sizeInBytes() <= kMaxKeptBytes)
        back = &backgrounds_.Put(key.Look, composed.Image());
      else
        made = composed.Image();
    }
    if (back) made = back->copy();
    QPainter painter(&made);
    TCanvas canvas;
    canvas.Attach(&painter);
    DrawSkinnedText(canvas);
    canvas.Detach();
  } else {
    TBitmap buffer;
    PaintTo(buffer);
    // In the window's own depth, the picture goes onto the window as it is.
    made = buffer.Image().convertToFormat(QImage::Format_RGB32);
  }
  if (made.sizeInBytes() > kMaxKeptBytes) {
    unkept_ = made;
    return unkept_;
  }
  unkept_ = QImage();
  return pictures_.Put(std::move(key), std::move(made));
}

void TbsSkinHintWindow::Paint() {
  const QImage& picture = Picture();
  QPainter* p = Canvas().Painter();
  if (!p) {
    Canvas().Draw(0, 0, picture);
    return;
  }
  // Straight onto the window's backing store, only the part the platform asks for.
  // (The platform's clip is in device pixels.)
  QRect area = picture.rect();
  if (const QPaintEngine* engine = p->paintEngine(); engine && !engine->systemClip().isEmpty()) {
    const qreal dpr = p->device() ? std::max<qreal>(1, p->device()->devicePixelRatioF()) : 1;
    const QRectF dirty = engine->systemClip().boundingRect();
    area &= QRectF(dirty.topLeft() / dpr, dirty.size() / dpr).toAlignedRect();
  }
  const QPainter::CompositionMode mode = p->compositionMode();
  p->setCompositionMode(QPainter::CompositionMode_Source);
  p->drawImage(area.topLeft(), picture, area);
  p->setCompositionMode(mode);
}

// ---- TbsSkinHint ------------------------------------------------------------------------

TbsSkinHint::TbsSkinHint(TComponent* owner) : TComponent(owner) {
  ownWindow_ = std::make_unique<TbsSkinHintWindow>(this);
  ownWindow_->SetVisible(false);
  if (!IsDesigning() && Application) {
    HintWindowClass = &MakeSkinHintWindow;
    THintController& hints = Application->Hints();
    // Turning hints off and on again makes the application's window of the new class; when
    // they are off, one is made and freed again.
    hints.SetShowHint(!hints.ShowHint());
    hints.SetShowHint(!hints.ShowHint());
    HoldShowHintEvent();
    hints.HintShortPause = 100;
  }
  UseSkinFont = true;
}

TbsSkinHint::~TbsSkinHint() {
  Destroying();
  // The application keeps its skinned hint windows; the show-hint event must not outlive us.
  if (g_showHintHolder == this) {
    g_showHintHolder = nullptr;
    // A form freed by the application's end finds the application's hints already gone.
    if (Application && !Application->IsDestroying()) Application->Hints().OnShowHint.Clear();
  }
  ownWindow_.reset();
  delayTimer_.reset();
  retiredTimer_.reset();
}

void TbsSkinHint::HoldShowHintEvent() {
  if (!Application) return;
  g_showHintHolder = this;
  Application->Hints().OnShowHint = [this](QString& s, bool& canShow, THintInfo& info) {
    ForwardShowHint(s, canShow, info);
  };
}

void TbsSkinHint::SetActive(bool v) {
  active_ = v;
  if (v && Application && Application->MainForm()) {
    for (TComponent* c : Application->MainForm()->ComponentList())
      if (auto* h = dynamic_cast<TbsSkinHint*>(c); h && h != this && h->Active()) h->SetActive(false);
  }
  if (!IsDesigning() && active_) HoldShowHintEvent();
}

void TbsSkinHint::SetSkinData(TbsSkinData* v) {
  if (v == skinData_) return;
  if (skinData_) skinData_->RemoveFreeNotification(this);
  skinData_ = v;
  if (v) v->FreeNotification(this);
}

void TbsSkinHint::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == TOperation::opRemove && c == skinData_) skinData_ = nullptr;
}

void TbsSkinHint::ForwardShowHint(QString& hintStr, bool& canShow, THintInfo& hintInfo) {
  if (OnShowHint) OnShowHint(hintStr, canShow, hintInfo);
}

int TbsSkinHint::CursorBottomOffset() { return CursorHeightMargin(); }

void TbsSkinHint::RetireTimer() {
  if (!delayTimer_) return;
  delayTimer_->SetEnabled(false);
  retiredTimer_ = std::move(delayTimer_);
}

void TbsSkinHint::ShowHintText(const QString& text) {
  RetireTimer();
  pendingText_ = text;
  delayTimer_ = std::make_unique<TTimer>(nullptr);
  delayTimer_->SetEnabled(false);
  delayTimer_->SetInterval(Application ? Application->Hints().HintPause : 500);
  waitingToHide_ = false;
  // One handler for both ticks: the first shows the text, the second hides it.
  delayTimer_->OnTimer = [this](TComponent*) {
    if (waitingToHide_) HideHintText();
    else ShowPendingHint();
  };
  delayTimer_->SetEnabled(true);
}

void TbsSkinHint::ShowPendingHint() {
  const TPoint cursor = Screen()->CursorPos();
  const int y = cursor.Y + CursorBottomOffset();
  ownWindow_->ActivateHint(TRect(cursor.X, y, cursor.X, y), pendingText_);
  if (!delayTimer_) return;
  delayTimer_->SetEnabled(false);
  delayTimer_->SetInterval(Application ? Application->Hints().HintHidePause : 2500);
  waitingToHide_ = true;
  delayTimer_->SetEnabled(true);
}

void TbsSkinHint::HideHintText() {
  RetireTimer();
  if (ownWindow_ && ownWindow_->Visible()) ownWindow_->ReleaseHint();
}

void RegisterSkinHintClasses() {
  using T = TbsSkinHint;
  // Active, AlphaBlend, AlphaBlendValue and UseSkinFont have no stored default: always written.
  RegisterClass<T>(QStringLiteral("TbsSkinHint"), QStringLiteral("TComponent"))
      .Reference<TbsSkinData>(QStringLiteral("SkinData"), &T::SkinData, &T::SetSkinData)
      .Bool(QStringLiteral("Active"), &T::Active, &T::SetActive)
      .Bool(
          QStringLiteral("AlphaBlend"), [](const T* h) { return h->AlphaBlend; },
          [](T* h, bool v) { h->AlphaBlend = v; })
      .Integer(
          QStringLiteral("AlphaBlendValue"), [](const T* h) { return h->AlphaBlendValue; },
          [](T* h, uint8_t v) { h->AlphaBlendValue = v; })
      .Font(QStringLiteral("DefaultFont"), [](T* h) { return &h->DefaultFont(); })
      .Bool(
          QStringLiteral("UseSkinFont"), [](const T* h) { return h->UseSkinFont; },
          [](T* h, bool v) { h->UseSkinFont = v; });
}

#include "skin/controls/PlainLooks.h"

#include <algorithm>

#include "platform/Bitmap.h"

void PaintCustomControlWithoutSkin(TCanvas& c, int width, int height) {
  c.Brush.Style = TBrushStyle::bsSolid;
  c.Brush.Color = clBtnFace;
  c.FillRect(TRect(0, 0, width, height));
}

// ---- panel -------------------------------------------------------------------------------

TRect PanelPlainCaptionHitRect(int width, int defaultCaptionHeight) {
  return TRect(1, 1, width - 1, defaultCaptionHeight);
}

TRect PanelPlainChildArea(int width, int height, TbsSkinBorderStyle border, bool captionMode,
                          int defaultCaptionHeight) {
  TRect r(0, 0, width, height);
  if (border != bvNone) r = TRect(1, 1, width - 1, height - 1);
  if (captionMode) r.Top += defaultCaptionHeight;
  return r;
}

void PaintPanelWithoutSkin(TCanvas& c, int width, int height, const TPanelPlainLook& look) {
  PaintCustomControlWithoutSkin(c, width, height);
  TRect frame(0, 0, width, height);
  switch (look.BorderStyle) {
    case bvRaised: c.Frame3D(frame, clBtnHighlight, clBtnShadow, 1); break;
    case bvLowered: c.Frame3D(frame, clBtnShadow, clBtnHighlight, 1); break;
    case bvFrame: c.Frame3D(frame, clBtnShadow, clBtnShadow, 1); break;
    case bvNone: break;
  }
  if (!look.CaptionMode) return;

  TRect r;
  if (look.BorderStyle == bvFrame) {
    r = TRect(0, 0, width, look.DefaultCaptionHeight);
    c.Frame3D(r, clBtnShadow, clBtnShadow, 1);
    c.Frame3D(r, clBtnHighlight, clBtnFace, 1);
  } else {
    r = TRect(1, 1, width - 1, look.DefaultCaptionHeight);
    c.Frame3D(r, clBtnShadow, clBtnHighlight, 1);
    c.Frame3D(r, clBtnHighlight, clBtnShadow, 1);
  }
  if (look.CheckedMode) r.Left += 20;
  if (look.RollUpMode) r.Right -= 10;

  c.Font = look.Font;
  const bool hasGlyph = look.Glyph && !look.Glyph->Empty() && look.NumGlyphs > 0;
  const int glyphWidth = hasGlyph ? look.Glyph->Width() / look.NumGlyphs : 0;
  int total = c.TextWidth(look.Caption);
  if (hasGlyph) total += glyphWidth + look.Spacing;
  const int ty = r.Top + r.Height() / 2 - c.TextHeight(look.Caption) / 2;
  int tx;
  switch (look.DefaultAlignment) {
    case taRightJustify: tx = r.Right - total; break;
    case taCenter: tx = r.Left + 2 + r.Width() / 2 - total / 2; break;
    default: tx = r.Left + 2; break;
  }

  if (look.CheckedMode) {
    const int cy = r.Top + r.Height() / 2;
    TRect box(5, cy - 7, 19, cy + 7);
    c.Frame3D(box, clBtnShadow, clBtnShadow, 1);
    if (look.Checked) PaintCheckGlyph(c, box.Left + 3, box.Top + 2, clBtnText);
  }

  int gx = 0, gy = 0, frameNo = 1;
  if (hasGlyph) {
    gx = tx;
    gy = r.Top + r.Height() / 2 - look.Glyph->Height() / 2;
    tx += glyphWidth + look.Spacing;
    frameNo = (!look.Enabled && look.NumGlyphs == 2) ? 2 : 1;
  }
  c.Brush.Style = TBrushStyle::bsClear;
  c.TextRect(r, tx, ty, look.Caption);
  if (hasGlyph) DrawGlyphFrame(c, gx, gy, *look.Glyph, look.NumGlyphs, frameNo);

  if (look.RollUpMode)
    PaintArrowGlyph(c, TRect(r.Right, r.Top, r.Right + 10, r.Bottom), clBtnText,
                    look.RollUpState ? adDown : adUp);
  c.Brush.Style = TBrushStyle::bsSolid;
}

// ---- button ------------------------------------------------------------------------------

int ButtonGlyphFrame(bool down, bool active, bool enabled, int numGlyphs) {
  if (down && active && numGlyphs > 2) return 3;
  if (active && numGlyphs > 3) return 4;
  if (!enabled && numGlyphs > 1) return 2;
  return 1;
}

TRect LayoutRect(const TRect& r) {
  auto hold = [](int32_t v) { return std::clamp(v, -(1 << 20), 1 << 20); };
  return TRect(hold(r.Left), hold(r.Top), hold(r.Right), hold(r.Bottom));
}

void DrawGlyphAndCaption(TCanvas& c, const TRect& area, const TGlyphCaption& g) {
  const TRect r = LayoutRect(area);
  const bool hasGlyph = g.Glyph && !g.Glyph->Empty() && g.NumGlyphs > 0;
  const int gw = hasGlyph ? g.Glyph->Width() / g.NumGlyphs : 0;
  const int gh = hasGlyph ? g.Glyph->Height() : 0;
  TRect measure(0, 0, 0, 0);
  c.DrawText(g.Caption, measure, DT_CALCRECT);
  const int tw = measure.Width(), th = measure.Height();
  c.Brush.Style = TBrushStyle::bsClear;

  const int cx = r.Left + r.Width() / 2, cy = r.Top + r.Height() / 2;
  const int spacing = std::clamp(g.Spacing, -(1 << 20), 1 << 20);
  const int mh = (gw + tw + spacing) / 2, mv = (gh + th + spacing) / 2;
  int gx = 0, gy = 0, tx = 0, ty = 0;
  if (g.Margin == -1) {
    switch (g.Layout) {
      case blGlyphLeft: gx = cx - mh; gy = cy - gh / 2; tx = cx + mh - tw; ty = cy - th / 2; break;
      case blGlyphRight: gx = cx + mh - gw; gy = cy - gh / 2; tx = cx - mh; ty = cy - th / 2; break;
      case blGlyphTop: gx = cx - gw / 2; gy = cy - mv; tx = cx - tw / 2; ty = cy + mv - th; break;
      case blGlyphBottom: gx = cx - gw / 2; gy = cy + mv - gh; tx = cx - tw / 2; ty = cy - mv; break;
    }
  } else {
    const int m = std::min(g.Margin, 1 << 20);
    switch (g.Layout) {
      case blGlyphLeft: gx = r.Left + m; gy = cy - gh / 2; tx = r.Left + m + gw + spacing; ty = cy - th / 2; break;
      case blGlyphRight: gx = r.Right - gw - m; gy = cy - gh / 2; tx = gx - spacing - tw; ty = cy - th / 2; break;
      case blGlyphTop: gx = cx - gw / 2; gy = r.Top + m; tx = cx - tw / 2; ty = gy + gh + spacing; break;
      case blGlyphBottom: gx = cx - gw / 2; gy = r.Bottom - gh - m; tx = cx - tw / 2; ty = gy - spacing - th; break;
    }
  }
  if (g.Pressed) { ++gx; ++gy; ++tx; ++ty; }

  TRect text(tx, ty, tx, ty);
  c.DrawText(g.Caption, text, DT_CALCRECT);
  text.Right += 2;
  c.DrawText(g.Caption, text, DT_CENTER | DT_VCENTER);
  if (hasGlyph) DrawGlyphFrame(c, gx, gy, *g.Glyph, g.NumGlyphs, g.GlyphFrame);
}

int ButtonPlainState(const TButtonPlainLook& b) {
  const bool focusedLook = b.Focused && b.CanFocused;
  if (b.Down && (b.Hot || (focusedLook && !b.MousePressed) || b.GroupIndex != 0)) return 2;
  if (b.Hot || focusedLook) return 1;
  return 0;
}

void PaintButtonWithoutSkin(TCanvas& c, int width, int height, const TButtonPlainLook& b) {
  const TRect client(0, 0, width, height);
  TRect r = client;
  const int state = ButtonPlainState(b);
  c.Brush.Style = TBrushStyle::bsSolid;
  if (state == 2) {
    c.Frame3D(r, clNavy, clNavy, 1);
    c.Brush.Color = clPlainDown;
  } else if (state == 1) {
    c.Frame3D(r, clNavy, clNavy, 1);
    c.Brush.Color = clPlainHot;
  } else {
    c.Frame3D(r, clBtnShadow, clBtnShadow, 1);
    c.Brush.Color = clBtnFace;
  }
  c.FillRect(r);

  c.Font = b.Font;
  if (!b.Enabled) c.Font.Color = clBtnShadow;
  TGlyphCaption content = b.Content;
  content.Pressed = state == 2;
  content.GlyphFrame = ButtonGlyphFrame(b.Down, b.Hot, b.Enabled, content.NumGlyphs);
  DrawGlyphAndCaption(c, client, content);
  c.Brush.Style = TBrushStyle::bsSolid;
}

// ---- edit --------------------------------------------------------------------------------

TRect EditPlainTextBox(int width, int height, bool buttonMode) {
  return buttonMode ? TRect(2, 2, width - 22, height - 2) : TRect(2, 2, width - 2, height - 2);
}

TRect EditPlainButtonArea(int width, int height) { return TRect(width - 20, 0, width, height); }

void PaintEditFrameWithoutSkin(TCanvas& c, int width, int height, const TEditPlainLook& e) {
  const int b = e.ButtonMode ? width - e.ButtonArea.Left : 0;
  TRect r(0, 0, width - b, height);
  if (e.Active) {
    c.Frame3D(r, clBtnShadow, clBtnShadow, 1);
    c.Frame3D(r, clBtnFace, clBtnFace, 1);
  } else {
    c.Frame3D(r, clBtnFace, clBtnFace, 1);
    c.Frame3D(r, clBtnShadow, clBtnShadow, 1);
  }
  if (!e.ButtonMode) return;
  r = e.ButtonArea;
  c.Brush.Style = TBrushStyle::bsSolid;
  if (e.ButtonPressed && e.ButtonHot) {
    c.Frame3D(r, clNavy, clNavy, 1);
    c.Brush.Color = clPlainDown;
  } else if (e.ButtonHot) {
    c.Frame3D(r, clNavy, clNavy, 1);
    c.Brush.Color = clPlainHot;
  } else {
    c.Frame3D(r, clBtnShadow, clBtnShadow, 1);
    c.Brush.Color = clBtnFace;
  }
  c.FillRect(r);
}

// ---- up-down -----------------------------------------------------------------------------

void PaintUpDownButtonWithoutSkin(TCanvas& c, const TRect& button, bool hot, bool pressed,
                                  TArrowDirection direction) {
  TRect r = button;
  c.Brush.Style = TBrushStyle::bsSolid;
  if (pressed && hot) {
    c.Frame3D(r, clNavy, clNavy, 1);
    c.Brush.Color = clPlainDown;
  } else if (hot) {
    c.Frame3D(r, clNavy, clNavy, 1);
    c.Brush.Color = clPlainHot;
  } else {
    c.Frame3D(r, clBtnShadow, clBtnShadow, 1);
    c.Brush.Color = clBtnFace;
  }
  c.FillRect(r);
  PaintArrowGlyph(c, button, clBlack, direction);
}

// ---- page control ------------------------------------------------------------------------

void PaintPageFrameWithoutSkin(TCanvas& c, int width, int height, const TRect& displayRect) {
  PaintCustomControlWithoutSkin(c, width, height);
  TRect r(displayRect.Left - 1, displayRect.Top - 1, displayRect.Right + 1, displayRect.Bottom + 1);
  c.Frame3D(r, clBtnShadow, clBtnShadow, 1);
}

void PaintTabWithoutSkin(TCanvas& c, int length, int thickness, bool hot, bool selected,
                         bool focused, const TFont& font, const QString& caption) {
  TRect r(0, 0, length, thickness);
  c.Brush.Style = TBrushStyle::bsSolid;
  if (!selected) {
    c.Brush.Color = hot ? clPlainHot : clBtnFace;
  } else {
    c.Frame3D(r, clNavy, clNavy, 1);
    c.Brush.Color = focused ? clPlainDown : clPlainHot;
  }
  c.FillRect(r);
  c.Brush.Style = TBrushStyle::bsClear;
  c.Font = font;
  TRect text(0, 0, length, thickness);
  c.DrawText(caption, text, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  c.Brush.Style = TBrushStyle::bsSolid;
}

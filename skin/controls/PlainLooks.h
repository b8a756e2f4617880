// The skinned controls' looks without a skin ("paint without skin"): free functions that
// draw on a canvas from plain values, so that every look can be checked on a bitmap with no
// window. All sizes and positions are in pixels of the target canvas. GUI thread only.
#pragma once
#include <QString>

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Types.h"
#include "skin/draw/bsUtils.h"

class TBitmap;

// Fill colours of the hot and pressed plain looks: red 182, green 189, blue 210 (hot) and
// red 133, green 147, blue 181 (pressed).
constexpr TColor clPlainHot = 13811126;
constexpr TColor clPlainDown = 11899781;


enum TbsSkinBorderStyle { bvRaised = 0, bvLowered = 1, bvNone = 2, bvFrame = 3 };

enum TbsButtonLayout { blGlyphLeft = 0, blGlyphRight = 1, blGlyphTop = 2, blGlyphBottom = 3 };

// The plain face of every skinned custom control: the client rectangle in the button face.
void PaintCustomControlWithoutSkin(TCanvas& c, int width, int height);

// ---- panel -------------------------------------------------------------------------------
struct TPanelPlainLook {
  TbsSkinBorderStyle BorderStyle = bvRaised;
  bool CaptionMode = false;
  int DefaultCaptionHeight = 22;
  TAlignment DefaultAlignment = taLeftJustify;
  bool CheckedMode = false, Checked = false;
  bool RollUpMode = false, RollUpState = false;
  bool Enabled = true;
  QString Caption;
  TFont Font;                        // the panel's DefaultFont
  const TBitmap* Glyph = nullptr;    // referenced, not owned; may be null or empty
  int NumGlyphs = 1;
  int Spacing = 2;
};

void PaintPanelWithoutSkin(TCanvas& c, int width, int height, const TPanelPlainLook& look);

// The caption strip a click may hit and the area left to children, both without a skin.
TRect PanelPlainCaptionHitRect(int width, int defaultCaptionHeight);
TRect PanelPlainChildArea(int width, int height, TbsSkinBorderStyle border, bool captionMode,
                          int defaultCaptionHeight);

// ---- button ------------------------------------------------------------------------------
// Frame (1-based) of a glyph strip for the given state.
int ButtonGlyphFrame(bool down, bool active, bool enabled, int numGlyphs);

// `r` held to +-2^20 (far beyond any bitmap), so that layout sums on it cannot overflow
// whatever a skin gives.
TRect LayoutRect(const TRect& r);

// Places the glyph and caption in `r` and draws them with the canvas font (colour included).
struct TGlyphCaption {
  QString Caption;
  const TBitmap* Glyph = nullptr;  // referenced, not owned
  int NumGlyphs = 1;
  int GlyphFrame = 1;
  int Margin = -1;
  int Spacing = 1;
  TbsButtonLayout Layout = blGlyphLeft;
  bool Pressed = false;
};
void DrawGlyphAndCaption(TCanvas& c, const TRect& r, const TGlyphCaption& g);

struct TButtonPlainLook {
  bool Down = false, Hot = false, Focused = false, CanFocused = true, MousePressed = false;
  int GroupIndex = 0;
  bool Enabled = true;
  TFont Font;  // the button's DefaultFont
  TGlyphCaption Content;  // Pressed and GlyphFrame are filled in from the state
};
// Which of the three plain looks a state shows: 0 normal, 1 hot/focused, 2 down.
int ButtonPlainState(const TButtonPlainLook& look);
void PaintButtonWithoutSkin(TCanvas& c, int width, int height, const TButtonPlainLook& look);

// ---- edit --------------------------------------------------------------------------------
struct TEditPlainLook {
  bool Active = false;  // mouse inside or focused
  bool ButtonMode = false;
  TRect ButtonArea;
  bool ButtonPressed = false, ButtonHot = false;
};
// The edit's text and button areas without a skin, in window coordinates.
TRect EditPlainTextBox(int width, int height, bool buttonMode);
TRect EditPlainButtonArea(int width, int height);
void PaintEditFrameWithoutSkin(TCanvas& c, int width, int height, const TEditPlainLook& look);

// ---- up-down -----------------------------------------------------------------------------
// One arrow button of an up-down, drawn in rectangle r.
void PaintUpDownButtonWithoutSkin(TCanvas& c, const TRect& r, bool hot, bool pressed,
                                  TArrowDirection direction);

// ---- page control ------------------------------------------------------------------------
// The page frame: the client area in the button face and a one-pixel shadow frame around the
// display rectangle grown by one.
void PaintPageFrameWithoutSkin(TCanvas& c, int width, int height, const TRect& displayRect);
// One tab image of `length` x `thickness`, caption centred in `font`.
void PaintTabWithoutSkin(TCanvas& c, int length, int thickness, bool hot, bool selected,
                         bool focused, const TFont& font, const QString& caption);

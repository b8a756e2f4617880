#include "SkinViewChildren.h"

#include <QStringList>

#include "SkinViewArt.h"
#include "platform/Forms.h"
#include "platform/ImageList.h"
#include "platform/Menus.h"
#include "platform/ShortCut.h"
#include "skin/controls/bsSkinButton.h"
#include "skin/controls/bsSkinEdit.h"
#include "skin/controls/bsSkinPanel.h"
#include "skin/controls/bsSkinStdLabel.h"
#include "skin/controls/bsSkinTabs.h"
#include "skin/controls/bsSkinUpDown.h"
#include "skin/menus/bsSkinPopupMenu.h"

namespace {
// A control of the form, placed, skinned and with its hint.
template <class T>
T* Put(TCustomForm& form, TWinControl* parent, int x, int y, int w, int h, const QString& hint, TbsSkinData* data) {
  auto* c = new T(&form);
  c->SetParent(parent);
  c->SetBounds(x, y, w, h);
  c->SetSkinData(data);
  c->SetHint(hint);
  c->SetShowHint(true);
  return c;
}

// An up-down of the given orientation. Its section is named as the form designer names it:
// at run time the orientation alone keeps the horizontal section, and with it that size.
TbsSkinUpDown* PutUpDown(TCustomForm& form, int x, int y, TUDOrientation orientation, const QString& hint,
                         TbsSkinData* data) {
  const bool vertical = orientation == TUDOrientation::udVertical;
  auto* c = new TbsSkinUpDown(&form);
  c->SetParent(&form);
  c->SetBounds(x, y, vertical ? 16 : 32, vertical ? 21 : 16);
  c->SetOrientation(orientation);
  c->SetSkinDataName(vertical ? QStringLiteral("vupdown") : QStringLiteral("hupdown"));
  c->SetSkinData(data);
  c->SetHint(hint);
  c->SetShowHint(true);
  return c;
}

// The same with a caption.
template <class T>
T* PutCaptioned(TCustomForm& form, TWinControl* parent, int x, int y, int w, int h, const QString& caption,
                const QString& hint, TbsSkinData* data) {
  auto* c = Put<T>(form, parent, x, y, w, h, hint, data);
  c->SetCaption(caption);
  return c;
}
constexpr auto PutPanel = PutCaptioned<TbsSkinPanel>;
constexpr auto PutButton = PutCaptioned<TbsSkinButton>;

TbsSkinStdLabel* PutLabel(TCustomForm& form, TWinControl* parent, int x, int y, const QString& caption,
                          TbsSkinData* data) {
  // A fixed width: the text fits in every skin's font, before and after a skin change.
  auto* l = Put<TbsSkinStdLabel>(form, parent, x, y, 180, 16, caption, data);
  l->SetAutoSize(false);
  l->SetCaption(caption);
  return l;
}

void FillPanels(TCustomForm& f, TbsSkinData* d) {
  auto* caption = PutPanel(f, &f, 8, 8, 200, 110, QStringLiteral("Caption panel"),
                           QStringLiteral("A panel with a caption bar"), d);
  caption->SetCaptionMode(true);
  caption->SetGlyph(GlyphStrip(TArtKind::akStar, 1));
  caption->SetNumGlyphs(1);
  PutLabel(f, caption, 10, 40, QStringLiteral("Inside a caption panel"), d);

  auto* rollUp = PutPanel(f, &f, 216, 8, 200, 110, QStringLiteral("Roll-up panel"),
                          QStringLiteral("Click the marker in the caption to roll it up"), d);
  rollUp->SetCaptionMode(true);
  rollUp->SetRollUpMode(true);
  PutLabel(f, rollUp, 10, 40, QStringLiteral("Rolls up to its caption"), d);

  auto* rolled = PutPanel(f, &f, 216, 124, 200, 110, QStringLiteral("Rolled up"),
                          QStringLiteral("A roll-up panel that starts rolled up"), d);
  rolled->SetCaptionMode(true);
  rolled->SetRollUpMode(true);
  rolled->SetRollUpState(true);

  auto* checked = PutPanel(f, &f, 8, 124, 200, 80, QStringLiteral("Checked panel"),
                           QStringLiteral("A check panel: its controls follow the check"), d);
  checked->SetCaptionMode(true);
  checked->SetCheckedMode(true);
  checked->SetChecked(true);
  PutButton(f, checked, 10, 32, 90, 25, QStringLiteral("Enabled"), QStringLiteral("Enabled while checked"), d);

  auto* unchecked = PutPanel(f, &f, 8, 210, 200, 80, QStringLiteral("Unchecked panel"),
                             QStringLiteral("A check panel that is not checked"), d);
  unchecked->SetCaptionMode(true);
  unchecked->SetCheckedMode(true);
  unchecked->SetChecked(false);
  PutButton(f, unchecked, 10, 32, 90, 25, QStringLiteral("Disabled"), QStringLiteral("Disabled while unchecked"), d);

  const struct {
    TbsSkinBorderStyle style;
    const char* caption;
  } borders[] = {{bvRaised, "Raised"}, {bvLowered, "Lowered"}, {bvFrame, "Frame"}, {bvNone, "None"}};
  int x = 8;
  for (const auto& b : borders) {
    auto* p = PutPanel(f, &f, x, 296, 96, 40, QLatin1String(b.caption),
                       QStringLiteral("A panel with the %1 border").arg(QLatin1String(b.caption)), d);
    p->SetBorderStyle(b.style);
    p->SetDefaultAlignment(taCenter);
    x += 102;
  }
  auto* disabled = PutPanel(f, &f, 216, 240, 200, 50, QStringLiteral("Disabled panel"),
                            QStringLiteral("A panel that is not enabled"), d);
  disabled->SetCaptionMode(true);
  disabled->SetEnabled(false);
}

void FillButtons(TCustomForm& f, TbsSkinData* d) {
  auto* ok = PutButton(f, &f, 8, 8, 100, 27, QStringLiteral("&Default"), QStringLiteral("The default button (Enter)"), d);
  ok->SetDefault(true);
  auto* cancel = PutButton(f, &f, 116, 8, 100, 27, QStringLiteral("&Cancel"), QStringLiteral("The cancel button (Escape)"), d);
  cancel->SetCancel(true);
  auto* off = PutButton(f, &f, 224, 8, 100, 27, QStringLiteral("Disabled"), QStringLiteral("A button that is not enabled"), d);
  off->SetEnabled(false);

  const struct {
    TbsButtonLayout layout;
    TArtKind art;
    const char* caption;
  } glyphs[] = {{blGlyphLeft, TArtKind::akOpen, "&Open"},
                {blGlyphRight, TArtKind::akSave, "&Save"},
                {blGlyphTop, TArtKind::akStar, "Star"},
                {blGlyphBottom, TArtKind::akHeart, "Heart"}};
  int x = 8;
  for (const auto& g : glyphs) {
    const bool tall = g.layout == blGlyphTop || g.layout == blGlyphBottom;
    auto* b = PutButton(f, &f, x, 44, 76, tall ? 48 : 27, QLatin1String(g.caption),
                        QStringLiteral("A button with a glyph"), d);
    b->SetGlyph(GlyphStrip(g.art, 4));
    b->SetNumGlyphs(4);
    b->SetLayout(g.layout);
    x += 82;
  }
  auto* greyed = PutButton(f, &f, x, 44, 76, 27, QStringLiteral("Greyed"), QStringLiteral("A disabled button's glyph"), d);
  greyed->SetGlyph(GlyphStrip(TArtKind::akCross, 2));
  greyed->SetNumGlyphs(2);
  greyed->SetEnabled(false);

  PutLabel(f, &f, 8, 102, QStringLiteral("Group (one down):"), d);
  for (int i = 0; i < 3; ++i) {
    auto* b = PutButton(f, &f, 8 + 64 * i, 120, 60, 25, QStringLiteral("Left Centre Right").split(u' ')[i],
                        QStringLiteral("Buttons of group 1: one is always down"), d);
    b->SetGroupIndex(1);
    b->SetDown(i == 1);
  }
  PutLabel(f, &f, 216, 102, QStringLiteral("Group (all up allowed):"), d);
  for (int i = 0; i < 2; ++i) {
    auto* b = PutButton(f, &f, 216 + 64 * i, 120, 60, 25, i == 0 ? QStringLiteral("Bold") : QStringLiteral("Italic"),
                        QStringLiteral("Buttons of group 2: all may be up"), d);
    b->SetGroupIndex(2);
    b->SetAllowAllUp(true);
  }

  auto* count = PutLabel(f, &f, 120, 162, QStringLiteral("Pressed 0 times"), d);
  auto* repeat = PutButton(f, &f, 8, 156, 100, 27, QStringLiteral("&Repeat"),
                           QStringLiteral("Hold it down: it clicks again and again"), d);
  repeat->SetRepeatMode(true);
  repeat->SetRepeatInterval(100);
  repeat->OnClick = [count, n = 0](TComponent*) mutable { count->SetCaption(QStringLiteral("Pressed %1 times").arg(++n)); };
}

// The labels left of the edits end before the edits begin.
constexpr int kEditLabelWidth = 108;

void FillEdits(TCustomForm& f, TbsSkinData* d) {
  // Each label leads to its edit (the name a screen reader reads for it).
  auto* plainLabel = PutLabel(f, &f, 8, 12, QStringLiteral("Plain edit:"), d);
  plainLabel->SetWidth(kEditLabelWidth);
  auto* plain = Put<TbsSkinEdit>(f, &f, 120, 8, 180, 21, QStringLiteral("An edit box"), d);
  plain->SetText(QStringLiteral("Some text"));
  plainLabel->SetFocusControl(plain);
  auto* browseLabel = PutLabel(f, &f, 8, 40, QStringLiteral("With a button:"), d);
  browseLabel->SetWidth(kEditLabelWidth);
  auto* browse = Put<TbsSkinEdit>(f, &f, 120, 36, 180, 21, QStringLiteral("An edit box with a button"), d);
  browseLabel->SetFocusControl(browse);
  browse->SetButtonMode(true);
  browse->SetText(QStringLiteral("Press the button"));
  browse->OnButtonClick = [browse](TComponent*) { browse->SetText(QStringLiteral("The button was pressed")); };
  auto* passwordLabel = PutLabel(f, &f, 8, 68, QStringLiteral("Password:"), d);
  passwordLabel->SetWidth(kEditLabelWidth);
  auto* password = Put<TbsSkinEdit>(f, &f, 120, 64, 180, 21, QStringLiteral("A password edit"), d);
  passwordLabel->SetFocusControl(password);
  password->SetEditPasswordChar(u'*');
  password->SetText(QStringLiteral("secret"));
  auto* offLabel = PutLabel(f, &f, 8, 96, QStringLiteral("Disabled:"), d);
  offLabel->SetWidth(kEditLabelWidth);
  offLabel->SetEnabled(false);
  auto* off = Put<TbsSkinEdit>(f, &f, 120, 92, 180, 21, QStringLiteral("An edit that is not enabled"), d);
  off->SetText(QStringLiteral("Not enabled"));
  off->SetEnabled(false);

  PutLabel(f, &f, 8, 130, QStringLiteral("Up-down:"), d)->SetWidth(kEditLabelWidth);
  auto* number = Put<TbsSkinEdit>(f, &f, 120, 126, 60, 21, QStringLiteral("The up-down's position"), d);
  auto* vertical = PutUpDown(f, 182, 126, TUDOrientation::udVertical, QStringLiteral("A vertical up-down"), d);
  vertical->SetMin(0);
  vertical->SetMax(100);
  vertical->SetPosition(50);
  number->SetText(QStringLiteral("50"));
  vertical->OnChange = [number, vertical](TComponent*) { number->SetText(QString::number(vertical->Position())); };
  auto* horizontal = PutUpDown(f, 210, 126, TUDOrientation::udHorizontal, QStringLiteral("A horizontal up-down"), d);
  horizontal->OnChange = [number, horizontal](TComponent*) { number->SetText(QString::number(horizontal->Position())); };
  auto* offUpDown =
      PutUpDown(f, 252, 126, TUDOrientation::udVertical, QStringLiteral("An up-down that is not enabled"), d);
  offUpDown->SetEnabled(false);

  auto* big = PutLabel(f, &f, 8, 164, QStringLiteral("A label in the skin's font, right aligned"), d);
  big->SetBounds(8, 164, 292, 16);
  big->SetAlignment(taRightJustify);
}

TbsSkinPageControl* PutPages(TCustomForm& f, int x, int y, int w, int h, TTabPosition position, int tabs,
                             const QString& hint, TbsSkinData* d) {
  auto* pc = Put<TbsSkinPageControl>(f, &f, x, y, w, h, hint, d);
  pc->SetTabPosition(position);
  for (int i = 0; i < tabs; ++i) {
    auto* sheet = new TbsSkinTabSheet(&f);
    sheet->SetPageControl(pc);
    sheet->SetCaption(QStringLiteral("Page %1").arg(i + 1));
    auto* l = new TbsSkinStdLabel(&f);
    l->SetParent(sheet);
    l->SetBounds(8, 8, 120, 16);
    l->SetSkinData(d);
    l->SetCaption(QStringLiteral("This is page %1").arg(i + 1));
  }
  return pc;
}

void FillPages(TCustomForm& f, TbsSkinData* d) {
  PutPages(f, 8, 8, 250, 110, TTabPosition::tpTop, 3, QStringLiteral("Tabs at the top"), d);
  PutPages(f, 266, 8, 250, 110, TTabPosition::tpBottom, 3, QStringLiteral("Tabs at the bottom"), d);
  PutPages(f, 8, 126, 250, 110, TTabPosition::tpLeft, 3, QStringLiteral("Tabs at the left"), d);
  PutPages(f, 266, 126, 250, 110, TTabPosition::tpRight, 3, QStringLiteral("Tabs at the right"), d);
  auto* many = PutPages(f, 8, 244, 508, 90, TTabPosition::tpTop, 14,
                        QStringLiteral("More tabs than fit: the arrows scroll them"), d);
  many->SetActivePageIndex(2);
}

void FillMenus(TCustomForm& f, TbsSkinData* d) {
  auto* images = new TImageList(&f);
  images->SetSize(16, 16);
  for (TArtKind k : {TArtKind::akOpen, TArtKind::akSave, TArtKind::akStar, TArtKind::akHeart, TArtKind::akArrow,
                     TArtKind::akCross})
    images->Add(MenuImage(k));

  auto* menu = new TbsSkinPopupMenu(&f);
  menu->SetSkinData(d);
  menu->SetImages(images);
  auto add = [&f](TMenuItem* parent, const QString& caption, int image = -1) {
    auto* item = new TMenuItem(&f);
    item->SetCaption(caption);
    item->SetImageIndex(image);
    parent->Add(item);
    return item;
  };
  TMenuItem* root = menu->Items();
  add(root, QStringLiteral("&Open"), 0)->SetShortCut(ShortCut('N', ssCtrl));
  add(root, QStringLiteral("&Save"), 1);
  add(root, QStringLiteral("&Favourite"), 2)->SetEnabled(false);
  add(root, QStringLiteral("-"));
  auto* grid = add(root, QStringLiteral("Show &grid"));
  grid->SetAutoCheck(true);
  grid->SetChecked(true);
  auto* rulers = add(root, QStringLiteral("Show &rulers"));
  rulers->SetAutoCheck(true);
  auto* locked = add(root, QStringLiteral("Locked (checked, disabled)"));
  locked->SetChecked(true);
  locked->SetEnabled(false);
  add(root, QStringLiteral("-"));
  const QStringList sizes{QStringLiteral("S&mall"), QStringLiteral("M&edium"), QStringLiteral("&Large")};
  for (int i = 0; i < sizes.size(); ++i) {
    auto* r = add(root, sizes[i]);
    r->SetRadioItem(true);
    r->SetGroupIndex(1);
    r->SetAutoCheck(true);
    r->SetChecked(i == 1);
  }
  add(root, QStringLiteral("-"));
  TMenuItem* more = add(root, QStringLiteral("&More"), 4);
  add(more, QStringLiteral("First &sub-item"), 3);
  add(more, QStringLiteral("Second sub-item"));
  add(more, QStringLiteral("-"));
  TMenuItem* deeper = add(more, QStringLiteral("&Deeper"));
  for (int i = 1; i <= 3; ++i) add(deeper, QStringLiteral("Level three, item %1").arg(i));
  add(more, QStringLiteral("Disabled sub-item"))->SetEnabled(false);
  add(root, QStringLiteral("-"));
  // More items than fit on a screen: the menu scrolls.
  TMenuItem* recent = add(root, QStringLiteral("&Recent files"));
  for (int i = 1; i <= 60; ++i) add(recent, QStringLiteral("Recent file %1").arg(i));
  for (int i = 1; i <= 80; ++i) add(root, QStringLiteral("Item %1").arg(i), i % 6 == 0 ? 5 : -1);

  auto* area = PutPanel(f, &f, 8, 8, 300, 150, QStringLiteral("Popup menu"),
                        QStringLiteral("A right click opens the skinned popup menu"), d);
  area->SetAlign(TAlign::alClient);
  auto* label = PutLabel(f, area, 12, 12, QStringLiteral("Right-click here for the popup menu"), d);
  label->SetWidth(260);
  for (TControl* c : {static_cast<TControl*>(area), static_cast<TControl*>(label)})
    c->OnMouseUp = [menu, c](TComponent*, TMouseButton button, TShiftState, int x, int y) {
      if (button != TMouseButton::mbRight) return;
      const TPoint p = c->ClientToScreen(TPoint{x, y});
      menu->PopupComponent = c;
      menu->PopupAt(p.X, p.Y);
    };
}
}  // namespace

QString ChildTopicCaption(TChildTopic topic) {
  switch (topic) {
    case TChildTopic::ctPanels: return QStringLiteral("Panels");
    case TChildTopic::ctButtons: return QStringLiteral("Buttons");
    case TChildTopic::ctEdits: return QStringLiteral("Edits");
    case TChildTopic::ctPages: return QStringLiteral("Pages");
    case TChildTopic::ctMenus: return QStringLiteral("Menus");
  }
  return QString();
}

void ChildTopicSize(TChildTopic topic, int& width, int& height) {
  switch (topic) {
    case TChildTopic::ctPanels: width = 460, height = 400; return;
    case TChildTopic::ctButtons: width = 460, height = 250; return;
    case TChildTopic::ctEdits: width = 360, height = 250; return;
    case TChildTopic::ctPages: width = 560, height = 400; return;
    case TChildTopic::ctMenus: width = 360, height = 220; return;
  }
}

void FillChild(TCustomForm& form, TChildTopic topic, TbsSkinData* data) {
  switch (topic) {
    case TChildTopic::ctPanels: FillPanels(form, data); return;
    case TChildTopic::ctButtons: FillButtons(form, data); return;
    case TChildTopic::ctEdits: FillEdits(form, data); return;
    case TChildTopic::ctPages: FillPages(form, data); return;
    case TChildTopic::ctMenus: FillMenus(form, data); return;
  }
}

void FillToolForm(TCustomForm& form, TbsSkinData* data) {
  auto* panel = PutPanel(form, &form, 0, 0, 100, 100, QStringLiteral("A normal form"),
                         QStringLiteral("A top-level form with every frame button and magnetic edges"), data);
  panel->SetAlign(TAlign::alClient);
  panel->SetCaptionMode(true);
  PutLabel(form, panel, 10, 36, QStringLiteral("Drag it near a screen edge:"), data)->SetWidth(240);
  PutLabel(form, panel, 10, 54, QStringLiteral("its magnetic edges snap."), data)->SetWidth(240);
  auto* close = PutButton(form, panel, 10, 80, 90, 25, QStringLiteral("Close"), QStringLiteral("Closes this form"), data);
  close->OnClick = [&form](TComponent*) { form.Close(); };
}

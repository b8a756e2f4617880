// Data of the form objects ([SKINOBJECTS] and the sections it names) and of the popup and
// hint windows. Each field is named after the key that fills it; the field tables below are
// in key order, base class keys first. Objects are owned by the skin data's lists.
#pragma once
#include <QString>
#include <memory>

#include "skin/data/SkinIni.h"

// Defines LoadSection / StoreSection of a data class from its field table `Fields`:
// the base class's keys first, then this class's own.
#define LG_SKIN_SECTION_IO(Self, Base)                                  \
  void LoadSection(const TMemIniFile& ini) override {                   \
    Base::LoadSection(ini);                                             \
    TSkinSectionReader r(ini, SectionName);                             \
    Fields(r, *this);                                                   \
  }                                                                     \
  void StoreSection(TMemIniFile& ini) const override {                  \
    Base::StoreSection(ini);                                            \
    TSkinSectionWriter w(ini, SectionName);                             \
    Fields(w, *this);                                                   \
  }                                                                     \
  QString ClassName() const override { return QStringLiteral(#Self); } \
  template <class V, class S>                                           \
  static void Fields(V& v, S& s)

class TbsDataSkinObject {
 public:
  explicit TbsDataSkinObject(const QString& name) : SectionName(name) {}
  virtual ~TbsDataSkinObject() = default;
  // Reads the keys of this object's section; a missing key gives its default.
  virtual void LoadSection(const TMemIniFile& ini);
  // Erases this object's section in `ini`, then writes every key of its table.
  virtual void StoreSection(TMemIniFile& ini) const;
  virtual QString ClassName() const { return QStringLiteral("TbsDataSkinObject"); }

  QString SectionName;
  QString hint;
  bool skinrectinapicture = false;
  TRect skinrect;
  TRect activeskinrect;
  int32_t activepictureindex = -1;
  bool morphing = false;
  TMorphKind morphkind = mkDefault;

  template <class V, class S>
  static void Fields(V& v, S& s) {
    v.Text("hint", s.hint);
    v.Flag("skinrectinapicture", s.skinrectinapicture);
    v.Rect("skinrect", s.skinrect);
    v.Rect("activeskinrect", s.activeskinrect);
    v.Int("activepictureindex", s.activepictureindex, -1);
    v.Flag("morphing", s.morphing);
    v.MorphKind("morphkind", s.morphkind);
  }
};

class TbsDataSkinButton : public TbsDataSkinObject {
 public:
  using TbsDataSkinObject::TbsDataSkinObject;
  TRect downrect;
  TRect disableskinrsect;
  LG_SKIN_SECTION_IO(TbsDataSkinButton, TbsDataSkinObject) {
    v.Rect("downrect", s.downrect);
    v.Rect("disableskinrsect", s.disableskinrsect);
  }
};

class TbsDataSkinStdButton : public TbsDataSkinButton {
 public:
  using TbsDataSkinButton::TbsDataSkinButton;
  TStdButtonCommand command = cmDefault;
  TRect restorerect;
  TRect restoreactiverect;
  TRect restoredownrect;
  TRect restoreinactiverect;
  LG_SKIN_SECTION_IO(TbsDataSkinStdButton, TbsDataSkinButton) {
    v.Command("command", s.command);
    v.Rect("restorerect", s.restorerect);
    v.Rect("restoreactiverect", s.restoreactiverect);
    v.Rect("restoredownrect", s.restoredownrect);
    v.Rect("restoreinactiverect", s.restoreinactiverect);
  }
};

class TbsDataSkinMainMenuBarButton : public TbsDataSkinStdButton {
 public:
  using TbsDataSkinStdButton::TbsDataSkinStdButton;
  QString ClassName() const override { return QStringLiteral("TbsDataSkinMainMenuBarButton"); }
};

class TbsDataSkinMenuItem : public TbsDataSkinObject {
 public:
  using TbsDataSkinObject::TbsDataSkinObject;
  TRect dividerrect;
  int32_t dividerleftoffset = 0;
  int32_t dividerrightoffset = 0;
  int32_t itemleftoffset = 0;
  int32_t itemrightoffset = 0;
  QString fontname;
  int32_t fontheight = 0;
  TFontStyleSet fontstyle = 0;
  TColor unenabledfontcolor = 0;
  TColor fontcolor = 0;
  TColor activefontcolor = 0;
  TRect textrect;
  LG_SKIN_SECTION_IO(TbsDataSkinMenuItem, TbsDataSkinObject) {
    v.Rect("dividerrect", s.dividerrect);
    v.Int("dividerleftoffset", s.dividerleftoffset);
    v.Int("dividerrightoffset", s.dividerrightoffset);
    v.Int("itemleftoffset", s.itemleftoffset);
    v.Int("itemrightoffset", s.itemrightoffset);
    v.Text("fontname", s.fontname, QStringLiteral("Arial"));
    v.Int("fontheight", s.fontheight, 14);
    v.FontStyle("fontstyle", s.fontstyle);
    v.Color("unenabledfontcolor", s.unenabledfontcolor);
    v.Color("fontcolor", s.fontcolor);
    v.Color("activefontcolor", s.activefontcolor);
    v.Rect("textrect", s.textrect);
  }
};

// Base of the menu bar items; has no type word of its own.
class TbsDataSkinMainMenuItem : public TbsDataSkinObject {
 public:
  using TbsDataSkinObject::TbsDataSkinObject;
  TRect downrect;
  QString fontname;
  int32_t fontheight = 0;
  TFontStyleSet fontstyle = 0;
  TColor fontcolor = 0;
  TColor activefontcolor = 0;
  TColor downfontcolor = 0;
  TColor unenabledfontcolor = 0;
  TRect textrect;
  int32_t itemleftoffset = 0;
  int32_t itemrightoffset = 0;
  LG_SKIN_SECTION_IO(TbsDataSkinMainMenuItem, TbsDataSkinObject) {
    v.Rect("downrect", s.downrect);
    v.Text("fontname", s.fontname, QStringLiteral("Arial"));
    v.Int("fontheight", s.fontheight, 14);
    v.FontStyle("fontstyle", s.fontstyle);
    v.Color("fontcolor", s.fontcolor);
    v.Color("activefontcolor", s.activefontcolor);
    v.Color("downfontcolor", s.downfontcolor);
    v.Color("unenabledfontColor", s.unenabledfontcolor);
    v.Rect("textrect", s.textrect);
    v.Int("itemleftoffset", s.itemleftoffset);
    v.Int("itemrightoffset", s.itemrightoffset);
  }
};

class TbsDataSkinMainMenuBarItem : public TbsDataSkinMainMenuItem {
 public:
  using TbsDataSkinMainMenuItem::TbsDataSkinMainMenuItem;
  QString ClassName() const override { return QStringLiteral("TbsDataSkinMainMenuBarItem"); }
};

class TbsDataSkinCaption : public TbsDataSkinObject {
 public:
  using TbsDataSkinObject::TbsDataSkinObject;
  QString fontname;
  int32_t fontheight = 0;
  TFontStyleSet fontstyle = 0;
  TColor fontcolor = 0;
  TColor activefontcolor = 0;
  TColor shadowcolor = 0;
  TColor activeshadowcolor = 0;
  bool shadow = false;
  TSkinAlignment alignment = taLeftJustify;
  TRect textrect;
  TRect framerect;
  TRect activeframerect;
  int32_t frameleftoffset = 0;
  int32_t framerightoffset = 0;
  TRect frametextrect;
  LG_SKIN_SECTION_IO(TbsDataSkinCaption, TbsDataSkinObject) {
    v.Text("fontname", s.fontname, QStringLiteral("Arial"));
    v.Int("fontheight", s.fontheight, 14);
    v.FontStyle("fontstyle", s.fontstyle);
    v.Color("fontcolor", s.fontcolor);
    v.Color("activefontcolor", s.activefontcolor);
    v.Color("shadowcolor", s.shadowcolor);
    v.Color("activeshadowcolor", s.activeshadowcolor);
    v.Flag("shadow", s.shadow);
    v.Alignment("alignment", s.alignment);
    v.Rect("textrect", s.textrect);
    v.Rect("framerect", s.framerect);
    v.Rect("activeframerect", s.activeframerect);
    v.Int("frameleftoffset", s.frameleftoffset);
    v.Int("framerightoffset", s.framerightoffset);
    v.Rect("frametextrect", s.frametextrect);
  }
};

// An object of the skin author's own; only its "skinrect" is read and written.
class TbsDataUserObject : public TbsDataSkinObject {
 public:
  using TbsDataSkinObject::TbsDataSkinObject;
  void LoadSection(const TMemIniFile& ini) override;
  void StoreSection(TMemIniFile& ini) const override;
  QString ClassName() const override { return QStringLiteral("TbsDataUserObject"); }
};

// The data class for a [SKINOBJECTS] type word, or nullptr for a word no table lists.
std::unique_ptr<TbsDataSkinObject> CreateSkinObject(const QString& typeWord, const QString& name);

// [POPUPWINDOW]: the skinned popup menu window.
class TbsDataSkinPopupWindow {
 public:
  void LoadSection(const TMemIniFile& ini);
  int32_t windowpictureindex = -1;
  int32_t maskpictureindex = -1;
  TPoint lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint;
  TRect itemsrect;
  TColor scrollmarkercolor = 0;
  TColor scrollmarkeractivecolor = 0;

  template <class V, class S>
  static void Fields(V& v, S& s) {
    v.Int("windowpictureindex", s.windowpictureindex, -1);
    v.Int("maskpictureindex", s.maskpictureindex, -1);
    v.Point("lefttoppoint", s.lefttoppoint);
    v.Point("righttoppoint", s.righttoppoint);
    v.Point("leftbottompoint", s.leftbottompoint);
    v.Point("rightbottompoint", s.rightbottompoint);
    v.Rect("itemsrect", s.itemsrect);
    v.Color("scrollmarkercolor", s.scrollmarkercolor);
    v.Color("scrollmarkeractivecolor", s.scrollmarkeractivecolor);
  }
};

// [HINTWINDOW]: the skinned hint window.
class TbsDataSkinHintWindow {
 public:
  void LoadSection(const TMemIniFile& ini);
  int32_t windowpictureindex = -1;
  int32_t maskpictureindex = -1;
  TPoint lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint;
  TRect clientrect;
  QString fontname = QStringLiteral("Arial");
  TFontStyleSet fontstyle = 0;
  int32_t fontheight = 12;
  TColor fontcolor = 0;

  template <class V, class S>
  static void Fields(V& v, S& s) {
    v.Int("windowpictureindex", s.windowpictureindex, -1);
    v.Int("maskpictureindex", s.maskpictureindex, -1);
    v.Point("lefttoppoint", s.lefttoppoint);
    v.Point("righttoppoint", s.righttoppoint);
    v.Point("leftbottompoint", s.leftbottompoint);
    v.Point("rightbottompoint", s.rightbottompoint);
    v.Rect("clientrect", s.clientrect);
    v.Text("fontname", s.fontname, QStringLiteral("Arial"));
    v.FontStyle("fontstyle", s.fontstyle);
    v.Int("fontheight", s.fontheight, 14);
    v.Color("fontcolor", s.fontcolor);
  }
};

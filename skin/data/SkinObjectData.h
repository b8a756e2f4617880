// Data of the form objects ([SKINOBJECTS] and the sections it names) and of the popup and
// hint windows. Each field is named after the key that fills it; the field tables below are
// in key order, base class keys first. Objects are owned by the skin data's lists.
#pragma once
#include <QString>
#include <memory>

#include "skin/data/SkinIni.h"

// Defines LoadSection / StoreSection of a data class from its field table `Fields`:
// the base class's keys first, then this class's own. `Inherited` names the base class.
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
  using Inherited = Base;                                               \
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
    v.Text(QStringLiteral("hint"), s.hint);
    v.Flag(QStringLiteral("skinrectinapicture"), s.skinrectinapicture);
    v.Rect(QStringLiteral("skinrect"), s.skinrect);
    v.Rect(QStringLiteral("activeskinrect"), s.activeskinrect);
    v.Int(QStringLiteral("activepictureindex"), s.activepictureindex, -1);
    v.Flag(QStringLiteral("morphing"), s.morphing);
    v.MorphKind(QStringLiteral("morphkind"), s.morphkind);
  }
};

class TbsDataSkinButton : public TbsDataSkinObject {
 public:
  using TbsDataSkinObject::TbsDataSkinObject;
  TRect downrect;
  TRect disableskinrsect;
  LG_SKIN_SECTION_IO(TbsDataSkinButton, TbsDataSkinObject) {
    v.Rect(QStringLiteral("downrect"), s.downrect);
    v.Rect(QStringLiteral("disableskinrsect"), s.disableskinrsect);
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
    v.Command(QStringLiteral("command"), s.command);
    v.Rect(QStringLiteral("restorerect"), s.restorerect);
    v.Rect(QStringLiteral("restoreactiverect"), s.restoreactiverect);
    v.Rect(QStringLiteral("restoredownrect"), s.restoredownrect);
    v.Rect(QStringLiteral("restoreinactiverect"), s.restoreinactiverect);
  }
};

class TbsDataSkinMainMenuBarButton : public TbsDataSkinStdButton {
 public:
  using TbsDataSkinStdButton::TbsDataSkinStdButton;
  QString ClassName() const override { return QStringLiteral("TbsDataSkinMainMenuBarButton"); }
  using Inherited = TbsDataSkinStdButton;
  template <class V, class S>
  static void Fields(V&, S&) {}
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
    v.Rect(QStringLiteral("dividerrect"), s.dividerrect);
    v.Int(QStringLiteral("dividerleftoffset"), s.dividerleftoffset);
    v.Int(QStringLiteral("dividerrightoffset"), s.dividerrightoffset);
    v.Int(QStringLiteral("itemleftoffset"), s.itemleftoffset);
    v.Int(QStringLiteral("itemrightoffset"), s.itemrightoffset);
    v.Text(QStringLiteral("fontname"), s.fontname, QStringLiteral("Arial"));
    v.Int(QStringLiteral("fontheight"), s.fontheight, 14);
    v.FontStyle(QStringLiteral("fontstyle"), s.fontstyle);
    v.Color(QStringLiteral("unenabledfontcolor"), s.unenabledfontcolor);
    v.Color(QStringLiteral("fontcolor"), s.fontcolor);
    v.Color(QStringLiteral("activefontcolor"), s.activefontcolor);
    v.Rect(QStringLiteral("textrect"), s.textrect);
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
    v.Rect(QStringLiteral("downrect"), s.downrect);
    v.Text(QStringLiteral("fontname"), s.fontname, QStringLiteral("Arial"));
    v.Int(QStringLiteral("fontheight"), s.fontheight, 14);
    v.FontStyle(QStringLiteral("fontstyle"), s.fontstyle);
    v.Color(QStringLiteral("fontcolor"), s.fontcolor);
    v.Color(QStringLiteral("activefontcolor"), s.activefontcolor);
    v.Color(QStringLiteral("downfontcolor"), s.downfontcolor);
    v.Color(QStringLiteral("unenabledfontColor"), s.unenabledfontcolor);
    v.Rect(QStringLiteral("textrect"), s.textrect);
    v.Int(QStringLiteral("itemleftoffset"), s.itemleftoffset);
    v.Int(QStringLiteral("itemrightoffset"), s.itemrightoffset);
  }
};

class TbsDataSkinMainMenuBarItem : public TbsDataSkinMainMenuItem {
 public:
  using TbsDataSkinMainMenuItem::TbsDataSkinMainMenuItem;
  QString ClassName() const override { return QStringLiteral("TbsDataSkinMainMenuBarItem"); }
  using Inherited = TbsDataSkinMainMenuItem;
  template <class V, class S>
  static void Fields(V&, S&) {}
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
    v.Text(QStringLiteral("fontname"), s.fontname, QStringLiteral("Arial"));
    v.Int(QStringLiteral("fontheight"), s.fontheight, 14);
    v.FontStyle(QStringLiteral("fontstyle"), s.fontstyle);
    v.Color(QStringLiteral("fontcolor"), s.fontcolor);
    v.Color(QStringLiteral("activefontcolor"), s.activefontcolor);
    v.Color(QStringLiteral("shadowcolor"), s.shadowcolor);
    v.Color(QStringLiteral("activeshadowcolor"), s.activeshadowcolor);
    v.Flag(QStringLiteral("shadow"), s.shadow);
    v.Alignment(QStringLiteral("alignment"), s.alignment);
    v.Rect(QStringLiteral("textrect"), s.textrect);
    v.Rect(QStringLiteral("framerect"), s.framerect);
    v.Rect(QStringLiteral("activeframerect"), s.activeframerect);
    v.Int(QStringLiteral("frameleftoffset"), s.frameleftoffset);
    v.Int(QStringLiteral("framerightoffset"), s.framerightoffset);
    v.Rect(QStringLiteral("frametextrect"), s.frametextrect);
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
    v.Int(QStringLiteral("windowpictureindex"), s.windowpictureindex, -1);
    v.Int(QStringLiteral("maskpictureindex"), s.maskpictureindex, -1);
    v.Point(QStringLiteral("lefttoppoint"), s.lefttoppoint);
    v.Point(QStringLiteral("righttoppoint"), s.righttoppoint);
    v.Point(QStringLiteral("leftbottompoint"), s.leftbottompoint);
    v.Point(QStringLiteral("rightbottompoint"), s.rightbottompoint);
    v.Rect(QStringLiteral("itemsrect"), s.itemsrect);
    v.Color(QStringLiteral("scrollmarkercolor"), s.scrollmarkercolor);
    v.Color(QStringLiteral("scrollmarkeractivecolor"), s.scrollmarkeractivecolor);
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
    v.Int(QStringLiteral("windowpictureindex"), s.windowpictureindex, -1);
    v.Int(QStringLiteral("maskpictureindex"), s.maskpictureindex, -1);
    v.Point(QStringLiteral("lefttoppoint"), s.lefttoppoint);
    v.Point(QStringLiteral("righttoppoint"), s.righttoppoint);
    v.Point(QStringLiteral("leftbottompoint"), s.leftbottompoint);
    v.Point(QStringLiteral("rightbottompoint"), s.rightbottompoint);
    v.Rect(QStringLiteral("clientrect"), s.clientrect);
    v.Text(QStringLiteral("fontname"), s.fontname, QStringLiteral("Arial"));
    v.FontStyle(QStringLiteral("fontstyle"), s.fontstyle);
    v.Int(QStringLiteral("fontheight"), s.fontheight, 14);
    v.Color(QStringLiteral("fontcolor"), s.fontcolor);
  }
};

// Data of the control sections ([SKINCONTROLS] and the sections it names). Each field is
// named after the key that fills it; each class's table lists its own keys in key order and
// is read after its base class's keys. Objects are owned by the skin data's list.
//
// Sections:
//   root and custom bases ........ TbsDataSkinControl, TbsDataSkinCustomControl
//   panels, buttons, labels ...... panel, expanel, button, menubutton, checkradio, label, stdlabel
//   value controls ............... gauge, splitter, trackbar, updown, spinedit, slider, bevel
//   lists and text ............... edit, memo, listbox, checklistbox, combobox, grid, treeview,
//                                  listview, richedit
//   containers and bars .......... tab, mainmenubar, controlbar, scrollbar, scrollbox
#pragma once
#include <QString>
#include <memory>

#include "skin/data/SkinObjectData.h"

class TbsDataSkinControl {
 public:
  explicit TbsDataSkinControl(const QString& name) : SectionName(name) {}
  virtual ~TbsDataSkinControl() = default;
  // Reads the keys of this control's section; a missing key gives its default.
  virtual void LoadSection(const TMemIniFile& ini);
  // Erases this control's section in `ini`, then writes every key of its table.
  virtual void StoreSection(TMemIniFile& ini) const;
  virtual QString ClassName() const { return QStringLiteral("TbsDataSkinControl"); }

  QString SectionName;
  int32_t pictureindex = -1;
  int32_t maskpictureindex = -1;
  TRect skinrect;

  template <class V, class S>
  static void Fields(V& v, S& s) {
    v.Int(QStringLiteral("pictureindex"), s.pictureindex, -1);
    v.Int(QStringLiteral("maskpictureindex"), s.maskpictureindex, -1);
    v.Rect(QStringLiteral("skinrect"), s.skinrect);
  }
};

// Adds the corner points and client area used to compose the image at any size.
class TbsDataSkinCustomControl : public TbsDataSkinControl {
 public:
  using TbsDataSkinControl::TbsDataSkinControl;
  TPoint lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint;
  TRect clientrect;
  LG_SKIN_SECTION_IO(TbsDataSkinCustomControl, TbsDataSkinControl) {
    v.Point(QStringLiteral("lefttoppoint"), s.lefttoppoint);
    v.Point(QStringLiteral("righttoppoint"), s.righttoppoint);
    v.Point(QStringLiteral("leftbottompoint"), s.leftbottompoint);
    v.Point(QStringLiteral("rightbottompoint"), s.rightbottompoint);
    v.Rect(QStringLiteral("clientrect"), s.clientrect);
  }
};

// The four usual font fields, in key order "fontname", "fontstyle", "fontheight", "fontcolor".
#define LG_SKIN_FONT_FIELDS  \
  QString fontname;          \
  TFontStyleSet fontstyle = 0; \
  int32_t fontheight = 0;    \
  TColor fontcolor = 0

class TbsDataSkinPanelControl : public TbsDataSkinCustomControl {
 public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  TRect captionrect, rollupmarkerrect, restoremarkerrect;
  TSkinAlignment alignment = taLeftJustify;
  LG_SKIN_FONT_FIELDS;
  int32_t bgpictureindex = -1;
  TRect checkimagerect, uncheckimagerect;
  LG_SKIN_SECTION_IO(TbsDataSkinPanelControl, TbsDataSkinCustomControl) {
    v.Rect(QStringLiteral("captionrect"), s.captionrect);
    v.Rect(QStringLiteral("rollupmarkerrect"), s.rollupmarkerrect);
    v.Rect(QStringLiteral("restoremarkerrect"), s.restoremarkerrect);
    v.Alignment(QStringLiteral("alignment"), s.alignment);
    v.Font(s.fontname, s.fontstyle, s.fontheight, s.fontcolor);
    v.Int(QStringLiteral("bgpictureindex"), s.bgpictureindex, -1);
    v.Rect(QStringLiteral("checkimagerect"), s.checkimagerect);
    v.Rect(QStringLiteral("uncheckimagerect"), s.uncheckimagerect);
  }
};

class TbsDataSkinExPanelControl : public TbsDataSkinCustomControl {
 public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  TRect rollhskinrect, rollvskinrect;
  int32_t rollleftoffset = 0, rollrightoffset = 0, rolltopoffset = 0, rollbottomoffset = 0;
  TRect rollvcaptionrect, rollhcaptionrect;
  TRect closebuttonrect, closebuttonactiverect, closebuttondownrect;
  TRect hrollbuttonrect, hrollbuttonactiverect, hrollbuttondownrect;
  TRect hrestorebuttonrect, hrestorebuttonactiverect, hrestorebuttondownrect;
  TRect vrollbuttonrect, vrollbuttonactiverect, vrollbuttondownrect;
  TRect vrestorebuttonrect, vrestorebuttonactiverect, vrestorebuttondownrect;
  TRect captionrect;
  LG_SKIN_FONT_FIELDS;
  LG_SKIN_SECTION_IO(TbsDataSkinExPanelControl, TbsDataSkinCustomControl) {
    v.Rect(QStringLiteral("rollhskinrect"), s.rollhskinrect);
    v.Rect(QStringLiteral("rollvskinrect"), s.rollvskinrect);
    v.Int(QStringLiteral("rollleftoffset"), s.rollleftoffset);
    v.Int(QStringLiteral("rollrightoffset"), s.rollrightoffset);
    v.Int(QStringLiteral("rolltopoffset"), s.rolltopoffset);
    v.Int(QStringLiteral("rollbottomoffset"), s.rollbottomoffset);
    v.Rect(QStringLiteral("rollvcaptionrect"), s.rollvcaptionrect);
    v.Rect(QStringLiteral("rollhcaptionrect"), s.rollhcaptionrect);
    v.Rect(QStringLiteral("closebuttonrect"), s.closebuttonrect);
    v.Rect(QStringLiteral("closebuttonactiverect"), s.closebuttonactiverect);
    v.Rect(QStringLiteral("closebuttondownrect"), s.closebuttondownrect);
    v.Rect(QStringLiteral("hrollbuttonrect"), s.hrollbuttonrect);
    v.Rect(QStringLiteral("hrollbuttonactiverect"), s.hrollbuttonactiverect);
    v.Rect(QStringLiteral("hrollbuttondownrect"), s.hrollbuttondownrect);
    v.Rect(QStringLiteral("hrestorebuttonrect"), s.hrestorebuttonrect);
    v.Rect(QStringLiteral("hrestorebuttonactiverect"), s.hrestorebuttonactiverect);
    v.Rect(QStringLiteral("hrestorebuttondownrect"), s.hrestorebuttondownrect);
    v.Rect(QStringLiteral("vrollbuttonrect"), s.vrollbuttonrect);
    v.Rect(QStringLiteral("vrollbuttonactiverect"), s.vrollbuttonactiverect);
    v.Rect(QStringLiteral("vrollbuttondownrect"), s.vrollbuttondownrect);
    v.Rect(QStringLiteral("vrestorebuttonrect"), s.vrestorebuttonrect);
    v.Rect(QStringLiteral("vrestorebuttonactiverect"), s.vrestorebuttonactiverect);
    v.Rect(QStringLiteral("vrestorebuttondownrect"), s.vrestorebuttondownrect);
    v.Rect(QStringLiteral("captionrect"), s.captionrect);
    v.Font(s.fontname, s.fontstyle, s.fontheight, s.fontcolor);
  }
};

class TbsDataSkinButtonControl : public TbsDataSkinCustomControl {
 public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  LG_SKIN_FONT_FIELDS;
  TColor activefontcolor = 0, downfontcolor = 0, disabledfontcolor = 0;
  TRect activeskinrect, downskinrect, disabledskinrect;
  bool morphing = false;
  TMorphKind morphkind = mkDefault;
  LG_SKIN_SECTION_IO(TbsDataSkinButtonControl, TbsDataSkinCustomControl) {
    v.Font(s.fontname, s.fontstyle, s.fontheight, s.fontcolor);
    v.Color(QStringLiteral("activefontcolor"), s.activefontcolor);
    v.Color(QStringLiteral("downfontcolor"), s.downfontcolor);
    v.Color(QStringLiteral("disabledfontcolor"), s.disabledfontcolor);
    v.Rect(QStringLiteral("activeskinrect"), s.activeskinrect);
    v.Rect(QStringLiteral("downskinrect"), s.downskinrect);
    v.Rect(QStringLiteral("disabledskinrect"), s.disabledskinrect);
    v.Flag(QStringLiteral("morphing"), s.morphing);
    v.MorphKind(QStringLiteral("morphkind"), s.morphkind);
  }
};

class TbsDataSkinMenuButtonControl : public TbsDataSkinButtonControl {
 public:
  using TbsDataSkinButtonControl::TbsDataSkinButtonControl;
  TRect trackbuttonrect;
  LG_SKIN_SECTION_IO(TbsDataSkinMenuButtonControl, TbsDataSkinButtonControl) { v.Rect(QStringLiteral("trackbuttonrect"), s.trackbuttonrect); }
};

class TbsDataSkinCheckRadioControl : public TbsDataSkinCustomControl {
 public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  LG_SKIN_FONT_FIELDS;
  TColor activefontcolor = 0, unenabledfontcolor = 0;
  TRect activeskinrect;
  TRect checkimagearea, textarea;
  TRect checkimagerect, uncheckimagerect;
  TRect activecheckimagerect, activeuncheckimagerect;
  TRect unenabledcheckimagerect, unenableduncheckimagerect;
  bool morphing = false;
  TMorphKind morphkind = mkDefault;
  TColor framefontcolor = 0;
  LG_SKIN_SECTION_IO(TbsDataSkinCheckRadioControl, TbsDataSkinCustomControl) {
    v.Font(s.fontname, s.fontstyle, s.fontheight, s.fontcolor);
    v.Color(QStringLiteral("activefontcolor"), s.activefontcolor);
    v.Color(QStringLiteral("unenabledfontcolor"), s.unenabledfontcolor);
    v.Rect(QStringLiteral("activeskinrect"), s.activeskinrect);
    v.Rect(QStringLiteral("checkimagearea"), s.checkimagearea);
    v.Rect(QStringLiteral("textarea"), s.textarea);
    v.Rect(QStringLiteral("checkimagerect"), s.checkimagerect);
    v.Rect(QStringLiteral("uncheckimagerect"), s.uncheckimagerect);
    v.Rect(QStringLiteral("activecheckimagerect"), s.activecheckimagerect);
    v.Rect(QStringLiteral("activeuncheckimagerect"), s.activeuncheckimagerect);
    v.Rect(QStringLiteral("unenabledcheckimagerect"), s.unenabledcheckimagerect);
    v.Rect(QStringLiteral("unenableduncheckimagerect"), s.unenableduncheckimagerect);
    v.Flag(QStringLiteral("morphing"), s.morphing);
    v.MorphKind(QStringLiteral("morphkind"), s.morphkind);
    v.Color(QStringLiteral("framefontcolor"), s.framefontcolor);
  }
};

class TbsDataSkinGaugeControl : public TbsDataSkinCustomControl {
 public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  TRect progressarea, progressrect;
  bool vertical = false;
  int32_t beginoffset = 0, endoffset = 0;
  LG_SKIN_FONT_FIELDS;
  LG_SKIN_SECTION_IO(TbsDataSkinGaugeControl, TbsDataSkinCustomControl) {
    v.Rect(QStringLiteral("progressarea"), s.progressarea);
    v.Rect(QStringLiteral("progressrect"), s.progressrect);
    v.Flag(QStringLiteral("vertical"), s.vertical);
    v.Int(QStringLiteral("beginoffset"), s.beginoffset);
    v.Int(QStringLiteral("endoffset"), s.endoffset);
    v.Font(s.fontname, s.fontstyle, s.fontheight, s.fontcolor);
  }
};

class TbsDataSkinSplitterControl : public TbsDataSkinCustomControl {
 public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  QString ClassName() const override { return QStringLiteral("TbsDataSkinSplitterControl"); }
  using Inherited = TbsDataSkinCustomControl;
  template <class V, class S>
  static void Fields(V&, S&) {}
};

class TbsDataSkinTrackBarControl : public TbsDataSkinCustomControl {
 public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  TRect trackarea, buttonrect, activebuttonrect;
  bool vertical = false;
  LG_SKIN_SECTION_IO(TbsDataSkinTrackBarControl, TbsDataSkinCustomControl) {
    v.Rect(QStringLiteral("trackarea"), s.trackarea);
    v.Rect(QStringLiteral("buttonrect"), s.buttonrect);
    v.Rect(QStringLiteral("activebuttonrect"), s.activebuttonrect);
    v.Flag(QStringLiteral("vertical"), s.vertical);
  }
};

class TbsDataSkinLabelControl : public TbsDataSkinCustomControl {
 public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  LG_SKIN_FONT_FIELDS;
  LG_SKIN_SECTION_IO(TbsDataSkinLabelControl, TbsDataSkinCustomControl) {
    v.Font(s.fontname, s.fontstyle, s.fontheight, s.fontcolor);
  }
};

class TbsDataSkinStdLabelControl : public TbsDataSkinControl {
 public:
  using TbsDataSkinControl::TbsDataSkinControl;
  LG_SKIN_FONT_FIELDS;
  TColor activefontcolor = 16711680;
  LG_SKIN_SECTION_IO(TbsDataSkinStdLabelControl, TbsDataSkinControl) {
    v.Font(s.fontname, s.fontstyle, s.fontheight, s.fontcolor);
    v.Color(QStringLiteral("activefontcolor"), s.activefontcolor, 16711680);
  }
};

// Up-down buttons are drawn at their skin size: corner points and client area are always zero.
class TbsDataSkinUpDownControl : public TbsDataSkinCustomControl {
 public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  TRect upbuttonrect, activeupbuttonrect, downupbuttonrect;
  TRect downbuttonrect, activedownbuttonrect, downdownbuttonrect;
  void LoadSection(const TMemIniFile& ini) override;
  void StoreSection(TMemIniFile& ini) const override;
  QString ClassName() const override { return QStringLiteral("TbsDataSkinUpDownControl"); }
  using Inherited = TbsDataSkinCustomControl;
  template <class V, class S>
  static void Fields(V& v, S& s) {
    v.Rect(QStringLiteral("upbuttonrect"), s.upbuttonrect);
    v.Rect(QStringLiteral("activeupbuttonrect"), s.activeupbuttonrect);
    v.Rect(QStringLiteral("downupbuttonrect"), s.downupbuttonrect);
    v.Rect(QStringLiteral("downbuttonrect"), s.downbuttonrect);
    v.Rect(QStringLiteral("activedownbuttonrect"), s.activedownbuttonrect);
    v.Rect(QStringLiteral("downdownbuttonrect"), s.downdownbuttonrect);
  }
};

class TbsDataSkinGridControl : public TbsDataSkinControl {
 public:
  using TbsDataSkinControl::TbsDataSkinControl;
  TRect fixedcellrect, selectcellrect, focuscellrect;
  int32_t fixedcellleftoffset = 0, fixedcellrightoffset = 0;
  TRect fixedcelltextrect;
  int32_t cellleftoffset = 0, cellrightoffset = 0;
  TRect celltextrect;
  TColor linescolor = 0, bgcolor = 0;
  LG_SKIN_FONT_FIELDS;
  TColor selectfontcolor = 0, focusfontcolor = 0;
  QString fixedfontname;
  TFontStyleSet fixedfontstyle = 0;
  int32_t fixedfontheight = 0;
  TColor fixedfontcolor = 0;
  LG_SKIN_SECTION_IO(TbsDataSkinGridControl, TbsDataSkinControl) {
    v.Rect(QStringLiteral("fixedcellrect"), s.fixedcellrect);
    v.Rect(QStringLiteral("selectcellrect"), s.selectcellrect);
    v.Rect(QStringLiteral("focuscellrect"), s.focuscellrect);
    v.Int(QStringLiteral("fixedcellleftoffset"), s.fixedcellleftoffset);
    v.Int(QStringLiteral("fixedcellrightoffset"), s.fixedcellrightoffset);
    v.Rect(QStringLiteral("fixedcelltextrect"), s.fixedcelltextrect);
    v.Int(QStringLiteral("cellleftoffset"), s.cellleftoffset);
    v.Int(QStringLiteral("cellrightoffset"), s.cellrightoffset);
    v.Rect(QStringLiteral("celltextrect"), s.celltextrect);
    v.Color(QStringLiteral("linescolor"), s.linescolor);
    v.Color(QStringLiteral("bgcolor"), s.bgcolor);
    v.Font(s.fontname, s.fontstyle, s.fontheight, s.fontcolor);
    v.Color(QStringLiteral("selectfontcolor"), s.selectfontcolor);
    v.Color(QStringLiteral("focusfontcolor"), s.focusfontcolor);
    v.Text(QStringLiteral("fixedfontname"), s.fixedfontname, QStringLiteral("Arial"));
    v.FontStyle(QStringLiteral("fixedfontstyle"), s.fixedfontstyle);
    v.Int(QStringLiteral("fixedfontheight"), s.fixedfontheight, 14);
    v.Color(QStringLiteral("fixedfontcolor"), s.fixedfontcolor);
  }
};

// Tabs have no custom-control base but read a client area and corner points of their own.
class TbsDataSkinTabControl : public TbsDataSkinControl {
 public:
  using TbsDataSkinControl::TbsDataSkinControl;
  TRect tabrect, activetabrect, focustabrect, mouseintabrect;
  TRect clientrect;
  TRect tabsbgrect;
  TPoint lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint;
  int32_t tableftoffset = 0, tabrightoffset = 0;
  LG_SKIN_FONT_FIELDS;
  TColor activefontcolor = 0, focusfontcolor = 0, mouseinfontcolor = 0;
  QString updown;  // name of the "updown" control section that scrolls the tabs
  int32_t bgpictureindex = -1;
  LG_SKIN_SECTION_IO(TbsDataSkinTabControl, TbsDataSkinControl) {
    v.Rect(QStringLiteral("tabrect"), s.tabrect);
    v.Rect(QStringLiteral("activetabrect"), s.activetabrect);
    v.Rect(QStringLiteral("focustabrect"), s.focustabrect);
    v.Rect(QStringLiteral("mouseintabrect"), s.mouseintabrect);
    v.Rect(QStringLiteral("clientrect"), s.clientrect);
    v.Rect(QStringLiteral("tabsbgrect"), s.tabsbgrect);
    v.Point(QStringLiteral("lefttoppoint"), s.lefttoppoint);
    v.Point(QStringLiteral("righttoppoint"), s.righttoppoint);
    v.Point(QStringLiteral("leftbottompoint"), s.leftbottompoint);
    v.Point(QStringLiteral("rightbottompoint"), s.rightbottompoint);
    v.Int(QStringLiteral("tableftoffset"), s.tableftoffset);
    v.Int(QStringLiteral("tabrightoffset"), s.tabrightoffset);
    v.Font(s.fontname, s.fontstyle, s.fontheight, s.fontcolor);
    v.Color(QStringLiteral("activefontcolor"), s.activefontcolor);
    v.Color(QStringLiteral("focusfontcolor"), s.focusfontcolor);
    v.Color(QStringLiteral("mouseinfontcolor"), s.mouseinfontcolor);
    v.Text(QStringLiteral("updown"), s.updown);
    v.Int(QStringLiteral("bgpictureindex"), s.bgpictureindex, -1);
  }
};

class TbsDataSkinMainMenuBar : public TbsDataSkinControl {
 public:
  using TbsDataSkinControl::TbsDataSkinControl;
  TRect itemsrect;
  // Names of [SKINOBJECTS] entries.
  QString menubaritem, closebutton, maxbutton, minbutton, sysmenubutton;
  TColor trackmarkcolor = 0, trackmarkactivecolor = 0;
  LG_SKIN_SECTION_IO(TbsDataSkinMainMenuBar, TbsDataSkinControl) {
    v.Rect(QStringLiteral("itemsrect"), s.itemsrect);
    v.Text(QStringLiteral("menubaritem"), s.menubaritem);
    v.Text(QStringLiteral("closebutton"), s.closebutton);
    v.Text(QStringLiteral("maxbutton"), s.maxbutton);
    v.Text(QStringLiteral("minbutton"), s.minbutton);
    v.Text(QStringLiteral("sysmenubutton"), s.sysmenubutton);
    v.Color(QStringLiteral("trackmarkcolor"), s.trackmarkcolor);
    v.Color(QStringLiteral("trackmarkactivecolor"), s.trackmarkactivecolor);
  }
};

class TbsDataSkinControlBar : public TbsDataSkinCustomControl {
 public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  TRect itemrect;
  int32_t bgpictureindex = -1;
  LG_SKIN_SECTION_IO(TbsDataSkinControlBar, TbsDataSkinCustomControl) {
    v.Rect(QStringLiteral("itemrect"), s.itemrect);
    v.Int(QStringLiteral("bgpictureindex"), s.bgpictureindex, -1);
  }
};

class TbsDataSkinEditControl : public TbsDataSkinCustomControl {
 public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  TRect activeskinrect;
  LG_SKIN_FONT_FIELDS;
  TColor disabledfontcolor = 0, activefontcolor = 0;
  TRect buttonrect, activebuttonrect, downbuttonrect, unenabledbuttonrect;
  LG_SKIN_SECTION_IO(TbsDataSkinEditControl, TbsDataSkinCustomControl) {
    v.Rect(QStringLiteral("activeskinrect"), s.activeskinrect);
    v.Font(s.fontname, s.fontstyle, s.fontheight, s.fontcolor);
    v.Color(QStringLiteral("disabledfontcolor"), s.disabledfontcolor);
    v.Color(QStringLiteral("activefontcolor"), s.activefontcolor);
    v.Rect(QStringLiteral("buttonrect"), s.buttonrect);
    v.Rect(QStringLiteral("activebuttonrect"), s.activebuttonrect);
    v.Rect(QStringLiteral("downbuttonrect"), s.downbuttonrect);
    v.Rect(QStringLiteral("unenabledbuttonrect"), s.unenabledbuttonrect);
  }
};

class TbsDataSkinMemoControl : public TbsDataSkinEditControl {
 public:
  using TbsDataSkinEditControl::TbsDataSkinEditControl;
  TColor bgcolor = 0, activebgcolor = 0;
  LG_SKIN_SECTION_IO(TbsDataSkinMemoControl, TbsDataSkinEditControl) {
    v.Color(QStringLiteral("bgcolor"), s.bgcolor);
    v.Color(QStringLiteral("activebgcolor"), s.activebgcolor);
  }
};

class TbsDataSkinListBox : public TbsDataSkinCustomControl {
 public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  TRect itemrect, activeitemrect, focusitemrect;
  int32_t itemleftoffset = 0, itemrightoffset = 0;
  TRect itemtextrect;
  LG_SKIN_FONT_FIELDS;
  TColor activefontcolor = 0, focusfontcolor = 0;
  TRect captionrect;
  QString captionfontname;
  TFontStyleSet captionfontstyle = 0;
  int32_t captionfontheight = 0;
  TColor captionfontcolor = 0;
  TRect upbuttonrect, activeupbuttonrect, downupbuttonrect;
  TRect downbuttonrect, activedownbuttonrect, downdownbuttonrect;
  TRect checkbuttonrect, activecheckbuttonrect, downcheckbuttonrect;
  // Names of "scrollbar" control sections.
  QString hscrollbarname, vscrollbarname, bothhscrollbarname;
  LG_SKIN_SECTION_IO(TbsDataSkinListBox, TbsDataSkinCustomControl) {
    v.Rect(QStringLiteral("itemrect"), s.itemrect);
    v.Rect(QStringLiteral("activeitemrect"), s.activeitemrect);
    v.Rect(QStringLiteral("focusitemrect"), s.focusitemrect);
    v.Int(QStringLiteral("itemleftoffset"), s.itemleftoffset);
    v.Int(QStringLiteral("itemrightoffset"), s.itemrightoffset);
    v.Rect(QStringLiteral("itemtextrect"), s.itemtextrect);
    v.Font(s.fontname, s.fontstyle, s.fontheight, s.fontcolor);
    v.Color(QStringLiteral("activefontcolor"), s.activefontcolor);
    v.Color(QStringLiteral("focusfontcolor"), s.focusfontcolor);
    v.Rect(QStringLiteral("captionrect"), s.captionrect);
    v.Text(QStringLiteral("captionfontname"), s.captionfontname, QStringLiteral("Arial"));
    v.FontStyle(QStringLiteral("captionfontstyle"), s.captionfontstyle);
    v.Int(QStringLiteral("captionfontheight"), s.captionfontheight, 14);
    v.Color(QStringLiteral("captionfontcolor"), s.captionfontcolor);
    v.Rect(QStringLiteral("upbuttonrect"), s.upbuttonrect);
    v.Rect(QStringLiteral("activeupbuttonrect"), s.activeupbuttonrect);
    v.Rect(QStringLiteral("downupbuttonrect"), s.downupbuttonrect);
    v.Rect(QStringLiteral("downbuttonrect"), s.downbuttonrect);
    v.Rect(QStringLiteral("activedownbuttonrect"), s.activedownbuttonrect);
    v.Rect(QStringLiteral("downdownbuttonrect"), s.downdownbuttonrect);
    v.Rect(QStringLiteral("checkbuttonrect"), s.checkbuttonrect);
    v.Rect(QStringLiteral("activecheckbuttonrect"), s.activecheckbuttonrect);
    v.Rect(QStringLiteral("downcheckbuttonrect"), s.downcheckbuttonrect);
    v.Text(QStringLiteral("hscrollbarname"), s.hscrollbarname, QStringLiteral("hscrollbar"));
    v.Text(QStringLiteral("vscrollbarname"), s.vscrollbarname, QStringLiteral("vscrollbar"));
    v.Text(QStringLiteral("bothhscrollbarname"), s.bothhscrollbarname, QStringLiteral("bothhscrollbar"));
  }
};

class TbsDataSkinCheckListBox : public TbsDataSkinListBox {
 public:
  using TbsDataSkinListBox::TbsDataSkinListBox;
  TRect uncheckimagerect, checkimagerect, itemcheckrect;
  LG_SKIN_SECTION_IO(TbsDataSkinCheckListBox, TbsDataSkinListBox) {
    v.Rect(QStringLiteral("uncheckimagerect"), s.uncheckimagerect);
    v.Rect(QStringLiteral("checkimagerect"), s.checkimagerect);
    v.Rect(QStringLiteral("itemcheckrect"), s.itemcheckrect);
  }
};

class TbsDataSkinComboBox : public TbsDataSkinCustomControl {
 public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  TRect itemrect, focusitemrect;
  int32_t itemleftoffset = 0, itemrightoffset = 0;
  TRect itemtextrect;
  LG_SKIN_FONT_FIELDS;
  TColor focusfontcolor = 0;
  TRect buttonrect, activebuttonrect, downbuttonrect, unenabledbuttonrect;
  QString listboxname;  // name of the "listbox" or "checklistbox" section of the drop-down list
  LG_SKIN_SECTION_IO(TbsDataSkinComboBox, TbsDataSkinCustomControl) {
    v.Rect(QStringLiteral("itemrect"), s.itemrect);
    v.Rect(QStringLiteral("focusitemrect"), s.focusitemrect);
    v.Int(QStringLiteral("itemleftoffset"), s.itemleftoffset);
    v.Int(QStringLiteral("itemrightoffset"), s.itemrightoffset);
    v.Rect(QStringLiteral("itemtextrect"), s.itemtextrect);
    v.Font(s.fontname, s.fontstyle, s.fontheight, s.fontcolor);
    v.Color(QStringLiteral("focusfontcolor"), s.focusfontcolor);
    v.Rect(QStringLiteral("buttonrect"), s.buttonrect);
    v.Rect(QStringLiteral("activebuttonrect"), s.activebuttonrect);
    v.Rect(QStringLiteral("downbuttonrect"), s.downbuttonrect);
    v.Rect(QStringLiteral("unenabledbuttonrect"), s.unenabledbuttonrect);
    v.Text(QStringLiteral("listboxname"), s.listboxname);
  }
};

class TbsDataSkinScrollBarControl : public TbsDataSkinCustomControl {
 public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  TRect trackarea;
  TRect upbuttonrect, activeupbuttonrect, downupbuttonrect;
  TRect downbuttonrect, activedownbuttonrect, downdownbuttonrect;
  TRect thumbrect, activethumbrect, downthumbrect;
  int32_t thumboffset1 = 0, thumboffset2 = 0;
  TRect glyphrect, activeglyphrect, downglyphrect;
  LG_SKIN_SECTION_IO(TbsDataSkinScrollBarControl, TbsDataSkinCustomControl) {
    v.Rect(QStringLiteral("trackarea"), s.trackarea);
    v.Rect(QStringLiteral("upbuttonrect"), s.upbuttonrect);
    v.Rect(QStringLiteral("activeupbuttonrect"), s.activeupbuttonrect);
    v.Rect(QStringLiteral("downupbuttonrect"), s.downupbuttonrect);
    v.Rect(QStringLiteral("downbuttonrect"), s.downbuttonrect);
    v.Rect(QStringLiteral("activedownbuttonrect"), s.activedownbuttonrect);
    v.Rect(QStringLiteral("downdownbuttonrect"), s.downdownbuttonrect);
    v.Rect(QStringLiteral("thumbrect"), s.thumbrect);
    v.Rect(QStringLiteral("activethumbrect"), s.activethumbrect);
    v.Rect(QStringLiteral("downthumbrect"), s.downthumbrect);
    v.Int(QStringLiteral("thumboffset1"), s.thumboffset1);
    v.Int(QStringLiteral("thumboffset2"), s.thumboffset2);
    v.Rect(QStringLiteral("glyphrect"), s.glyphrect);
    v.Rect(QStringLiteral("activeglyphrect"), s.activeglyphrect);
    v.Rect(QStringLiteral("downglyphrect"), s.downglyphrect);
  }
};

class TbsDataSkinSpinEditControl : public TbsDataSkinCustomControl {
 public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  LG_SKIN_FONT_FIELDS;
  TRect upbuttonrect, activeupbuttonrect, downupbuttonrect;
  TRect downbuttonrect, activedownbuttonrect, downdownbuttonrect;
  LG_SKIN_SECTION_IO(TbsDataSkinSpinEditControl, TbsDataSkinCustomControl) {
    v.Font(s.fontname, s.fontstyle, s.fontheight, s.fontcolor);
    v.Rect(QStringLiteral("upbuttonrect"), s.upbuttonrect);
    v.Rect(QStringLiteral("activeupbuttonrect"), s.activeupbuttonrect);
    v.Rect(QStringLiteral("downupbuttonrect"), s.downupbuttonrect);
    v.Rect(QStringLiteral("downbuttonrect"), s.downbuttonrect);
    v.Rect(QStringLiteral("activedownbuttonrect"), s.activedownbuttonrect);
    v.Rect(QStringLiteral("downdownbuttonrect"), s.downdownbuttonrect);
  }
};

class TbsDataSkinScrollBoxControl : public TbsDataSkinCustomControl {
 public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  int32_t bgpictureindex = -1;
  LG_SKIN_SECTION_IO(TbsDataSkinScrollBoxControl, TbsDataSkinCustomControl) {
    v.Int(QStringLiteral("bgpictureindex"), s.bgpictureindex, -1);
  }
};

// Tree view, list view and rich edit share one table: font and background colour.
#define LG_SKIN_TEXT_VIEW_CLASS(Name)                                        \
  class Name : public TbsDataSkinControl {                                   \
   public:                                                                   \
    using TbsDataSkinControl::TbsDataSkinControl;                            \
    LG_SKIN_FONT_FIELDS;                                                     \
    TColor bgcolor = 0;                                                      \
    LG_SKIN_SECTION_IO(Name, TbsDataSkinControl) {                           \
      v.Font(s.fontname, s.fontstyle, s.fontheight, s.fontcolor);            \
      v.Color(QStringLiteral("bgcolor"), s.bgcolor);                                         \
    }                                                                        \
  };
LG_SKIN_TEXT_VIEW_CLASS(TbsDataSkinTreeView)
LG_SKIN_TEXT_VIEW_CLASS(TbsDataSkinListView)
LG_SKIN_TEXT_VIEW_CLASS(TbsDataSkinRichEdit)
#undef LG_SKIN_TEXT_VIEW_CLASS

class TbsDataSkinBevel : public TbsDataSkinControl {
 public:
  using TbsDataSkinControl::TbsDataSkinControl;
  TColor lightcolor = 0, darkcolor = 0;
  LG_SKIN_SECTION_IO(TbsDataSkinBevel, TbsDataSkinControl) {
    v.Color(QStringLiteral("lightcolor"), s.lightcolor);
    v.Color(QStringLiteral("darkcolor"), s.darkcolor);
  }
};

class TbsDataSkinSlider : public TbsDataSkinControl {
 public:
  using TbsDataSkinControl::TbsDataSkinControl;
  TRect hrulerrect, hthumbrect, vrulerrect, vthumbrect;
  int32_t edgesize = 0;
  TColor bgcolor = 0, pointscolor = 0;
  LG_SKIN_SECTION_IO(TbsDataSkinSlider, TbsDataSkinControl) {
    v.Rect(QStringLiteral("hrulerrect"), s.hrulerrect);
    v.Rect(QStringLiteral("hthumbrect"), s.hthumbrect);
    v.Rect(QStringLiteral("vrulerrect"), s.vrulerrect);
    v.Rect(QStringLiteral("vthumbrect"), s.vthumbrect);
    v.Int(QStringLiteral("edgesize"), s.edgesize);
    v.Color(QStringLiteral("bgcolor"), s.bgcolor);
    v.Color(QStringLiteral("pointscolor"), s.pointscolor);
  }
};

// The data class for a [SKINCONTROLS] type word, or nullptr for a word no table lists.
std::unique_ptr<TbsDataSkinControl> CreateSkinControl(const QString& typeWord, const QString& name);
// The type word that creates the class of `c` (empty for the two base classes).
QString ControlTypeWord(const TbsDataSkinControl& c);

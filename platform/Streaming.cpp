#include "platform/Streaming.h"

#include <QHash>
#include <map>

#include "platform/Actions.h"
#include "platform/BitmapData.h"
#include "platform/Controls.h"
#include "platform/DateTimePicker.h"
#include "platform/Edit.h"
#include "platform/NotifyingFont.h"
#include "platform/Splitter.h"
#include "platform/Forms.h"
#include "platform/ImageList.h"
#include "platform/Menus.h"
#include "platform/Timer.h"

// ===================================================================================
// Registry
// ===================================================================================

namespace {
std::map<QString, std::unique_ptr<TClassInfo>>& Registry() {
  static std::map<QString, std::unique_ptr<TClassInfo>> r;  // lower-case name -> class
  return r;
}
bool g_platformRegistered = false;
}  // namespace

TClassInfo& RegisterClassInfo(TClassInfo info) {
  RegisterPlatformClasses();
  auto& slot = Registry()[info.name.toLower()];
  slot = std::make_unique<TClassInfo>(std::move(info));
  return *slot;
}

const TClassInfo* FindClassInfo(const QString& name) {
  RegisterPlatformClasses();
  auto it = Registry().find(name.toLower());
  return it == Registry().end() ? nullptr : it->second.get();
}

const TClassInfo* TClassInfo::ParentInfo() const { return parent.isEmpty() ? nullptr : FindClassInfo(parent); }

const TPropInfo* TClassInfo::FindProp(const QString& n) const {
  const QString key = n.toLower();
  int guard = 0;
  for (const TClassInfo* c = this; c && guard < 64; c = c->ParentInfo(), ++guard) {
    for (const TPropInfo& p : c->props)
      if (p.name.toLower() == key) return &p;
    if (c->hidden.contains(key)) return nullptr;
  }
  return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(const QString& n) const {
  const QString key = n.toLower();
  int guard = 0;
  for (const TClassInfo* c = this; c && guard < 64; c = c->ParentInfo(), ++guard) {
    auto it = c->methods.find(key);
    if (it != c->methods.end()) return &it.value();
  }
  return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::AllProps() const {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = this; c && chain.size() < 64; c = c->ParentInfo()) chain.insert(chain.begin(), c);
  std::vector<const TPropInfo*> out;
  for (const TClassInfo* c : chain) {
    for (const QString& h : c->hidden)
      out.erase(std::remove_if(out.begin(), out.end(), [&](const TPropInfo* p) { return p->name.toLower() == h; }),
                out.end());
    for (const TPropInfo& p : c->props) {
      auto same = std::find_if(out.begin(), out.end(),
                               [&](const TPropInfo* q) { return q->name.compare(p.name, Qt::CaseInsensitive) == 0; });
      if (same != out.end()) *same = &p;
      else out.push_back(&p);
    }
  }
  return out;
}

// ===================================================================================
// Value helpers
// ===================================================================================

namespace streaming_detail {
void InvalidValue() { throw EReadError(QStringLiteral("Invalid property value")); }

int64_t ToInteger(const TFormValue& v) {
  if (v.kind != TFormValue::Kind::Integer) InvalidValue();
  return v.integer;
}

int64_t IdentValue(const TIdentTable& table, const TFormValue& v) {
  if (v.kind != TFormValue::Kind::Ident) InvalidValue();
  for (const auto& [name, value] : table)
    if (name.compare(v.text, Qt::CaseInsensitive) == 0) return value;
  InvalidValue();
}

QString IdentName(const TIdentTable& table, int64_t value) {
  for (const auto& [name, v] : table)
    if (v == value) return name;
  return QString();
}

uint32_t SetValue(const TIdentTable& table, const TFormValue& v) {
  if (v.kind != TFormValue::Kind::Set) InvalidValue();
  uint32_t bits = 0;
  for (const QString& n : v.set) {
    bool found = false;
    for (const auto& [name, value] : table)
      if (name.compare(n, Qt::CaseInsensitive) == 0) {
        bits |= static_cast<uint32_t>(value);
        found = true;
        break;
      }
    if (!found) InvalidValue();
  }
  return bits;
}

QStringList SetNames(const TIdentTable& table, uint32_t value) {
  QStringList out;
  for (const auto& [name, bit] : table)
    if (bit != 0 && (value & static_cast<uint32_t>(bit)) == static_cast<uint32_t>(bit)) out << name;
  return out;
}
}  // namespace streaming_detail

const TIdentTable& ColorIdents() {
  static const TIdentTable t = {
      {QStringLiteral("clBlack"), clBlack}, {QStringLiteral("clMaroon"), clMaroon},
      {QStringLiteral("clGreen"), clGreen}, {QStringLiteral("clOlive"), clOlive},
      {QStringLiteral("clNavy"), clNavy}, {QStringLiteral("clPurple"), clPurple},
      {QStringLiteral("clTeal"), clTeal}, {QStringLiteral("clGray"), clGray},
      {QStringLiteral("clSilver"), clSilver}, {QStringLiteral("clRed"), clRed},
      {QStringLiteral("clLime"), clLime}, {QStringLiteral("clYellow"), clYellow},
      {QStringLiteral("clBlue"), clBlue}, {QStringLiteral("clFuchsia"), clFuchsia},
      {QStringLiteral("clAqua"), clAqua}, {QStringLiteral("clWhite"), clWhite},
      {QStringLiteral("clNone"), clNone}, {QStringLiteral("clDefault"), clDefault},
      {QStringLiteral("clScrollBar"), clScrollBar}, {QStringLiteral("clBackground"), clBackground},
      {QStringLiteral("clActiveCaption"), clActiveCaption}, {QStringLiteral("clInactiveCaption"), clInactiveCaption},
      {QStringLiteral("clMenu"), clMenu}, {QStringLiteral("clWindow"), clWindow},
      {QStringLiteral("clWindowFrame"), clWindowFrame}, {QStringLiteral("clMenuText"), clMenuText},
      {QStringLiteral("clWindowText"), clWindowText}, {QStringLiteral("clCaptionText"), clCaptionText},
      {QStringLiteral("clActiveBorder"), clActiveBorder}, {QStringLiteral("clInactiveBorder"), clInactiveBorder},
      {QStringLiteral("clAppWorkSpace"), clAppWorkSpace}, {QStringLiteral("clHighlight"), clHighlight},
      {QStringLiteral("clHighlightText"), clHighlightText}, {QStringLiteral("clBtnFace"), clBtnFace},
      {QStringLiteral("clBtnShadow"), clBtnShadow}, {QStringLiteral("clGrayText"), clGrayText},
      {QStringLiteral("clBtnText"), clBtnText}, {QStringLiteral("clInactiveCaptionText"), clInactiveCaptionText},
      {QStringLiteral("clBtnHighlight"), clBtnHighlight}, {QStringLiteral("cl3DDkShadow"), cl3DDkShadow},
      {QStringLiteral("cl3DLight"), cl3DLight}, {QStringLiteral("clInfoText"), clInfoText},
      {QStringLiteral("clInfoBk"), clInfoBk},
  };
  return t;
}

const TIdentTable& CursorIdents() {
  static const TIdentTable t = {
      {QStringLiteral("crDefault"), crDefault}, {QStringLiteral("crNone"), crNone},
      {QStringLiteral("crArrow"), crArrow}, {QStringLiteral("crCross"), crCross},
      {QStringLiteral("crIBeam"), crIBeam}, {QStringLiteral("crSizeNESW"), crSizeNESW},
      {QStringLiteral("crSizeNS"), crSizeNS}, {QStringLiteral("crSizeNWSE"), crSizeNWSE},
      {QStringLiteral("crSizeWE"), crSizeWE}, {QStringLiteral("crUpArrow"), crUpArrow},
      {QStringLiteral("crHourGlass"), crHourGlass}, {QStringLiteral("crDrag"), crDrag},
      {QStringLiteral("crNoDrop"), crNoDrop}, {QStringLiteral("crHSplit"), crHSplit},
      {QStringLiteral("crVSplit"), crVSplit}, {QStringLiteral("crMultiDrag"), crMultiDrag},
      {QStringLiteral("crSQLWait"), crSQLWait}, {QStringLiteral("crNo"), crNo},
      {QStringLiteral("crAppStart"), crAppStart}, {QStringLiteral("crHelp"), crHelp},
      {QStringLiteral("crHandPoint"), crHandPoint}, {QStringLiteral("crSizeAll"), crSizeAll},
  };
  return t;
}

const TIdentTable& CharsetIdents() {
  static const TIdentTable t = {
      {QStringLiteral("ANSI_CHARSET"), 0},        {QStringLiteral("DEFAULT_CHARSET"), 1},
      {QStringLiteral("SYMBOL_CHARSET"), 2},      {QStringLiteral("MAC_CHARSET"), 77},
      {QStringLiteral("SHIFTJIS_CHARSET"), 128},  {QStringLiteral("HANGEUL_CHARSET"), 129},
      {QStringLiteral("JOHAB_CHARSET"), 130},     {QStringLiteral("GB2312_CHARSET"), 134},
      {QStringLiteral("CHINESEBIG5_CHARSET"), 136}, {QStringLiteral("GREEK_CHARSET"), 161},
      {QStringLiteral("TURKISH_CHARSET"), 162},   {QStringLiteral("VIETNAMESE_CHARSET"), 163},
      {QStringLiteral("HEBREW_CHARSET"), 177},    {QStringLiteral("ARABIC_CHARSET"), 178},
      {QStringLiteral("BALTIC_CHARSET"), 186},    {QStringLiteral("RUSSIAN_CHARSET"), 204},
      {QStringLiteral("THAI_CHARSET"), 222},      {QStringLiteral("EASTEUROPE_CHARSET"), 238},
      {QStringLiteral("OEM_CHARSET"), 255},
  };
  return t;
}

const TIdentTable& AlignmentIdents() {
  static const TIdentTable t = {{QStringLiteral("taLeftJustify"), taLeftJustify},
                                {QStringLiteral("taRightJustify"), taRightJustify},
                                {QStringLiteral("taCenter"), taCenter}};
  return t;
}

const TIdentTable& FontStyleIdents() {
  static const TIdentTable t = {
      {QStringLiteral("fsBold"), fsBold},
      {QStringLiteral("fsItalic"), fsItalic},
      {QStringLiteral("fsUnderline"), fsUnderline},
      {QStringLiteral("fsStrikeOut"), fsStrikeOut},
  };
  return t;
}

// ===================================================================================
// Reading
// ===================================================================================

void TReadContext::AddFixup(const QString& name, std::function<void(TComponent*)> assign) {
  fixups_.push_back(Fixup{name, std::move(assign), where_});
}

TNotifyEvent TReadContext::BindMethod(const QString& name) const {
  if (auto* form = dynamic_cast<TCustomForm*>(Root))
    if (const std::function<void(TComponent*)>* m = form->FindMethod(name))
      return TNotifyEvent(*m, name);
  const TClassInfo* ci = Root ? FindClassInfo(Root->ClassName()) : nullptr;
  const TMethodInfo* m = ci ? ci->FindMethod(name) : nullptr;
  if (!m) throw EReadError(QStringLiteral("Method %1 not found in %2").arg(name, Root ? Root->ClassName() : QString()));
  TComponent* root = Root;
  TMethodInfo fn = *m;
  return TNotifyEvent(std::function<void(TComponent*)>([root, fn](TComponent* sender) { fn(root, sender); }), name);
}

class TDefinitionReader {
 public:
  explicit TDefinitionReader(TComponent* root) { ctx_.Root = root; }

  void ReadRoot(const TFormObject& o) {
    TComponent* root = ctx_.Root;
    const TClassInfo* ci = FindClassInfo(root->ClassName());
    if (!ci) throw EClassNotFound(QStringLiteral("Class %1 not found").arg(root->ClassName()));
    if (o.className.compare(root->ClassName(), Qt::CaseInsensitive) != 0)
      throw EReadError(QStringLiteral("Invalid stream format: class %1 expected, %2 found").arg(root->ClassName(), o.className));
    Begin(root);
    if (!o.name.isEmpty()) root->SetName(o.name);
    ReadProps(root, ci, o.props);
    for (const TFormObject& c : o.children) ReadChild(c, root);
    Finish();
  }

  TComponent* ReadStandalone(const TFormObject& o, TComponent* owner) {
    const TClassInfo* ci = FindClassInfo(o.className);
    if (!ci || !ci->create) throw EClassNotFound(QStringLiteral("Class %1 not found").arg(o.className));
    TComponent* c = ci->create(owner);
    ctx_.Root = c;
    try {
      Begin(c);
      if (!o.name.isEmpty()) c->SetName(o.name);
      ReadProps(c, ci, o.props);
      for (const TFormObject& child : o.children) ReadChild(child, c);
      Finish();
    } catch (...) {
      delete c;
      throw;
    }
    return c;
  }

 private:
  void Begin(TComponent* c) {
    c->SetState(csLoading, true);
    c->SetState(csReading, true);
    loaded_.push_back(c);
  }

  void ReadChild(const TFormObject& o, TComponent* parent) {
    const TClassInfo* ci = FindClassInfo(o.className);
    if (!ci || !ci->create) throw EClassNotFound(QStringLiteral("Class %1 not found").arg(o.className));
    TComponent* c = ci->create(ctx_.Root);
    Begin(c);
    if (!o.name.isEmpty()) c->SetName(o.name);
    c->SetParentComponent(parent);
    ReadProps(c, ci, o.props);
    for (const TFormObject& child : o.children) ReadChild(child, c);
  }

  void ReadProps(TComponent* c, const TClassInfo* ci, const std::vector<TFormProperty>& props) {
    for (const TFormProperty& p : props) {
      const QString where = c->Name().isEmpty() ? p.name : c->Name() + QLatin1Char('.') + p.name;
      ctx_.where_ = where;
      try {
        SetProperty(c, ci, p.name, p.value);
      } catch (const Exception& e) {
        throw EReadError(QStringLiteral("Error reading %1: %2").arg(where, e.Message()));
      }
    }
  }

  void SetProperty(TPersistent* obj, const TClassInfo* ci, const QString& path, const TFormValue& v) {
    const qsizetype dot = path.indexOf(QLatin1Char('.'));
    const QString head = dot < 0 ? path : path.left(dot);
    const TPropInfo* p = ci ? ci->FindProp(head) : nullptr;
    if (!p) throw EReadError(QStringLiteral("Property %1 does not exist").arg(head));
    if (dot >= 0) {
      if (p->kind != TPropKind::Persistent) throw EReadError(QStringLiteral("Property %1 does not exist").arg(path.mid(dot + 1)));
      TPersistent* sub = p->subObject(obj);
      if (!sub) streaming_detail::InvalidValue();
      SetProperty(sub, FindClassInfo(p->subClass), path.mid(dot + 1), v);
      if (p->subChanged) p->subChanged(obj);
      return;
    }
    switch (p->kind) {
      case TPropKind::Collection: ReadCollection(p->collection(obj), v); return;
      case TPropKind::Persistent: streaming_detail::InvalidValue();
      default:
        if (!p->read) streaming_detail::InvalidValue();
        p->read(obj, v, ctx_);
    }
  }

  void ReadCollection(TCollection* coll, const TFormValue& v) {
    if (!coll || v.kind != TFormValue::Kind::Collection) streaming_detail::InvalidValue();
    const TClassInfo* itemCi = FindClassInfo(coll->ItemClassName());
    if (!itemCi) throw EClassNotFound(QStringLiteral("Class %1 not found").arg(coll->ItemClassName()));
    struct Batch {
      TCollection* c;
      ~Batch() { c->EndUpdate(); }
    } batch{coll};
    coll->BeginUpdate();
    coll->Clear();
    for (const TFormItem& item : v.items) {
      TCollectionItem* it = coll->Add();
      for (const TFormProperty& p : item.props) SetProperty(it, itemCi, p.name, p.value);
    }
  }

  void Finish() {
    for (const TReadContext::Fixup& f : ctx_.fixups_) {
      TComponent* target = nullptr;
      if (f.name.compare(ctx_.Root->Name(), Qt::CaseInsensitive) == 0) target = ctx_.Root;
      else target = ctx_.Root->FindComponent(f.name);
      if (!target) throw EReadError(QStringLiteral("Error reading %1: Component %2 not found").arg(f.where, f.name));
      try {
        f.assign(target);
      } catch (const Exception& e) {
        throw EReadError(QStringLiteral("Error reading %1: %2").arg(f.where, e.Message()));
      }
    }
    for (TComponent* c : loaded_) c->SetState(csReading, false);
    for (TComponent* c : loaded_) c->Loaded();
  }

  TReadContext ctx_;
  std::vector<TComponent*> loaded_;
};

void ReadComponentFromText(const QString& text, TComponent* root) {
  const TFormObject tree = ParseFormText(text);
  TDefinitionReader(root).ReadRoot(tree);
}

TComponent* CreateComponentFromText(const QString& text, TComponent* owner) {
  const TFormObject tree = ParseFormText(text);
  return TDefinitionReader(nullptr).ReadStandalone(tree, owner);
}

void TCustomForm::LoadDefinition(const QString& text) { ReadComponentFromText(text, this); }

// ===================================================================================
// Writing
// ===================================================================================

namespace {
void WriteProps(TPersistent* obj, const TClassInfo* ci, const QString& prefix, std::vector<TFormProperty>& out) {
  if (!ci) return;
  for (const TPropInfo* p : ci->AllProps()) {
    if (p->kind == TPropKind::Persistent) {
      if (p->stored && !p->stored(obj)) continue;
      TPersistent* sub = p->subObject(obj);
      if (sub) WriteProps(sub, FindClassInfo(p->subClass), prefix + p->name + QLatin1Char('.'), out);
      continue;
    }
    if (p->kind == TPropKind::Collection) {
      TCollection* c = p->collection(obj);
      if (!c || c->Count() == 0) continue;
      const TClassInfo* itemCi = FindClassInfo(c->ItemClassName());
      TFormValue v;
      v.kind = TFormValue::Kind::Collection;
      for (int i = 0; i < c->Count(); ++i) {
        TFormItem item;
        WriteProps(c->Items(i), itemCi, QString(), item.props);
        v.items.push_back(std::move(item));
      }
      out.push_back(TFormProperty{prefix + p->name, std::move(v), 0});
      continue;
    }
    if (!p->write) continue;
    if (std::optional<TFormValue> v = p->write(obj)) out.push_back(TFormProperty{prefix + p->name, std::move(*v), 0});
  }
}

TFormObject WriteObject(TComponent* c, TComponent* root) {
  TFormObject o;
  o.name = c->Name();
  o.className = c->ClassName();
  const TClassInfo* ci = FindClassInfo(o.className);
  if (!ci) throw EClassNotFound(QStringLiteral("Class %1 not found").arg(o.className));
  WriteProps(c, ci, QString(), o.props);
  for (TComponent* k : root->ComponentList())
    if (k->GetParentComponent() == c) o.children.push_back(WriteObject(k, root));
  if (c == root)
    for (TComponent* k : root->ComponentList())
      if (!k->GetParentComponent()) o.children.push_back(WriteObject(k, root));
  return o;
}
}  // namespace

TFormObject WriteComponentToTree(TComponent* root) { return WriteObject(root, root); }

QString WriteComponentToText(TComponent* root) { return FormObjectToText(WriteComponentToTree(root)); }

// ===================================================================================
// Platform classes
// ===================================================================================

namespace {
const TIdentTable& AlignIdents() {
  static const TIdentTable t = {
      {QStringLiteral("alNone"), static_cast<int>(TAlign::alNone)},
      {QStringLiteral("alTop"), static_cast<int>(TAlign::alTop)},
      {QStringLiteral("alBottom"), static_cast<int>(TAlign::alBottom)},
      {QStringLiteral("alLeft"), static_cast<int>(TAlign::alLeft)},
      {QStringLiteral("alRight"), static_cast<int>(TAlign::alRight)},
      {QStringLiteral("alClient"), static_cast<int>(TAlign::alClient)},
      {QStringLiteral("alCustom"), static_cast<int>(TAlign::alCustom)},
  };
  return t;
}
const TIdentTable& AnchorIdents() {
  static const TIdentTable t = {
      {QStringLiteral("akLeft"), akLeft}, {QStringLiteral("akTop"), akTop},
      {QStringLiteral("akRight"), akRight}, {QStringLiteral("akBottom"), akBottom},
  };
  return t;
}
const TIdentTable& WindowStateIdents() {
  static const TIdentTable t = {
      {QStringLiteral("wsNormal"), static_cast<int>(TWindowState::wsNormal)},
      {QStringLiteral("wsMinimized"), static_cast<int>(TWindowState::wsMinimized)},
      {QStringLiteral("wsMaximized"), static_cast<int>(TWindowState::wsMaximized)},
  };
  return t;
}
const TIdentTable& PositionIdents() {
  static const TIdentTable t = {
      {QStringLiteral("poDesigned"), static_cast<int>(TPosition::poDesigned)},
      {QStringLiteral("poDefault"), static_cast<int>(TPosition::poDefault)},
      {QStringLiteral("poDefaultPosOnly"), static_cast<int>(TPosition::poDefaultPosOnly)},
      {QStringLiteral("poDefaultSizeOnly"), static_cast<int>(TPosition::poDefaultSizeOnly)},
      {QStringLiteral("poScreenCenter"), static_cast<int>(TPosition::poScreenCenter)},
      {QStringLiteral("poDesktopCenter"), static_cast<int>(TPosition::poDesktopCenter)},
      {QStringLiteral("poMainFormCenter"), static_cast<int>(TPosition::poMainFormCenter)},
      {QStringLiteral("poOwnerFormCenter"), static_cast<int>(TPosition::poOwnerFormCenter)},
  };
  return t;
}
const TIdentTable& BorderIconIdents() {
  static const TIdentTable t = {
      {QStringLiteral("biSystemMenu"), biSystemMenu}, {QStringLiteral("biMinimize"), biMinimize},
      {QStringLiteral("biMaximize"), biMaximize}, {QStringLiteral("biHelp"), biHelp},
  };
  return t;
}
const TIdentTable& FormStyleIdents() {
  static const TIdentTable t = {
      {QStringLiteral("fsNormal"), static_cast<int>(TFormStyle::fsNormal)},
      {QStringLiteral("fsMDIChild"), static_cast<int>(TFormStyle::fsMDIChild)},
      {QStringLiteral("fsMDIForm"), static_cast<int>(TFormStyle::fsMDIForm)},
      {QStringLiteral("fsStayOnTop"), static_cast<int>(TFormStyle::fsStayOnTop)},
  };
  return t;
}
const TIdentTable& BorderStyleIdents() {
  static const TIdentTable t = {
      {QStringLiteral("bsNone"), static_cast<int>(TFormBorderStyle::bsNone)},
      {QStringLiteral("bsSingle"), static_cast<int>(TFormBorderStyle::bsSingle)},
      {QStringLiteral("bsSizeable"), static_cast<int>(TFormBorderStyle::bsSizeable)},
      {QStringLiteral("bsDialog"), static_cast<int>(TFormBorderStyle::bsDialog)},
      {QStringLiteral("bsToolWindow"), static_cast<int>(TFormBorderStyle::bsToolWindow)},
      {QStringLiteral("bsSizeToolWin"), static_cast<int>(TFormBorderStyle::bsSizeToolWin)},
  };
  return t;
}
}  // namespace

void RegisterPlatformClasses() {
  if (g_platformRegistered) return;
  g_platformRegistered = true;
  RegisterImageListClasses();
  RegisterActionClasses();
  RegisterBitmapDataClass();
  RegisterMenuClasses();

  RegisterClass<TFont>(QStringLiteral("TFont"))
      .Enum(QStringLiteral("Charset"), [](const TFont* f) { return f->Charset; }, [](TFont* f, uint8_t v) { f->Charset = v, FontEdited(f); }, CharsetIdents(),
            std::nullopt, true)
      .Color(QStringLiteral("Color"), [](const TFont* f) { return f->Color; }, [](TFont* f, TColor c) { f->Color = c, FontEdited(f); })
      .Integer(QStringLiteral("Height"), [](const TFont* f) { return f->Height; }, [](TFont* f, int32_t h) { f->Height = h, FontEdited(f); })
      .String(QStringLiteral("Name"), [](const TFont* f) { return f->Name; }, [](TFont* f, const QString& n) { f->Name = n, FontEdited(f); }, true)
      .Set(QStringLiteral("Style"), [](const TFont* f) { return f->Style; }, [](TFont* f, TFontStyles s) { f->Style = s, FontEdited(f); },
           FontStyleIdents());

  RegisterClass<TComponent>(QStringLiteral("TComponent"));

  RegisterClass<TControl>(QStringLiteral("TControl"), QStringLiteral("TComponent"))
      .Integer(QStringLiteral("Tag"), &TControl::Tag, &TControl::SetTag, 0)
      .Integer(QStringLiteral("Left"), &TControl::Left, &TControl::SetLeft)
      .Integer(QStringLiteral("Top"), &TControl::Top, &TControl::SetTop)
      .Integer(QStringLiteral("Width"), &TControl::Width, &TControl::SetWidth)
      .Integer(QStringLiteral("Height"), &TControl::Height, &TControl::SetHeight)
      .Enum(QStringLiteral("Cursor"), &TControl::Cursor, &TControl::SetCursor, CursorIdents(), crDefault, true)
      .String(QStringLiteral("Hint"), &TControl::Hint, &TControl::SetHint)
      .Enum(QStringLiteral("Align"), &TControl::Align, &TControl::SetAlign, AlignIdents(),
            static_cast<int>(TAlign::alNone))
      .Set(QStringLiteral("Anchors"), &TControl::Anchors, &TControl::SetAnchors, AnchorIdents(), akLeft | akTop)
      .String(QStringLiteral("Caption"), &TControl::Caption, &TControl::SetCaption)
      .Color(QStringLiteral("Color"), &TControl::Color, &TControl::SetColor)
      .Bool(QStringLiteral("Enabled"), &TControl::Enabled, &TControl::SetEnabled, true)
      .Font(QStringLiteral("Font"), [](TControl* c) { return &c->FontRef(); }, [](TControl* c) { c->FontChanged(); },
            [](TControl* c) { return !c->ParentFont(); })
      .Bool(QStringLiteral("ParentColor"), &TControl::ParentColor, &TControl::SetParentColor)
      .Bool(QStringLiteral("ParentFont"), &TControl::ParentFont, &TControl::SetParentFont)
      .Bool(QStringLiteral("ParentShowHint"), &TControl::ParentShowHint, &TControl::SetParentShowHint, true)
      .Bool(QStringLiteral("ShowHint"), &TControl::ShowHint, &TControl::SetShowHint, false)
      .Bool(QStringLiteral("Visible"), &TControl::Visible, &TControl::SetVisible, true)
      .Event(QStringLiteral("OnClick"), &TControl::OnClick)
      .Event(QStringLiteral("OnDblClick"), &TControl::OnDblClick)
      .Event(QStringLiteral("OnResize"), &TControl::OnResize);

  RegisterClass<TGraphicControl>(QStringLiteral("TGraphicControl"), QStringLiteral("TControl"));

  RegisterClass<TWinControl>(QStringLiteral("TWinControl"), QStringLiteral("TControl"))
      .Integer(QStringLiteral("TabOrder"), &TWinControl::TabOrder, &TWinControl::SetTabOrder)
      .Bool(QStringLiteral("TabStop"), &TWinControl::TabStop, &TWinControl::SetTabStop)
      .Event(QStringLiteral("OnEnter"), &TWinControl::OnEnter)
      .Event(QStringLiteral("OnExit"), &TWinControl::OnExit);

  RegisterClass<TCustomControl>(QStringLiteral("TCustomControl"), QStringLiteral("TWinControl"));

  RegisterClass<TCustomForm>(QStringLiteral("TCustomForm"), QStringLiteral("TWinControl"))
      .Hide(QStringLiteral("TabOrder"))
      .Hide(QStringLiteral("TabStop"))
      .Hide(QStringLiteral("Align"))
      .Hide(QStringLiteral("Anchors"))
      // The client size is stored; the outer size follows from it and the frame.
      .Integer(QStringLiteral("Width"), &TControl::Width, [](TCustomForm* f, int w) { f->SetWidth(w); })
      .Integer(QStringLiteral("Height"), &TControl::Height, [](TCustomForm* f, int h) { f->SetHeight(h); })
      .Integer(QStringLiteral("ClientHeight"), &TControl::ClientHeight, &TCustomForm::SetClientHeight)
      .Integer(QStringLiteral("ClientWidth"), &TControl::ClientWidth, &TCustomForm::SetClientWidth)
      .Bool(QStringLiteral("AlphaBlend"), &TCustomForm::AlphaBlend, &TCustomForm::SetAlphaBlend, false)
      .Integer(QStringLiteral("AlphaBlendValue"), &TCustomForm::AlphaBlendValue, &TCustomForm::SetAlphaBlendValue, 255)
      .Bool(QStringLiteral("AutoScroll"), &TCustomForm::AutoScroll, &TCustomForm::SetAutoScroll, true)
      .Set(QStringLiteral("BorderIcons"), &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons, BorderIconIdents(),
           biSystemMenu | biMinimize | biMaximize)
      .Enum(QStringLiteral("BorderStyle"), &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle,
            BorderStyleIdents(), static_cast<int>(TFormBorderStyle::bsSizeable))
      .Enum(QStringLiteral("FormStyle"), &TCustomForm::FormStyle, &TCustomForm::SetFormStyle, FormStyleIdents(),
            static_cast<int>(TFormStyle::fsNormal))
      .Enum(QStringLiteral("Position"), &TCustomForm::Position, &TCustomForm::SetPosition, PositionIdents(),
            static_cast<int>(TPosition::poDesigned))
      .Enum(QStringLiteral("WindowState"), &TCustomForm::WindowState, &TCustomForm::SetWindowState,
            WindowStateIdents(), static_cast<int>(TWindowState::wsNormal))
      .Ignored(QStringLiteral("OldCreateOrder"))
      .Ignored(QStringLiteral("PixelsPerInch"))
      .Ignored(QStringLiteral("TextHeight"))
      .Ignored(QStringLiteral("Scaled"))
      .Event(QStringLiteral("OnActivate"), &TCustomForm::OnActivate)
      .Event(QStringLiteral("OnCreate"), &TCustomForm::OnCreate)
      .Event(QStringLiteral("OnDeactivate"), &TCustomForm::OnDeactivate)
      .Event(QStringLiteral("OnDestroy"), &TCustomForm::OnDestroy)
      .Event(QStringLiteral("OnHide"), &TCustomForm::OnHide)
      .Event(QStringLiteral("OnShow"), &TCustomForm::OnShow);
  // Width and Height of a form are read but the client size is what is written.
  {
    TClassInfo& ci = const_cast<TClassInfo&>(*FindClassInfo(QStringLiteral("TCustomForm")));
    for (TPropInfo& p : ci.props)
      if (p.name == QLatin1String("Width") || p.name == QLatin1String("Height"))
        p.write = [](TPersistent*) -> std::optional<TFormValue> { return std::nullopt; };
  }

  RegisterClass<TForm>(QStringLiteral("TForm"), QStringLiteral("TCustomForm"));

  static const TIdentTable kKind = {{QStringLiteral("dtkDate"), 0}, {QStringLiteral("dtkTime"), 1}};
  static const TIdentTable kDateFormat = {{QStringLiteral("dfShort"), 0}, {QStringLiteral("dfLong"), 1}};
  static const TIdentTable kDateMode = {{QStringLiteral("dmComboBox"), 0}, {QStringLiteral("dmUpDown"), 1}};
  RegisterClass<TDateTimePicker>(QStringLiteral("TDateTimePicker"), QStringLiteral("TWinControl"))
      .Float(QStringLiteral("Date"), &TDateTimePicker::DateValue, &TDateTimePicker::SetDateValue)
      .Float(QStringLiteral("Time"), &TDateTimePicker::TimeValue, &TDateTimePicker::SetTimeValue)
      .Enum(QStringLiteral("Kind"), &TDateTimePicker::Kind, &TDateTimePicker::SetKind, kKind, 0)
      .Enum(QStringLiteral("DateFormat"), &TDateTimePicker::DateFormat, &TDateTimePicker::SetDateFormat, kDateFormat, 0)
      .Enum(QStringLiteral("DateMode"), &TDateTimePicker::DateMode, &TDateTimePicker::SetDateMode, kDateMode, 0)
      .Event(QStringLiteral("OnChange"), &TDateTimePicker::OnChange);

  static const TIdentTable kResizeStyle = {{QStringLiteral("rsNone"), 0}, {QStringLiteral("rsLine"), 1},
                                           {QStringLiteral("rsUpdate"), 2}, {QStringLiteral("rsPattern"), 3}};
  RegisterClass<TSplitter>(QStringLiteral("TSplitter"), QStringLiteral("TGraphicControl"))
      .Bool(QStringLiteral("Beveled"), &TSplitter::Beveled, &TSplitter::SetBeveled, false)
      .Integer(QStringLiteral("MinSize"), &TSplitter::MinSize, &TSplitter::SetMinSize, 30)
      .Enum(QStringLiteral("ResizeStyle"), &TSplitter::ResizeStyle, &TSplitter::SetResizeStyle, kResizeStyle, 3)
      .Event(QStringLiteral("OnMoved"), &TSplitter::OnMoved);

  RegisterClass<TCustomEdit>(QStringLiteral("TCustomEdit"), QStringLiteral("TWinControl"))
      .Hide(QStringLiteral("Caption"))
      .Integer(QStringLiteral("MaxLength"), &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength, 0)
      .Bool(QStringLiteral("ReadOnly"), &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly, false)
      .Bool(QStringLiteral("AutoSelect"), &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect, true)
      .Integer(QStringLiteral("PasswordChar"), [](const TCustomEdit* e) { return static_cast<int>(e->PasswordChar().unicode()); },
               [](TCustomEdit* e, int c) { e->SetPasswordChar(QChar(static_cast<char16_t>(c))); }, 0)
      .String(QStringLiteral("Text"), &TControl::Text, &TControl::SetText)
      .Event(QStringLiteral("OnChange"), &TCustomEdit::OnChange);
  RegisterClass<TEdit>(QStringLiteral("TEdit"), QStringLiteral("TCustomEdit"));

  RegisterClass<TTimer>(QStringLiteral("TTimer"), QStringLiteral("TComponent"))
      .Bool(QStringLiteral("Enabled"), &TTimer::Enabled, &TTimer::SetEnabled, true)
      .Integer(QStringLiteral("Interval"), &TTimer::Interval, &TTimer::SetInterval, 1000)
      .Event(QStringLiteral("OnTimer"), &TTimer::OnTimer);
}

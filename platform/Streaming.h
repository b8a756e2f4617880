// Reading and writing components as stored form definitions (text, see FormText.h), through
// a registry of classes: class name -> factory + property table (+ handler methods for forms).
//
// Reading (ReadComponentFromText): every object is created in definition order, owned by the
// root, told its enclosing object (SetParentComponent) and then given its stored properties;
// references to other components (by name) are resolved after everything has been read, in
// the order they were read; finally every component gets Loaded(), root first, in definition
// order. Failures raise EReadError ("Error reading Button1.Foo: Property Foo does not exist"),
// EClassNotFound ("Class TFoo not found") or EParserError (syntax, "... on line n").
//
// Writing (WriteComponentToText) stores each property whose value differs from its declared
// default (or that has none), the root's children in ownership order: controls under their
// parent, then the components without one. Reading the text back gives the same values.
//
// Registering: each library has a function that registers its classes, called by the program
// (and tests) before reading; static registrars would be dropped by the linker in static
// libraries. Platform classes are registered on first use of the registry. Example:
//
//   auto b = RegisterClass<TMyPanel>(QStringLiteral("TMyPanel"), QStringLiteral("TCustomControl"));
//   b.Integer("Spacing", &TMyPanel::Spacing, &TMyPanel::SetSpacing, 2)
//    .Reference<TbsSkinData>("SkinData", &TMyPanel::SkinData, &TMyPanel::SetSkinData);
//
// GUI thread only.
#pragma once
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/Collection.h"
#include "platform/Colors.h"
#include "platform/Component.h"
#include "platform/Events.h"
#include "platform/Exceptions.h"
#include "platform/Font.h"
#include "platform/FormText.h"
#include "platform/Stream.h"

class TClassInfo;
class TReadContext;

// Identifier <-> value tables for enumerations and set elements (set elements give bit masks).
// Property tables keep a reference: give tables that live as long as the program (statics).
using TIdentTable = std::vector<std::pair<QString, int>>;

enum class TPropKind { Integer, Float, Bool, String, Enum, Set, StringList, Binary, Reference, Event, Persistent, Collection };

struct TPropInfo {
  QString name;
  TPropKind kind = TPropKind::Integer;
  // Restores the value into the object; raises Exception with a plain message on bad values.
  std::function<void(TPersistent*, const TFormValue&, TReadContext&)> read;
  // The value to store, or nothing when it is at its default (or not stored at all).
  std::function<std::optional<TFormValue>(TPersistent*)> write;
  // Persistent: the sub-object, its class, and the owner's reaction after a sub-property changed.
  std::function<TPersistent*(TPersistent*)> subObject;
  QString subClass;
  std::function<void(TPersistent*)> subChanged;
  std::function<bool(TPersistent*)> stored;  // Persistent and Collection: store at all?
  // Collection.
  std::function<TCollection*(TPersistent*)> collection;
};

using TMethodInfo = std::function<void(TComponent* self, TComponent* sender)>;

class TClassInfo {
 public:
  QString name;
  QString parent;  // parent class name, empty for none
  // Makes a component of the class with the given owner; empty for abstract classes and
  // for non-component classes (fonts, collection items).
  std::function<TComponent*(TComponent* owner)> create;
  std::vector<TPropInfo> props;
  QSet<QString> hidden;                  // lower-case names of inherited properties not published here
  QHash<QString, TMethodInfo> methods;   // lower-case handler name -> method

  // Property by name (without regard to case), searching the parents; nullptr when absent.
  const TPropInfo* FindProp(const QString& name) const;
  const TMethodInfo* FindMethod(const QString& name) const;
  // Every published property, parents' first.
  std::vector<const TPropInfo*> AllProps() const;
  const TClassInfo* ParentInfo() const;
};

// The registry. Registering a name again replaces the earlier entry.
TClassInfo& RegisterClassInfo(TClassInfo info);
const TClassInfo* FindClassInfo(const QString& name);
void RegisterPlatformClasses();

// Deferred reference assignment (used by the Reference property kind).
class TReadContext {
 public:
  TComponent* Root = nullptr;
  // Resolves `name` to a component after all properties are read, then calls `assign`.
  void AddFixup(const QString& name, std::function<void(TComponent*)> assign);
  // The root's handler of that name bound to the root, or an exception when it has none.
  TNotifyEvent BindMethod(const QString& name) const;

 private:
  friend void ReadComponentFromText(const QString&, TComponent*);
  friend class TDefinitionReader;
  struct Fixup {
    QString name;
    std::function<void(TComponent*)> assign;
    QString where;  // "Button1.SkinData" for messages
  };
  std::vector<Fixup> fixups_;
  QString where_;
};

// Reads a definition into `root` (which must be of the class the text names) and creates
// its components, owned by the root.
void ReadComponentFromText(const QString& text, TComponent* root);
// Creates a stand-alone component of the class named in the text (owned by `owner`).
TComponent* CreateComponentFromText(const QString& text, TComponent* owner);
// The definition of `root` and of every component it owns.
QString WriteComponentToText(TComponent* root);
TFormObject WriteComponentToTree(TComponent* root);

// Shared identifier tables.
const TIdentTable& ColorIdents();
const TIdentTable& CursorIdents();
const TIdentTable& CharsetIdents();
const TIdentTable& FontStyleIdents();
const TIdentTable& AlignmentIdents();

// ===================================================================================
// Builder
// ===================================================================================

namespace streaming_detail {
template <class T>
T* Cast(TPersistent* p) {
  T* t = dynamic_cast<T*>(p);
  if (!t) throw EReadError(QStringLiteral("Invalid property value"));
  return t;
}
[[noreturn]] void InvalidValue();
int64_t ToInteger(const TFormValue& v);
int64_t IdentValue(const TIdentTable& table, const TFormValue& v);
QString IdentName(const TIdentTable& table, int64_t value);
uint32_t SetValue(const TIdentTable& table, const TFormValue& v);
QStringList SetNames(const TIdentTable& table, uint32_t value);
}  // namespace streaming_detail

template <class T>
class TClassBuilder {
 public:
  explicit TClassBuilder(TClassInfo& info) : info_(info) {}
  TClassInfo& Info() { return info_; }

  template <class G, class S>
  TClassBuilder& Integer(const QString& name, G get, S set, std::optional<int64_t> def = std::nullopt) {
    TPropInfo p;
    p.name = name;
    p.kind = TPropKind::Integer;
    p.read = [set](TPersistent* o, const TFormValue& v, TReadContext&) {
      const int64_t n = streaming_detail::ToInteger(v);
      using Arg = std::decay_t<decltype(std::invoke(std::declval<G>(), std::declval<T*>()))>;
      if (n < static_cast<int64_t>(std::numeric_limits<Arg>::min()) ||
          n > static_cast<int64_t>(std::numeric_limits<Arg>::max()))
        streaming_detail::InvalidValue();
      std::invoke(set, streaming_detail::Cast<T>(o), static_cast<Arg>(n));
    };
    p.write = [get, def](TPersistent* o) -> std::optional<TFormValue> {
      const int64_t n = static_cast<int64_t>(std::invoke(get, streaming_detail::Cast<T>(o)));
      if (def && *def == n) return std::nullopt;
      return TFormValue::Int(n);
    };
    info_.props.push_back(std::move(p));
    return *this;
  }

  template <class G, class S>
  TClassBuilder& Float(const QString& name, G get, S set, std::optional<double> def = std::nullopt) {
    TPropInfo p;
    p.name = name;
    p.kind = TPropKind::Float;
    p.read = [set](TPersistent* o, const TFormValue& v, TReadContext&) {
      double d;
      if (v.kind == TFormValue::Kind::Float) d = v.real;
      else if (v.kind == TFormValue::Kind::Integer) d = static_cast<double>(v.integer);
      else streaming_detail::InvalidValue();
      std::invoke(set, streaming_detail::Cast<T>(o), d);
    };
    p.write = [get, def](TPersistent* o) -> std::optional<TFormValue> {
      const double d = std::invoke(get, streaming_detail::Cast<T>(o));
      if (def && *def == d) return std::nullopt;
      return TFormValue::Real(d);
    };
    info_.props.push_back(std::move(p));
    return *this;
  }

  template <class G, class S>
  TClassBuilder& Bool(const QString& name, G get, S set, std::optional<bool> def = std::nullopt) {
    static const TIdentTable kBool = {{QStringLiteral("False"), 0}, {QStringLiteral("True"), 1}};
    TPropInfo p;
    p.name = name;
    p.kind = TPropKind::Bool;
    p.read = [set](TPersistent* o, const TFormValue& v, TReadContext&) {
      std::invoke(set, streaming_detail::Cast<T>(o), streaming_detail::IdentValue(kBool, v) != 0);
    };
    p.write = [get, def](TPersistent* o) -> std::optional<TFormValue> {
      const bool b = std::invoke(get, streaming_detail::Cast<T>(o));
      if (def && *def == b) return std::nullopt;
      return TFormValue::Identifier(b ? QStringLiteral("True") : QStringLiteral("False"));
    };
    info_.props.push_back(std::move(p));
    return *this;
  }

  // Strings are stored unless empty (or always, with storeEmpty).
  template <class G, class S>
  TClassBuilder& String(const QString& name, G get, S set, bool storeEmpty = false) {
    TPropInfo p;
    p.name = name;
    p.kind = TPropKind::String;
    p.read = [set](TPersistent* o, const TFormValue& v, TReadContext&) {
      if (v.kind != TFormValue::Kind::String) streaming_detail::InvalidValue();
      std::invoke(set, streaming_detail::Cast<T>(o), v.text);
    };
    p.write = [get, storeEmpty](TPersistent* o) -> std::optional<TFormValue> {
      const QString s = std::invoke(get, streaming_detail::Cast<T>(o));
      if (s.isEmpty() && !storeEmpty) return std::nullopt;
      return TFormValue::Str(s);
    };
    info_.props.push_back(std::move(p));
    return *this;
  }

  // Enumerations (and integers with names, such as colours and cursors): an identifier from
  // the table or, with allowNumbers, a plain integer. Written as the identifier when there is one.
  template <class G, class S>
  TClassBuilder& Enum(const QString& name, G get, S set, const TIdentTable& idents,
                      std::optional<int64_t> def = std::nullopt, bool allowNumbers = false) {
    TPropInfo p;
    p.name = name;
    p.kind = TPropKind::Enum;
    p.read = [set, &idents, allowNumbers](TPersistent* o, const TFormValue& v, TReadContext&) {
      using Arg = std::decay_t<decltype(std::invoke(std::declval<G>(), std::declval<T*>()))>;
      int64_t n;
      if (allowNumbers && v.kind == TFormValue::Kind::Integer) n = v.integer;
      else n = streaming_detail::IdentValue(idents, v);
      if constexpr (std::is_enum_v<Arg>) {
        std::invoke(set, streaming_detail::Cast<T>(o), static_cast<Arg>(n));
      } else {
        if (n < static_cast<int64_t>(std::numeric_limits<Arg>::min()) ||
            n > static_cast<int64_t>(std::numeric_limits<Arg>::max()))
          streaming_detail::InvalidValue();
        std::invoke(set, streaming_detail::Cast<T>(o), static_cast<Arg>(n));
      }
    };
    p.write = [get, &idents, def](TPersistent* o) -> std::optional<TFormValue> {
      const int64_t n = static_cast<int64_t>(std::invoke(get, streaming_detail::Cast<T>(o)));
      if (def && *def == n) return std::nullopt;
      const QString id = streaming_detail::IdentName(idents, n);
      return id.isEmpty() ? TFormValue::Int(n) : TFormValue::Identifier(id);
    };
    info_.props.push_back(std::move(p));
    return *this;
  }

  template <class G, class S>
  TClassBuilder& Color(const QString& name, G get, S set, std::optional<TColor> def = std::nullopt) {
    return Enum(name, get, set, ColorIdents(), def ? std::optional<int64_t>(*def) : std::nullopt, true);
  }

  // Sets: "[a, b]" with element bit values from the table.
  template <class G, class S>
  TClassBuilder& Set(const QString& name, G get, S set, const TIdentTable& bits,
                     std::optional<uint32_t> def = std::nullopt) {
    TPropInfo p;
    p.name = name;
    p.kind = TPropKind::Set;
    p.read = [set, &bits](TPersistent* o, const TFormValue& v, TReadContext&) {
      using Arg = std::decay_t<decltype(std::invoke(std::declval<G>(), std::declval<T*>()))>;
      std::invoke(set, streaming_detail::Cast<T>(o), static_cast<Arg>(streaming_detail::SetValue(bits, v)));
    };
    p.write = [get, &bits, def](TPersistent* o) -> std::optional<TFormValue> {
      const auto n = static_cast<uint32_t>(std::invoke(get, streaming_detail::Cast<T>(o)));
      if (def && *def == n) return std::nullopt;
      return TFormValue::SetOf(streaming_detail::SetNames(bits, n));
    };
    info_.props.push_back(std::move(p));
    return *this;
  }

  // String lists: "( 'a' 'b' )"; stored unless empty.
  template <class G, class S>
  TClassBuilder& StringList(const QString& name, G get, S set) {
    TPropInfo p;
    p.name = name;
    p.kind = TPropKind::StringList;
    p.read = [set](TPersistent* o, const TFormValue& v, TReadContext&) {
      if (v.kind != TFormValue::Kind::List) streaming_detail::InvalidValue();
      QStringList l;
      for (const TFormValue& e : v.list) {
        if (e.kind != TFormValue::Kind::String) streaming_detail::InvalidValue();
        l << e.text;
      }
      std::invoke(set, streaming_detail::Cast<T>(o), l);
    };
    p.write = [get](TPersistent* o) -> std::optional<TFormValue> {
      const QStringList l = std::invoke(get, streaming_detail::Cast<T>(o));
      if (l.isEmpty()) return std::nullopt;
      TFormValue v;
      v.kind = TFormValue::Kind::List;
      for (const QString& s : l) v.list.push_back(TFormValue::Str(s));
      return v;
    };
    info_.props.push_back(std::move(p));
    return *this;
  }

  // Byte blocks: `read` gets a stream over the stored bytes; `write` fills a stream and returns
  // false when there is nothing to store.
  TClassBuilder& Binary(const QString& name, std::function<void(T*, TStream&)> read,
                        std::function<bool(T*, TStream&)> write) {
    TPropInfo p;
    p.name = name;
    p.kind = TPropKind::Binary;
    p.read = [read](TPersistent* o, const TFormValue& v, TReadContext&) {
      if (v.kind != TFormValue::Kind::Binary) streaming_detail::InvalidValue();
      TBytesStream s(v.bytes.constData(), v.bytes.size());
      read(streaming_detail::Cast<T>(o), s);
    };
    p.write = [write](TPersistent* o) -> std::optional<TFormValue> {
      TMemoryStream s;
      if (!write(streaming_detail::Cast<T>(o), s)) return std::nullopt;
      return TFormValue::Bytes(QByteArray(reinterpret_cast<const char*>(s.Memory()), static_cast<qsizetype>(s.Size())));
    };
    info_.props.push_back(std::move(p));
    return *this;
  }

  // A reference to another component of the definition, by name; "nil" clears it. The setter
  // takes R*; a component of another class is an invalid value.
  template <class R, class G, class S>
  TClassBuilder& Reference(const QString& name, G get, S set) {
    TPropInfo p;
    p.name = name;
    p.kind = TPropKind::Reference;
    p.read = [set](TPersistent* o, const TFormValue& v, TReadContext& ctx) {
      if (v.kind != TFormValue::Kind::Ident) streaming_detail::InvalidValue();
      T* t = streaming_detail::Cast<T>(o);
      if (v.text.compare(QLatin1String("nil"), Qt::CaseInsensitive) == 0) {
        std::invoke(set, t, static_cast<R*>(nullptr));
        return;
      }
      ctx.AddFixup(v.text, [t, set](TComponent* c) {
        R* r = dynamic_cast<R*>(c);
        if (!r) streaming_detail::InvalidValue();
        std::invoke(set, t, r);
      });
    };
    p.write = [get](TPersistent* o) -> std::optional<TFormValue> {
      const TComponent* c = std::invoke(get, streaming_detail::Cast<T>(o));
      if (!c || c->Name().isEmpty()) return std::nullopt;
      return TFormValue::Identifier(c->Name());
    };
    info_.props.push_back(std::move(p));
    return *this;
  }

  // A notify event bound by name to a handler method of the root (see Method).
  TClassBuilder& Event(const QString& name, TNotifyEvent T::*member) {
    TPropInfo p;
    p.name = name;
    p.kind = TPropKind::Event;
    p.read = [member](TPersistent* o, const TFormValue& v, TReadContext& ctx) {
      if (v.kind != TFormValue::Kind::Ident) streaming_detail::InvalidValue();
      T* t = streaming_detail::Cast<T>(o);
      if (v.text.compare(QLatin1String("nil"), Qt::CaseInsensitive) == 0) (t->*member).Clear();
      else t->*member = ctx.BindMethod(v.text);
    };
    p.write = [member](TPersistent* o) -> std::optional<TFormValue> {
      const TNotifyEvent& e = streaming_detail::Cast<T>(o)->*member;
      if (!e || e.MethodName.isEmpty()) return std::nullopt;
      return TFormValue::Identifier(e.MethodName);
    };
    info_.props.push_back(std::move(p));
    return *this;
  }

  // An owned sub-object stored as "Name.Sub = value" lines (fonts, column titles). `changed`
  // runs after a sub-property was read; `stored` decides whether it is written at all.
  template <class Sub>
  TClassBuilder& Persistent(const QString& name, const QString& subClass, std::function<Sub*(T*)> get,
                            std::function<void(T*)> changed = {}, std::function<bool(T*)> stored = {}) {
    TPropInfo p;
    p.name = name;
    p.kind = TPropKind::Persistent;
    p.subClass = subClass;
    p.subObject = [get](TPersistent* o) -> TPersistent* { return get(streaming_detail::Cast<T>(o)); };
    if (changed) p.subChanged = [changed](TPersistent* o) { changed(streaming_detail::Cast<T>(o)); };
    if (stored) p.stored = [stored](TPersistent* o) { return stored(streaming_detail::Cast<T>(o)); };
    info_.props.push_back(std::move(p));
    return *this;
  }

  // A font sub-object: Font.Name, Font.Height, Font.Color, Font.Style, Font.Charset.
  TClassBuilder& Font(const QString& name, std::function<TFont*(T*)> get, std::function<void(T*)> changed = {},
                      std::function<bool(T*)> stored = {}) {
    return Persistent<TFont>(name, QStringLiteral("TFont"), std::move(get), std::move(changed), std::move(stored));
  }

  // A collection: the items are cleared, then made one by one as they are read.
  TClassBuilder& Collection(const QString& name, std::function<TCollection*(T*)> get) {
    TPropInfo p;
    p.name = name;
    p.kind = TPropKind::Collection;
    p.collection = [get](TPersistent* o) { return get(streaming_detail::Cast<T>(o)); };
    info_.props.push_back(std::move(p));
    return *this;
  }

  // A handler method of a form class, named in event properties ("OnClick = Button1Click").
  TClassBuilder& Method(const QString& name, void (T::*m)(TComponent*)) {
    info_.methods.insert(name.toLower(), [m](TComponent* self, TComponent* sender) {
      (streaming_detail::Cast<T>(self)->*m)(sender);
    });
    return *this;
  }

  // Reads a property into nothing (accepted for compatibility, never written).
  TClassBuilder& Ignored(const QString& name) {
    TPropInfo p;
    p.name = name;
    p.read = [](TPersistent*, const TFormValue&, TReadContext&) {};
    p.write = [](TPersistent*) -> std::optional<TFormValue> { return std::nullopt; };
    info_.props.push_back(std::move(p));
    return *this;
  }

  // Leaves an inherited property unpublished in this class.
  TClassBuilder& Hide(const QString& name) {
    info_.hidden.insert(name.toLower());
    return *this;
  }

 private:
  TClassInfo& info_;
};

// Registers class T (made with `new T(owner)` when it is a component that can be made that way).
template <class T>
TClassBuilder<T> RegisterClass(const QString& name, const QString& parent = QString()) {
  TClassInfo info;
  info.name = name;
  info.parent = parent;
  if constexpr (std::is_base_of_v<TComponent, T> && std::is_constructible_v<T, TComponent*> && !std::is_abstract_v<T>)
    info.create = [](TComponent* owner) -> TComponent* { return new T(owner); };
  return TClassBuilder<T>(RegisterClassInfo(std::move(info)));
}

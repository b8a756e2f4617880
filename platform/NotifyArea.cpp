#include "platform/NotifyArea.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QCursor>
#include <QHash>
#include <QPainter>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <set>

#include "platform/Forms.h"
#include "platform/NotifyIconAccessible.h"

#if __has_include(<xcb/xfixes.h>)
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>
#define LG_HAVE_XCB 1
#endif

// ---- message windows and registered messages ---------------------------------------------

namespace {
std::set<const TMessageWindow*>& LiveWindows() {
  static std::set<const TMessageWindow*> s;
  return s;
}
}  // namespace

TMessageWindow::TMessageWindow(TWndMethod proc) : proc_(std::move(proc)) { LiveWindows().insert(this); }

namespace {
void ForgetIcons(const TMessageWindow* w);
}

TMessageWindow::~TMessageWindow() {
  LiveWindows().erase(this);
  ForgetIcons(this);
}

bool TMessageWindow::Alive(const TMessageWindow* w) { return w && LiveWindows().count(w) > 0; }

intptr_t TMessageWindow::Perform(uint32_t msg, intptr_t wparam, intptr_t lparam) {
  TMessage m{msg, wparam, lparam, 0};
  if (proc_) proc_(m);
  return m.Result;
}

uint32_t RegisterWindowMessage(const QString& name) {
  static QHash<QString, uint32_t> names;
  const QString key = name.toLower();
  auto it = names.find(key);
  if (it != names.end()) return it.value();
  const uint32_t n = 0xC000u + static_cast<uint32_t>(names.size());
  names.insert(key, n);
  return n;
}

uint32_t TaskbarCreatedMessage() { return RegisterWindowMessage(QStringLiteral("TaskbarCreated")); }

namespace {

// Mouse messages as the area reports them (the low word of the callback's LParam).
constexpr uint32_t kMove = 0x0200, kLDown = 0x0201, kLUp = 0x0202, kLDbl = 0x0203, kRDown = 0x0204,
                   kRUp = 0x0205, kMDown = 0x0207, kMUp = 0x0208;

// Delivers a callback on the event loop, when the window still exists.
void Post(TMessageWindow* wnd, uint32_t callback, uint32_t id, uint32_t mouse) {
  QTimer::singleShot(0, qApp, [wnd, callback, id, mouse] {
    if (TMessageWindow::Alive(wnd)) wnd->Perform(callback, id, mouse);
  });
}

void Broadcast(uint32_t msg) {
  const std::set<const TMessageWindow*> all = LiveWindows();
  for (const TMessageWindow* w : all)
    if (TMessageWindow::Alive(w)) const_cast<TMessageWindow*>(w)->Perform(msg, 0, 0);
}

QString CutTip(const QString& tip) {
  QString t = tip.left(kNotifyTipLength);
  if (!t.isEmpty() && t.back().isHighSurrogate()) t.chop(1);
  return t;
}

// A neutral picture for an icon without an image, so that the icon can still be found and used.
QImage DefaultIcon() {
  QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setPen(QColor(40, 40, 40));
  p.setBrush(QColor(90, 130, 200));
  p.drawRect(1, 1, 13, 13);
  return img;
}

struct Icon {
  TMessageWindow* Wnd = nullptr;
  uint32_t ID = 0;
  uint32_t Callback = 0;
  bool HasCallback = false;
  QImage Picture;
  QString Tip;
  uint32_t XWindow = 0;  // the X window while in an XEmbed tray
  // Stands for XWindow among the application's windows, so that screen readers see the icon.
  std::unique_ptr<TNotifyIconWindow> Anchor;
  int W = 22, H = 22;
  std::unique_ptr<QSystemTrayIcon> Sni;  // the StatusNotifier fallback
  // Double clicks: the last press of each button.
  uint32_t LastPressTime = 0;
  int LastPressButton = 0;
};

using Key = std::pair<const TMessageWindow*, uint32_t>;

class NotifyArea : public QAbstractNativeEventFilter {
 public:
  static NotifyArea& Instance() {
    if (!instance_) instance_ = new NotifyArea();  // lives to the end of the process
    return *instance_;
  }
  static NotifyArea* Existing() { return instance_; }

  bool Call(uint32_t op, const TNotifyIconData& d) {
    if (!d.Wnd) return false;
    const Key key(d.Wnd, d.ID);
    auto it = icons_.find(key);
    switch (op) {
      case NIM_ADD: {
        if (it != icons_.end()) return false;
        auto icon = std::make_unique<Icon>();
        icon->Wnd = d.Wnd;
        icon->ID = d.ID;
        Apply(*icon, d);
        if (!Show(*icon)) return false;
        icons_[key] = std::move(icon);
        return true;
      }
      case NIM_MODIFY:
        if (it == icons_.end()) return false;
        Apply(*it->second, d);
        Update(*it->second);
        return true;
      case NIM_DELETE:
        if (it == icons_.end()) return false;
        Hide(*it->second);
        icons_.erase(it);
        return true;
      default:
        return false;
    }
  }

  TNotifyAreaKind Kind() {
    if (TrayOwner() != 0) return TNotifyAreaKind::XEmbed;
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) && QSystemTrayIcon::isSystemTrayAvailable())
      return TNotifyAreaKind::StatusNotifier;
    return TNotifyAreaKind::None;
  }

  uint32_t XWindowOf(const TMessageWindow* w, uint32_t id) const {
    auto it = icons_.find(Key(w, id));
    return it == icons_.end() ? 0 : it->second->XWindow;
  }

  // Called before a message window goes: its icons go with it.
  void Forget(const TMessageWindow* w) {
    for (auto it = icons_.begin(); it != icons_.end();) {
      if (it->first.first == w) {
        Hide(*it->second);
        it = icons_.erase(it);
      } else {
        ++it;
      }
    }
  }

  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
#ifdef LG_HAVE_XCB
    if (type != "xcb_generic_event_t" || !conn_) return false;
    auto* ev = static_cast<xcb_generic_event_t*>(message);
    const uint8_t rt = ev->response_type & 0x7F;
    if (xfixesEvent_ && rt == xfixesEvent_ + XCB_XFIXES_SELECTION_NOTIFY) {
      auto* sn = reinterpret_cast<xcb_xfixes_selection_notify_event_t*>(ev);
      if (sn->selection == selection_) OwnerChanged(sn->owner);
      return false;
    }
    switch (rt) {
      case XCB_EXPOSE: {
        if (Icon* i = ByX(reinterpret_cast<xcb_expose_event_t*>(ev)->window)) Paint(*i);
        return false;
      }
      case XCB_CONFIGURE_NOTIFY: {
        auto* ce = reinterpret_cast<xcb_configure_notify_event_t*>(ev);
        if (Icon* i = ByX(ce->window)) {
          i->W = std::max<int>(1, ce->width);
          i->H = std::max<int>(1, ce->height);
          Paint(*i);
        }
        return false;
      }
      case XCB_DESTROY_NOTIFY: {
        if (Icon* i = ByX(reinterpret_cast<xcb_destroy_notify_event_t*>(ev)->window)) {
          DropAnchor(*i);
          i->XWindow = 0;
        }
        return false;
      }
      case XCB_MOTION_NOTIFY: {
        if (Icon* i = ByX(reinterpret_cast<xcb_motion_notify_event_t*>(ev)->event)) Mouse(*i, kMove);
        return false;
      }
      case XCB_BUTTON_PRESS:
      case XCB_BUTTON_RELEASE: {
        auto* be = reinterpret_cast<xcb_button_press_event_t*>(ev);
        Icon* i = ByX(be->event);
        if (!i || be->detail < 1 || be->detail > 3) return false;
        const bool press = rt == XCB_BUTTON_PRESS;
        const int b = be->detail;
        uint32_t msg;
        if (press) {
          const uint32_t interval = static_cast<uint32_t>(std::max(1, QApplication::doubleClickInterval()));
          const bool dbl = b == i->LastPressButton && i->LastPressTime != 0 && be->time - i->LastPressTime <= interval;
          i->LastPressButton = b;
          i->LastPressTime = dbl ? 0 : be->time;
          if (b == 1) msg = dbl ? kLDbl : kLDown;
          else if (b == 3) msg = dbl ? 0x0206 : kRDown;
          else msg = dbl ? 0x0209 : kMDown;
        } else {
          msg = b == 1 ? kLUp : b == 3 ? kRUp : kMUp;
        }
        Mouse(*i, msg);
        return false;
      }
      default:
        return false;
    }
#else
    (void)type;
    (void)message;
    return false;
#endif
  }

 private:
  NotifyArea() {
#ifdef LG_HAVE_XCB
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    conn_ = x11 ? x11->connection() : nullptr;
    if (!conn_) return;
    int screen = 0;
    const QByteArray display = qgetenv("DISPLAY");
    if (const int dot = display.lastIndexOf('.'); dot > display.lastIndexOf(':')) screen = display.mid(dot + 1).toInt();
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(conn_));
    for (int s = 0; s < screen && it.rem; ++s) xcb_screen_next(&it);
    if (!it.rem) return;
    root_ = it.data->root;
    visual_ = it.data->root_visual;
    depth_ = it.data->root_depth;
    selection_ = Atom("_NET_SYSTEM_TRAY_S" + QByteArray::number(screen));
    opcode_ = Atom("_NET_SYSTEM_TRAY_OPCODE");
    xembedInfo_ = Atom("_XEMBED_INFO");
    netWmName_ = Atom("_NET_WM_NAME");
    utf8_ = Atom("UTF8_STRING");
    // Follow the owner of the tray selection.
    if (const xcb_query_extension_reply_t* ext = xcb_get_extension_data(conn_, &xcb_xfixes_id); ext && ext->present) {
      free(xcb_xfixes_query_version_reply(conn_, xcb_xfixes_query_version(conn_, 4, 0), nullptr));
      xfixesEvent_ = ext->first_event;
      xcb_xfixes_select_selection_input(conn_, root_, selection_,
                                        XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                            XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                            XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
      xcb_flush(conn_);
    }
    owner_ = TrayOwner();
    qApp->installNativeEventFilter(this);
#endif
  }

  void Apply(Icon& i, const TNotifyIconData& d) {
    if (d.Flags & NIF_MESSAGE) {
      i.Callback = d.CallbackMessage;
      i.HasCallback = true;
    }
    if (d.Flags & NIF_ICON) i.Picture = d.Icon;
    if (d.Flags & NIF_TIP) i.Tip = CutTip(d.Tip);
  }

  QImage Picture(const Icon& i) const { return i.Picture.isNull() ? DefaultIcon() : i.Picture; }

  void Mouse(Icon& i, uint32_t msg) {
    if (i.HasCallback) Post(i.Wnd, i.Callback, i.ID, msg);
  }

  bool Show(Icon& i) {
#ifdef LG_HAVE_XCB
    if (const uint32_t owner = TrayOwner()) return Dock(i, owner);
#endif
    if (Kind() != TNotifyAreaKind::StatusNotifier) return false;
    i.Sni = std::make_unique<QSystemTrayIcon>();
    Icon* self = &i;
    QObject::connect(i.Sni.get(), &QSystemTrayIcon::activated, [this, self](QSystemTrayIcon::ActivationReason r) {
      // The host reports whole actions: they become the presses and releases they stand for.
      switch (r) {
        case QSystemTrayIcon::Trigger:
          Mouse(*self, kLDown), Mouse(*self, kLUp);
          break;
        case QSystemTrayIcon::DoubleClick:
          Mouse(*self, kLDbl), Mouse(*self, kLUp);
          break;
        case QSystemTrayIcon::Context:
          Mouse(*self, kRDown), Mouse(*self, kRUp);
          break;
        case QSystemTrayIcon::MiddleClick:
          Mouse(*self, kMDown), Mouse(*self, kMUp);
          break;
        default:
          break;
      }
    });
    Update(i);
    i.Sni->show();
    return true;
  }

  void Update(Icon& i) {
    if (i.Sni) {
      i.Sni->setIcon(QIcon(QPixmap::fromImage(Picture(i))));
      i.Sni->setToolTip(i.Tip);
      return;
    }
#ifdef LG_HAVE_XCB
    if (!conn_ || !i.XWindow) return;
    SetTip(i);
    Paint(i);
    xcb_flush(conn_);
    if (i.Anchor) i.Anchor->Renamed();
#endif
  }

  void DropAnchor(Icon& i) { i.Anchor.reset(); }

  void Hide(Icon& i) {
    i.Sni.reset();
    DropAnchor(i);
#ifdef LG_HAVE_XCB
    if (conn_ && i.XWindow) {
      xcb_destroy_window(conn_, i.XWindow);
      xcb_flush(conn_);
    }
    i.XWindow = 0;
#endif
  }

#ifdef LG_HAVE_XCB
  xcb_atom_t Atom(const QByteArray& name) {
    xcb_intern_atom_reply_t* r =
        xcb_intern_atom_reply(conn_, xcb_intern_atom(conn_, 0, static_cast<uint16_t>(name.size()), name.constData()),
                              nullptr);
    const xcb_atom_t a = r ? r->atom : XCB_ATOM_NONE;
    free(r);
    return a;
  }

  uint32_t TrayOwner() {
    if (!conn_ || selection_ == XCB_ATOM_NONE) return 0;
    xcb_get_selection_owner_reply_t* r =
        xcb_get_selection_owner_reply(conn_, xcb_get_selection_owner(conn_, selection_), nullptr);
    const uint32_t owner = r ? r->owner : 0;
    free(r);
    return owner;
  }

  Icon* Find(const Key& key) {
    auto it = icons_.find(key);
    return it == icons_.end() ? nullptr : it->second.get();
  }

  Icon* ByX(uint32_t w) {
    if (!w) return nullptr;
    for (auto& [k, i] : icons_)
      if (i->XWindow == w) return i.get();
    return nullptr;
  }

  bool Dock(Icon& i, uint32_t owner) {
    i.XWindow = xcb_generate_id(conn_);
    const uint32_t mask = XCB_CW_BACK_PIXMAP | XCB_CW_EVENT_MASK;
    const uint32_t values[] = {XCB_BACK_PIXMAP_PARENT_RELATIVE,
                               XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_STRUCTURE_NOTIFY |
                                   XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                                   XCB_EVENT_MASK_POINTER_MOTION};
    xcb_create_window(conn_, XCB_COPY_FROM_PARENT, i.XWindow, root_, 0, 0, static_cast<uint16_t>(i.W),
                      static_cast<uint16_t>(i.H), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, visual_, mask, values);
    const uint32_t info[] = {0, 1};  // XEmbed version 0, mapped
    xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, i.XWindow, xembedInfo_, xembedInfo_, 32, 2, info);
    static const char cls[] = "ledgerly-tray\0Ledgerly";
    xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, i.XWindow, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, sizeof cls,
                        cls);
    // The size the tray should give the icon (program size, minimum and base).
    uint32_t hints[18] = {};
    hints[0] = 8 | 16 | 256;  // PSize, PMinSize, PBaseSize
    hints[3] = hints[5] = hints[15] = static_cast<uint32_t>(i.W);
    hints[4] = hints[6] = hints[16] = static_cast<uint32_t>(i.H);
    xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, i.XWindow, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 32,
                        18, hints);
    SetTip(i);
    ExposeIcon(i);
    xcb_client_message_event_t m;
    std::memset(&m, 0, sizeof m);
    m.response_type = XCB_CLIENT_MESSAGE;
    m.window = owner;
    m.type = opcode_;
    m.format = 32;
    m.data.data32[0] = XCB_CURRENT_TIME;
    m.data.data32[1] = 0;  // SYSTEM_TRAY_REQUEST_DOCK
    m.data.data32[2] = i.XWindow;
    xcb_send_event(conn_, 0, owner, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&m));
    xcb_flush(conn_);
    return true;
  }

  // The docked window, exposed to screen readers as a push button. Its answers are read at the
  // time asked, through the icon's key (the icon may be gone by then).
  void ExposeIcon(Icon& i) {
    const Key key(i.Wnd, i.ID);
    TNotifyIconAccess access;
    access.Name = [this, key] {
      const Icon* icon = Find(key);
      if (icon && !icon->Tip.isEmpty()) return icon->Tip;
      return Application ? Application->Title() : QGuiApplication::applicationDisplayName();
    };
    access.Rect = [this, key] {
      const Icon* icon = Find(key);
      return icon ? ScreenRect(*icon) : QRect();
    };
    access.Showing = [this, key] {
      const Icon* icon = Find(key);
      return icon && Mapped(*icon);
    };
    // As the mouse does it: the owner hears the same presses and releases.
    access.Press = [this, key] {
      if (Icon* icon = Find(key)) Mouse(*icon, kLDown), Mouse(*icon, kLUp);
    };
    access.ShowMenu = [this, key] {
      if (Icon* icon = Find(key)) Mouse(*icon, kRDown), Mouse(*icon, kRUp);
    };
    i.Anchor = std::make_unique<TNotifyIconWindow>(std::move(access));
  }

  // The icon's window on the screen, in the device-independent pixels screen readers use.
  QRect ScreenRect(const Icon& i) {
    if (!i.XWindow) return QRect();
    xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(conn_, xcb_get_geometry(conn_, i.XWindow), nullptr);
    xcb_translate_coordinates_reply_t* t =
        xcb_translate_coordinates_reply(conn_, xcb_translate_coordinates(conn_, i.XWindow, root_, 0, 0), nullptr);
    QRect r;
    if (g && t) {
      const qreal dpr = i.Anchor ? std::max<qreal>(1, i.Anchor->devicePixelRatio()) : 1;
      r = QRectF(t->dst_x / dpr, t->dst_y / dpr, g->width / dpr, g->height / dpr).toAlignedRect();
    }
    free(g);
    free(t);
    return r;
  }

  bool Mapped(const Icon& i) {
    if (!i.XWindow) return false;
    xcb_get_window_attributes_reply_t* a =
        xcb_get_window_attributes_reply(conn_, xcb_get_window_attributes(conn_, i.XWindow), nullptr);
    const bool viewable = a && a->map_state == XCB_MAP_STATE_VIEWABLE;
    free(a);
    return viewable;
  }

  void SetTip(Icon& i) {
    const QByteArray latin = i.Tip.toLatin1(), utf8 = i.Tip.toUtf8();
    xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, i.XWindow, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        static_cast<uint32_t>(latin.size()), latin.constData());
    xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, i.XWindow, netWmName_, utf8_, 8,
                        static_cast<uint32_t>(utf8.size()), utf8.constData());
  }

  // The icon over what the tray shows behind it (the window's parent-relative background).
  void Paint(Icon& i) {
    if (!i.XWindow || depth_ < 24) return;
    const int w = std::clamp(i.W, 1, 256), h = std::clamp(i.H, 1, 256);
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(QColor(214, 214, 214));
    xcb_clear_area(conn_, 0, i.XWindow, 0, 0, 0, 0);
    xcb_get_image_reply_t* bg = xcb_get_image_reply(
        conn_, xcb_get_image(conn_, XCB_IMAGE_FORMAT_Z_PIXMAP, i.XWindow, 0, 0, static_cast<uint16_t>(w),
                             static_cast<uint16_t>(h), ~0u),
        nullptr);
    if (bg && xcb_get_image_data_length(bg) >= w * h * 4) std::memcpy(img.bits(), xcb_get_image_data(bg), size_t(w) * h * 4);
    free(bg);
    {
      QPainter p(&img);
      p.setRenderHint(QPainter::SmoothPixmapTransform);
      const QImage pic = Picture(i);
      const int side = std::min(w, h);
      QSize s = pic.size().scaled(side, side, Qt::KeepAspectRatio);
      p.drawImage(QRect((w - s.width()) / 2, (h - s.height()) / 2, s.width(), s.height()), pic);
    }
    xcb_put_image(conn_, XCB_IMAGE_FORMAT_Z_PIXMAP, i.XWindow, DefaultGc(), static_cast<uint16_t>(w),
                  static_cast<uint16_t>(h), 0, 0, 0, depth_, static_cast<uint32_t>(img.sizeInBytes()), img.constBits());
    xcb_flush(conn_);
  }

  xcb_gcontext_t DefaultGc() {
    if (!gc_) {
      gc_ = xcb_generate_id(conn_);
      xcb_create_gc(conn_, gc_, root_, 0, nullptr);
    }
    return gc_;
  }

  // A new tray lost every icon of the old one; a vanished tray has none. Either way the icons
  // are gone, and a new tray is announced to every message window.
  void OwnerChanged(uint32_t owner) {
    if (owner == owner_) return;
    owner_ = owner;
    for (auto& [k, i] : icons_) Hide(*i);
    icons_.clear();
    if (owner) QTimer::singleShot(0, qApp, [] { Broadcast(TaskbarCreatedMessage()); });
  }

  xcb_connection_t* conn_ = nullptr;
  xcb_window_t root_ = 0;
  xcb_visualid_t visual_ = 0;
  uint8_t depth_ = 0;
  xcb_gcontext_t gc_ = 0;
  xcb_atom_t selection_ = XCB_ATOM_NONE, opcode_ = XCB_ATOM_NONE, xembedInfo_ = XCB_ATOM_NONE,
             netWmName_ = XCB_ATOM_NONE, utf8_ = XCB_ATOM_NONE;
  uint8_t xfixesEvent_ = 0;
  uint32_t owner_ = 0;
#else
  uint32_t TrayOwner() { return 0; }
#endif

  std::map<Key, std::unique_ptr<Icon>> icons_;
  static inline NotifyArea* instance_ = nullptr;
};

void ForgetIcons(const TMessageWindow* w) {
  if (NotifyArea* a = NotifyArea::Existing()) a->Forget(w);
}

}  // namespace

bool Shell_NotifyIcon(uint32_t operation, const TNotifyIconData& data) {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return false;
  return NotifyArea::Instance().Call(operation, data);
}

TNotifyAreaKind CurrentNotifyArea() {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return TNotifyAreaKind::None;
  return NotifyArea::Instance().Kind();
}

uint32_t NotifyIconWindow(const TMessageWindow* wnd, uint32_t id) {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return 0;
  return NotifyArea::Instance().XWindowOf(wnd, id);
}

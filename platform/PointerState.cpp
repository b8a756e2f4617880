#include "platform/PointerState.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

#if __has_include(<xcb/xcb.h>)
#include <xcb/xcb.h>
#define LG_HAVE_XCB 1
#endif

TPointerState QueryPointerState() {
  TPointerState s;
  if (!qApp) return s;
  const QPoint p = QCursor::pos();
  s.Pos = TPoint(p.x(), p.y());
#ifdef LG_HAVE_XCB
  if (QGuiApplication::platformName() == QLatin1String("xcb")) {
    if (auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>()) {
      xcb_connection_t* c = x11->connection();
      const xcb_setup_t* setup = c ? xcb_get_setup(c) : nullptr;
      xcb_screen_iterator_t it = setup ? xcb_setup_roots_iterator(setup) : xcb_screen_iterator_t{};
      if (setup && it.rem > 0) {
        xcb_query_pointer_reply_t* r = xcb_query_pointer_reply(c, xcb_query_pointer(c, it.data->root), nullptr);
        if (r) {
          s.ButtonDown = (r->mask & (XCB_BUTTON_MASK_1 | XCB_BUTTON_MASK_2 | XCB_BUTTON_MASK_3)) != 0;
          free(r);
          return s;
        }
      }
    }
  }
#endif
  s.ButtonDown = QGuiApplication::mouseButtons() & (Qt::LeftButton | Qt::RightButton | Qt::MiddleButton);
  return s;
}

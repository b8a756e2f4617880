// A small program for the menu tests: a form "Menu probe" at (100, 100) whose skinned popup
// menu opens at (150, 150) 1.5 s after the form shows, drawn from the skin folder given (or in
// the default look with "-"). The form passes its key presses to the open menu, as the frame
// component does. It prints what happens, one line each, and flushes:
//   "open WIDTHxHEIGHT+X+Y"  the menu window is shown (and, with a second argument, its own
//                            painting is saved to that PNG file);
//   "clicked CAPTION"        an item's command ran;
//   "closed"                 the menus told the form they are all closed.
// "Ro&llUp" ends the program with exit code 0; "E&xit" with 3.
#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "platform/Forms.h"
#include "platform/Menus.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"
#include "skin/menus/bsSkinMenus.h"
#include "tests/widgets/support/MenuHost.h"

namespace {

void Say(const QString& line) {
  std::printf("%s\n", qPrintable(line));
  std::fflush(stdout);
}

TMenuItem* Add(TComponent* owner, TMenuItem* parent, const char* caption) {
  auto* item = new TMenuItem(owner);
  item->SetCaption(QString::fromUtf8(caption));
  parent->Add(item);
  item->OnClick = [item](TComponent*) {
    Say(QStringLiteral("clicked ") + item->Caption());
    if (item->Caption() == QLatin1String("Ro&llUp")) Application->Terminate();
    if (item->Caption() == QLatin1String("E&xit")) std::exit(3);
  };
  return item;
}

}  // namespace

int main(int argc, char** argv) {
  TApplication app(argc, argv);
  const QString skinDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("-");
  const QString shot = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();

  auto* form = app.CreateForm<TForm>();
  form->SetCaption(QStringLiteral("Menu probe"));
  form->SetBounds(100, 100, 400, 300);
  auto* host = new TTestMenuHost(form);
  if (skinDir != QLatin1String("-")) {
    host->skin = new TbsSkinData(form);
    TbsStoredSkin stored(nullptr);
    stored.LoadFromSkinFile(skinDir + QStringLiteral("/SKIN.INI"));
    host->skin->LoadFromStoredSkin(stored);
  }
  auto* menu = new TbsSkinPopupMenu(form);
  TMenuItem* open = Add(form, menu->Items(), "&Open");
  open->SetShortCut(ShortCut('O', ssCtrl));
  Add(form, menu->Items(), "Ro&llUp");
  Add(form, menu->Items(), "-");
  Add(form, menu->Items(), "&Checked")->SetChecked(true);
  Add(form, menu->Items(), "Disabled")->SetEnabled(false);
  TMenuItem* more = Add(form, menu->Items(), "&More");
  Add(form, more, "&Inner");
  Add(form, menu->Items(), "E&xit");

  TbsSkinMenu* driver = host->MenuDriver();
  const TWndMethod old = form->WindowProc;
  form->WindowProc = [driver, old](TMessage& m) {
    if (m.Msg == SkinMessageMenuClosed) Say(QStringLiteral("closed"));
    if (m.Msg == WM_KEYDOWN && driver->MenuOpen()) {
      driver->HandleKey(static_cast<uint16_t>(m.WParam));
      return;
    }
    old(m);
  };
  // The menu opens a while after the form shows (time for a test to give the form the focus);
  // its painting is saved once the fade of its first item has ended.
  form->OnShow = [menu, driver, shot](TComponent*) {
    QTimer::singleShot(1500, [menu, driver, shot] {
      menu->PopupAt(150, 150);
      QTimer::singleShot(1500, [driver, shot] {
        TbsSkinPopupWindow* w = driver->LastWindow();
        if (!w) return;
        if (!shot.isEmpty()) {
          TBitmap bmp;
          w->PaintTo(bmp);
          bmp.Image().save(shot);
        }
        Say(QStringLiteral("open %1x%2+%3+%4").arg(w->Width()).arg(w->Height()).arg(w->Left()).arg(w->Top()));
      });
    });
  };
  return app.Run();
}

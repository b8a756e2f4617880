#include "SkinViewMenu.h"

#include <QTimer>
#include <QWidget>

#include "BuiltInSkins.h"
#include "platform/Forms.h"
#include "platform/Menus.h"
#include "platform/Messages.h"
#include "platform/ShortCut.h"

namespace {
constexpr uint16_t kKeyF5 = VK_F1 + 4;

TMenuItem* Add(TCustomForm& form, TMenuItem* parent, const char* name, const QString& caption, TShortCut shortCut,
               std::function<void()> command) {
  auto* item = new TMenuItem(&form);
  item->SetName(QLatin1String(name));
  item->SetCaption(caption);
  item->SetShortCut(shortCut);
  // The command runs on the next turn of the message loop: the menu that ran it has closed by
  // then, and a command that opens a dialog or loads a skin does not run inside the menu.
  if (command)
    item->OnClick = [command = std::move(command), &form](TComponent*) {
      QTimer::singleShot(0, form.Handle(), command);
    };
  parent->Add(item);
  return item;
}

void Divider(TCustomForm& form, TMenuItem* parent, const char* name) {
  Add(form, parent, name, cLineCaption, scNone, nullptr);
}
}  // namespace

TSkinViewMenu BuildSkinViewMenu(TCustomForm& form, const TSkinViewCommands& c) {
  TSkinViewMenu m;
  m.Menu = new TMainMenu(&form);
  m.Menu->SetName(QStringLiteral("MainMenu"));
  TMenuItem* root = m.Menu->Items();

  TMenuItem* file = Add(form, root, "FileMenu", QStringLiteral("&File"), scNone, nullptr);
  Add(form, file, "FileOpenFolder", QStringLiteral("&Open skin folder..."), ShortCut('O', ssCtrl), c.OpenFolder);
  Add(form, file, "FileOpenPacked", QStringLiteral("Open packed skin &file..."), ShortCut('O', ssCtrl | ssShift),
      c.OpenPacked);
  Add(form, file, "FileReload", QStringLiteral("&Reload"), ShortCut(kKeyF5, 0), c.Reload);
  Divider(form, file, "FileDivider");
  Add(form, file, "FileExit", QStringLiteral("E&xit"), ShortCut('Q', ssCtrl), c.Exit);

  TMenuItem* skin = Add(form, root, "SkinMenu", QStringLiteral("&Skin"), scNone, nullptr);
  for (int i = 0; i < kBuiltInSkinCount; ++i) {
    const QByteArray name = "SkinBuiltIn" + QByteArray::number(i);
    auto use = c.UseBuiltIn;
    m.BuiltIn[i] = Add(form, skin, name.constData(), BuiltInSkinCaption(i), ShortCut(static_cast<uint16_t>('1' + i), ssCtrl),
                       use ? std::function<void()>([use, i] { use(i); }) : std::function<void()>());
    m.BuiltIn[i]->SetRadioItem(true);
    m.BuiltIn[i]->SetGroupIndex(1);
  }

  m.WindowItem = Add(form, root, "WindowMenu", QStringLiteral("&Window"), scNone, nullptr);
  Add(form, m.WindowItem, "WindowTile", QStringLiteral("&Tile"), ShortCut('T', ssCtrl | ssShift), c.Tile);
  Add(form, m.WindowItem, "WindowCascade", QStringLiteral("&Cascade"), ShortCut('C', ssCtrl | ssShift), c.Cascade);
  Add(form, m.WindowItem, "WindowArrange", QStringLiteral("&Arrange icons"), ShortCut('A', ssCtrl | ssShift),
      c.ArrangeIcons);

  TMenuItem* help = Add(form, root, "HelpMenu", QStringLiteral("&Help"), scNone, nullptr);
  Add(form, help, "HelpAbout", QStringLiteral("&About"), ShortCut(VK_F1, 0), c.About);
  return m;
}

// skinview: shows every skinned element of the product with one skin, for skin authors.
//   skinview [SKIN]                      the viewer, with the skin folder or packed file SKIN
//                                        (without it, the first built-in skin)
//   skinview --screenshot OUT.png [SKIN] draws the parent window with its children tiled into
//                                        OUT.png and ends
// A SKIN that cannot be read ends the program at once with its reason on stderr and exit code 2:
// whoever named it on the command line sees why, instead of a viewer with some other skin.
#include <QByteArray>
#include <QCoreApplication>
#include <QImage>
#include <QStringList>
#include <cstdio>

#include "SkinSource.h"
#include "SkinView.h"
#include "platform/Forms.h"

namespace {
constexpr int kUsageExit = 2;

void PrintUsage(FILE* out) {
  std::fprintf(out,
               "usage: skinview [SKIN]\n"
               "       skinview --screenshot OUT.png [SKIN]\n"
               "SKIN is a skin folder (SKIN.INI and its bitmaps) or a packed skin file as\n"
               "`skintool pack` writes it; without it the built-in skins are used.\n");
}

struct TArguments {
  QString Skin, Screenshot;
  bool Help = false, Bad = false;
};

TArguments ReadArguments(int argc, char** argv) {
  TArguments a;
  QStringList rest;
  for (int i = 1; i < argc; ++i) {
    const QString arg = QString::fromLocal8Bit(argv[i]);
    if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
      a.Help = true;
    } else if (arg == QLatin1String("--screenshot")) {
      if (i + 1 >= argc) a.Bad = true;
      else a.Screenshot = QString::fromLocal8Bit(argv[++i]);
    } else if (arg.startsWith(QLatin1String("--"))) {
      a.Bad = true;
    } else {
      rest << arg;
    }
  }
  if (rest.size() > 1) a.Bad = true;
  if (!rest.isEmpty()) a.Skin = rest.first();
  return a;
}
}  // namespace

int main(int argc, char** argv) {
  const TArguments args = ReadArguments(argc, argv);
  if (args.Help) {
    PrintUsage(stdout);
    return 0;
  }
  if (args.Bad) {
    PrintUsage(stderr);
    return kUsageExit;
  }
  // The skinned frames shape and place their own windows, which X11 allows: run through X
  // unless the user chose a platform. A screenshot needs no display at all.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    if (!qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "xcb");
    else if (!args.Screenshot.isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  TApplication app(argc, argv);
  TSkinView view(app);
  if (args.Skin.isEmpty()) {
    view.UseBuiltInSkin(0);
  } else {
    try {
      view.UseSkin(TSkinSource::Open(args.Skin));
    } catch (const Exception& e) {
      std::fprintf(stderr, "skinview: %s\n", qPrintable(e.Message()));
      return kUsageExit;
    }
  }
  view.OpenAllChildren();

  if (!args.Screenshot.isEmpty()) {
    view.ShowForms(false);
    const QImage shot = view.RenderParent();
    if (shot.isNull() || !shot.save(args.Screenshot, "PNG")) {
      std::fprintf(stderr, "skinview: cannot write \"%s\"\n", qPrintable(args.Screenshot));
      return 1;
    }
    return 0;
  }
  view.ShowForms(true);
  return app.Run();
}

// A skinned MDI parent "Books" with three children "Ledger 1" to "Ledger 3", each child with its
// own frame component and magnetic edges, for the end-to-end tests of MDI forms.
// Usage: mdidemo [SKINFOLDER]   (without a folder every frame is the plain one)
#include <QString>

#include "platform/Forms.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"
#include "skin/form/bsSkinForm.h"

int main(int argc, char** argv) {
  TApplication app(argc, argv);
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
  try {
    auto* parent = app.CreateForm<TForm>();
    parent->SetFormStyle(TFormStyle::fsMDIForm);
    parent->SetCaption(QStringLiteral("Books"));
    parent->SetBounds(40, 40, 900, 640);
    auto* frame = new TbsSkinForm(parent);
    auto* data = new TbsSkinData(parent);
    if (!folder.isEmpty()) {
      TbsStoredSkin stored(nullptr);
      stored.LoadFromSkinFile(folder + QStringLiteral("/SKIN.INI"));
      data->LoadFromStoredSkin(stored);
    }
    frame->SetSkinData(data);
    for (int i = 0; i < 3; ++i) {
      auto* child = app.CreateForm<TForm>();
      child->SetFormStyle(TFormStyle::fsMDIChild);
      child->SetCaption(QStringLiteral("Ledger %1").arg(i + 1));
      child->SetBounds(30 + 150 * i, 30 + 60 * i, 360, 240);
      auto* childFrame = new TbsSkinForm(child);
      childFrame->Magnetic = true;
      childFrame->SetSkinData(data);
      child->Show();
    }
  } catch (...) {
    return app.ShowStartupException();
  }
  return app.Run();
}

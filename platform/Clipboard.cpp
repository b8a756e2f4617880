#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

TClipboard& TClipboard::Instance() {
  static TClipboard clipboard;
  return clipboard;
}

QString TClipboard::AsText() const {
  QClipboard* c = QGuiApplication::clipboard();
  return c ? c->text(QClipboard::Clipboard) : QString();
}

void TClipboard::SetAsText(const QString& text) {
  if (QClipboard* c = QGuiApplication::clipboard()) c->setText(text, QClipboard::Clipboard);
}

#include "platform/SaveDialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QStringList>

namespace {

// "Text|*.txt|All|*" -> "Text (*.txt)", "All (*)": Qt's filter strings.
QStringList QtFilters(const QString& filter) {
  QStringList out;
  const QStringList parts = filter.split(u'|');
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    const QString& text = parts[i];
    const QString patterns = QString(parts[i + 1]).replace(u';', u' ');
    out << (text.contains(u'(') ? text : QStringLiteral("%1 (%2)").arg(text, patterns));
  }
  return out;
}

}  // namespace

bool TSaveDialog::Execute() {
  QFileDialog dialog(QApplication::activeWindow(), title_);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  // Qt's own dialog: the same under every desktop, and reachable through accessibility.
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  const QStringList filters = QtFilters(filter_);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  if (!defaultExt_.isEmpty()) dialog.setDefaultSuffix(defaultExt_);
  if (!fileName_.isEmpty()) dialog.selectFile(fileName_);
  if (dialog.exec() != QDialog::Accepted) return false;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return false;
  fileName_ = files.first();
  return true;
}

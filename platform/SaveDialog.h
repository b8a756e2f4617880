// The save-file dialog over QFileDialog: asks for the name of a file to write, with a filter,
// a default extension and a confirmation before an existing file is replaced. GUI thread only.
#pragma once
#include <QString>

#include "platform/Component.h"

class TSaveDialog : public TComponent {
 public:
  explicit TSaveDialog(TComponent* owner) : TComponent(owner) {}
  QString ClassName() const override { return QStringLiteral("TSaveDialog"); }

  // Proposed on opening; the chosen file after Execute.
  const QString& FileName() const { return fileName_; }
  void SetFileName(const QString& name) { fileName_ = name; }
  // Pairs of description and pattern separated by "|": "CSV (*.csv)|*.csv|All files|*".
  const QString& Filter() const { return filter_; }
  void SetFilter(const QString& filter) { filter_ = filter; }
  // Added (without the dot) to a name typed without one.
  const QString& DefaultExt() const { return defaultExt_; }
  void SetDefaultExt(const QString& ext) { defaultExt_ = ext; }
  const QString& Title() const { return title_; }
  void SetTitle(const QString& title) { title_ = title; }

  // Shows the dialog modally over the active window; true when a file was chosen.
  bool Execute();

 private:
  QString fileName_;
  QString filter_;
  QString defaultExt_;
  QString title_;
};

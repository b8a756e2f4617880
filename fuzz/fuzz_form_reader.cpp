// Stored form definitions from arbitrary bytes: parsing fails cleanly or gives a tree that
// writes and reads back to the same text; reading into a form fails cleanly or succeeds.
#include <QCoreApplication>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "platform/Exceptions.h"
#include "platform/FormText.h"
#include "platform/Forms.h"
#include "platform/Streaming.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static QCoreApplication app(*argc, *argv);
  RegisterPlatformClasses();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  TFormObject tree;
  try {
    tree = ParseFormText(text);
  } catch (const Exception&) {
    return 0;
  }
  const QString written = FormObjectToText(tree);
  try {
    if (FormObjectToText(ParseFormText(written)) != written) {
      std::fprintf(stderr, "written text does not read back the same:\n%s\n", written.toUtf8().constData());
      __builtin_trap();
    }
  } catch (const Exception& e) {
    std::fprintf(stderr, "written text does not parse: %s\n%s\n", e.what(), written.toUtf8().constData());
    __builtin_trap();
  }
  if (tree.className.compare(QLatin1String("TForm"), Qt::CaseInsensitive) == 0) {
    TForm form(nullptr);
    try {
      form.LoadDefinition(text);
    } catch (const Exception&) {
    }
  }
  return 0;
}

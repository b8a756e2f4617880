// Exceptions carry a class name and a message text, as the application's failure boxes show them.
#pragma once
#include <QString>
#include <exception>
#include <string>

class Exception : public std::exception {
 public:
  explicit Exception(QString message) : message_(std::move(message)), utf8_(message_.toStdString()) {}
  const QString& Message() const { return message_; }
  virtual QString ClassName() const { return QStringLiteral("Exception"); }
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  QString message_;
  std::string utf8_;
};

#define LG_DECLARE_EXCEPTION(Name, Base)                            \
  class Name : public Base {                                        \
   public:                                                          \
    using Base::Base;                                               \
    QString ClassName() const override { return QStringLiteral(#Name); } \
  };

LG_DECLARE_EXCEPTION(EDatabaseError, Exception)
LG_DECLARE_EXCEPTION(EConvertError, Exception)
LG_DECLARE_EXCEPTION(EStreamError, Exception)
LG_DECLARE_EXCEPTION(EReadError, EStreamError)
LG_DECLARE_EXCEPTION(EWriteError, EStreamError)
LG_DECLARE_EXCEPTION(EFOpenError, EStreamError)
LG_DECLARE_EXCEPTION(EInvalidGraphic, Exception)
LG_DECLARE_EXCEPTION(EInvalidOperation, Exception)
LG_DECLARE_EXCEPTION(EComponentError, Exception)
LG_DECLARE_EXCEPTION(EOutOfResources, Exception)
LG_DECLARE_EXCEPTION(EListError, Exception)
LG_DECLARE_EXCEPTION(EInvalidCast, Exception)
LG_DECLARE_EXCEPTION(EFilerError, EStreamError)
LG_DECLARE_EXCEPTION(EClassNotFound, EFilerError)
LG_DECLARE_EXCEPTION(EParserError, Exception)

// Hands the exception being handled (call inside a catch block) to the application's
// exception handling: a message box, after which the program goes on.
void HandleCurrentException();

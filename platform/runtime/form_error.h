/*
 * form_error.h - the error raised for a bad form file.
 *
 * Every failure while reading, writing or loading a form names the file, the
 * line at fault and what is wrong; what() reads "<file>:<line>: <message>", so
 * the command-line tool can print it after its own name. Line 0 means the
 * failure has no line of its own (a file that cannot be opened, a document
 * that cannot be written); what() then reads "<file>: <message>".
 * It is an EFCError, so callers that catch the framework's errors catch it.
 */
#ifndef FRAMECRAFT_FORM_ERROR_H
#define FRAMECRAFT_FORM_ERROR_H

#include <string>

#include "platform/runtime/components_api.h"
#include "platform/runtime/error.h"

namespace fc {

class FC_COMPONENTS_API EFormError : public EFCError {
public:
  EFormError(std::string fileName, int line, std::string message);

  const std::string& fileName() const noexcept { return fileName_; }
  int line() const noexcept { return line_; }
  // The bare description, without file and line.
  const std::string& message() const noexcept { return message_; }

 private:
  std::string fileName_;
  int line_;
  std::string message_;
};

}  // namespace fc

#endif

#include "platform/runtime/form_error.h"

#include <utility>

namespace fc {

namespace {

std::string locate(const std::string& fileName, int line, const std::string& message) {
  if (line > 0) return fileName + ":" + std::to_string(line) + ": " + message;
  return fileName + ": " + message;
}

}  // namespace

EFormError::EFormError(std::string fileName, int line, std::string message)
    : EFCError(locate(fileName, line, message)),
      fileName_(std::move(fileName)),
      line_(line),
      message_(std::move(message)) {}

}  // namespace fc

// asf_credentials.cpp - credentials and their copy into a reader's buffers.
#include "media/asf_credentials.h"

#include <cstring>

namespace fc {

const TClassInfo& TFCASFCredentials::StaticClassInfo() {
  using C = TFCASFCredentials;
  static const TClassInfo info = TClassBuilder<C>("TFCASFCredentials", &TPersistent::StaticClassInfo())
                                     .Property("UserName", &C::GetUserName, &C::SetUserName, std::string())
                                     .Property("Password", &C::GetPassword, &C::SetPassword, std::string())
                                     .Build();
  return info;
}

bool CopyCredential(std::string_view text, char* buffer, std::size_t length) {
  if (!buffer || length == 0) return false;
  if (text.size() >= length) {
    buffer[0] = '\0';
    return false;
  }
  std::memcpy(buffer, text.data(), text.size());
  buffer[text.size()] = '\0';
  return true;
}

}  // namespace fc

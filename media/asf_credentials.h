// asf_credentials.h - the user name and password a player gives to a
// network source that asks for them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "contracts/pins/locked_persistent.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// `UserName` and `Password`, both empty at first.
class FC_COMPONENTS_API TFCASFCredentials : public TPMLockedPersistent {
  FC_DECLARE_CLASS_INFO()
public:
  using TPMLockedPersistent::TPMLockedPersistent;

  std::string GetUserName() const { return Load(userName_); }
  std::string GetPassword() const { return Load(password_); }
  void SetUserName(std::string v) { Store(userName_, v); }
  void SetPassword(std::string v) { Store(password_, v); }

private:
  std::string userName_, password_;
};

/// Copies `text` into a buffer of `length` characters with its terminating
/// null character. False, with the buffer left an empty string (when it has
/// room for one), when the text and its terminator do not fit.
FC_COMPONENTS_API bool CopyCredential(std::string_view text, char* buffer, std::size_t length);

}  // namespace fc

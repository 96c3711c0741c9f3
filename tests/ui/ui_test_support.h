// Shared pieces of the screen framework's tests.
#pragma once

#include <cstdio>
#include <cstring>

#include "platform/startup.h"
#include "tests/support/process.h"

namespace ui_testing {

// Points the user directory at a fresh temporary directory while alive.
class UserDirScope {
 public:
  UserDirScope() {
    std::memcpy(saved_, g_UserDir, sizeof(g_UserDir));
    std::snprintf(g_UserDir, sizeof(g_UserDir), "%s/", dir_.Path().c_str());
  }
  ~UserDirScope() { std::memcpy(g_UserDir, saved_, sizeof(g_UserDir)); }
  const testing_support::TempDir& Dir() const { return dir_; }

 private:
  testing_support::TempDir dir_;
  char saved_[sizeof(g_UserDir)];
};

}  // namespace ui_testing

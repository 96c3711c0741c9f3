// Shared pieces of the screen framework's tests.
#pragma once

#include <cstdio>
#include <cstring>

#include "platform/startup.h"
#include "tests/support/process.h"

namespace ui_testing {

// Points the user directory, and the data directory, at a fresh temporary
// directory while alive: records go there and no image pack is found.
class UserDirScope {
 public:
  UserDirScope() {
    std::memcpy(savedUser_, g_UserDir, sizeof(g_UserDir));
    std::memcpy(savedData_, g_DataDir, sizeof(g_DataDir));
    std::snprintf(g_UserDir, sizeof(g_UserDir), "%s/", dir_.Path().c_str());
    std::snprintf(g_DataDir, sizeof(g_DataDir), "%s/", dir_.Path().c_str());
  }
  ~UserDirScope() {
    std::memcpy(g_UserDir, savedUser_, sizeof(g_UserDir));
    std::memcpy(g_DataDir, savedData_, sizeof(g_DataDir));
  }
  const testing_support::TempDir& Dir() const { return dir_; }

 private:
  testing_support::TempDir dir_;
  char savedUser_[sizeof(g_UserDir)];
  char savedData_[sizeof(g_DataDir)];
};

}  // namespace ui_testing

#pragma once
// SeRestorePrivilege, which loading another user's hive needs, enabled for the lifetime of the
// object and disabled again at its end.

#include <windows.h>

#include "common/owners.h"

class RestorePrivilege {
  public:
    RestorePrivilege() = default;
    ~RestorePrivilege();
    RestorePrivilege(const RestorePrivilege&) = delete;
    RestorePrivilege& operator=(const RestorePrivilege&) = delete;

    // False when the token cannot be opened or the privilege cannot be looked up or enabled.
    bool Enable();

  private:
    bool Adjust(DWORD attributes) const;

    UniqueHandle token_;
    LUID privilege_{};
    bool enabled_ = false;
};

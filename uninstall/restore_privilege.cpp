#include "uninstall/restore_privilege.h"

RestorePrivilege::~RestorePrivilege() {
    if (enabled_) {
        Adjust(0);
    }
}

bool RestorePrivilege::Enable() {
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                          token_.Put())) {
        return false;
    }
    if (!LookupPrivilegeValueW(nullptr, SE_RESTORE_NAME, &privilege_)) {
        return false;
    }
    // Success is the call's return alone: a token without the privilege still "succeeds".
    enabled_ = Adjust(SE_PRIVILEGE_ENABLED);
    return enabled_;
}

bool RestorePrivilege::Adjust(DWORD attributes) const {
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Luid = privilege_;
    privileges.Privileges[0].Attributes = attributes;
    return AdjustTokenPrivileges(token_.Get(), FALSE, &privileges, 0, nullptr, nullptr) != FALSE;
}

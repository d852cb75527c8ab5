#include "uninstall/admin_check.h"

#include "common/owners.h"

bool IsWindowsVistaOrLater() {
    OSVERSIONINFOEXW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    version.dwMajorVersion = 6;
    version.dwMinorVersion = 0;
    version.wServicePackMajor = 0;
    ULONGLONG conditions = 0;
    conditions = VerSetConditionMask(conditions, VER_MAJORVERSION, VER_GREATER_EQUAL);
    conditions = VerSetConditionMask(conditions, VER_MINORVERSION, VER_GREATER_EQUAL);
    conditions = VerSetConditionMask(conditions, VER_SERVICEPACKMAJOR, VER_GREATER_EQUAL);
    return VerifyVersionInfoW(&version, VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR,
                              conditions) != FALSE;
}

bool TokenListsAdministrators(HANDLE token) {
    DWORD size = 0;
    GetTokenInformation(token, TokenGroups, nullptr, 0, &size);  // fails, telling the size
    UniqueGlobal buffer(GlobalAlloc(GMEM_FIXED, size));
    if (!buffer || !GetTokenInformation(token, TokenGroups, buffer.Get(), size, &size)) {
        return true;
    }
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    UniqueSid administrators;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                  DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                  administrators.Put())) {
        return true;
    }
    const auto* groups = static_cast<const TOKEN_GROUPS*>(buffer.Get());
    for (DWORD i = 0; i < groups->GroupCount; ++i) {
        if (EqualSid(groups->Groups[i].Sid, administrators.Get())) {
            return true;
        }
    }
    return false;
}

bool HasAdministratorRights() {
    UniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_READ, token.Put())) {
        return true;
    }
    if (!IsWindowsVistaOrLater()) {
        return TokenListsAdministrators(token.Get());
    }
    TOKEN_ELEVATION_TYPE elevation = TokenElevationTypeDefault;
    DWORD size = 0;
    if (!GetTokenInformation(token.Get(), TokenElevationType, &elevation, sizeof(elevation),
                             &size)) {
        return true;
    }
    return elevation == TokenElevationTypeFull;
}

#include "tests/uninstall/uninstall_fixture.h"

#include <aclapi.h>
#include <gtest/gtest.h>

#include "common/messages.h"
#include "common/owners.h"
#include "tests/support/quoriel_module.h"

namespace {

constexpr const wchar_t* HIVE_SOURCE = L"Software\\QuorielTestHiveSource";
constexpr const wchar_t* INSPECTION_NAME = L"QuorielTestInspection";
constexpr const wchar_t* SESSION_MANAGER = L"System\\CurrentControlSet\\Control\\Session Manager";

void EnablePrivilege(HANDLE token, const wchar_t* name) {
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    ASSERT_TRUE(LookupPrivilegeValueW(nullptr, name, &privileges.Privileges[0].Luid));
    ASSERT_TRUE(AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr));
}

void SetValue(HKEY root, const wchar_t* path, const wchar_t* name, const std::wstring& text) {
    UniqueKey key;
    ASSERT_EQ(
        RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr),
        ERROR_SUCCESS);
    ASSERT_EQ(
        RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
        ERROR_SUCCESS);
}

}  // namespace

void ExpectBoxes(const std::vector<RecordedBox>& shown, const std::vector<Box>& expected,
                 const MessageTexts& texts) {
    ASSERT_EQ(shown.size(), expected.size());
    const std::vector<int> ok{IDOK};
    const std::vector<int> okCancel{IDOK, IDCANCEL};
    const wchar_t* caption = texts.uninstallCaption;
    for (size_t i = 0; i < shown.size(); ++i) {
        SCOPED_TRACE(i);
        const RecordedBox& box = shown[i];
        switch (expected[i]) {
            case Box::REFUSAL:
                EXPECT_TRUE(
                    IsUninstallBox(box, caption, texts.adminRequired, MB_ICONERROR, ok, IDOK));
                break;
            case Box::CONFIRM:
                EXPECT_TRUE(IsUninstallBox(box, caption, texts.confirmUninstall, MB_ICONWARNING,
                                           okCancel, IDCANCEL));
                break;
            case Box::REGISTRY_LEFT:
                EXPECT_TRUE(
                    IsUninstallBox(box, caption, texts.registryLeft, MB_ICONWARNING, ok, IDOK));
                break;
            case Box::FILES_LEFT:
                EXPECT_TRUE(
                    IsUninstallBox(box, caption, texts.filesLeft, MB_ICONWARNING, ok, IDOK));
                break;
            case Box::DONE:
                EXPECT_TRUE(
                    IsUninstallBox(box, caption, texts.uninstalled, MB_ICONINFORMATION, ok, IDOK));
                break;
        }
    }
}

std::vector<RecordedBox> RunUninstall(std::deque<int> answers) {
    QuorielModule module;
    MessageBoxRecorder boxes(std::move(answers));
    module.Uninstall();
    return boxes.Boxes();
}

bool MachineKeysLeft() {
    return KeyExists(HKEY_CLASSES_ROOT, SERVER_KEY) || KeyExists(HKEY_CLASSES_ROOT, CLASS_KEY) ||
           KeyExists(HKEY_CLASSES_ROOT, HANDLER_KEY) ||
           KeyExists(HKEY_LOCAL_MACHINE, PROGRAMS_KEY) ||
           KeyExists(HKEY_LOCAL_MACHINE, ACTIVE_SETUP_KEY);
}

bool AllMachineKeysThere() {
    return KeyExists(HKEY_CLASSES_ROOT, SERVER_KEY) && KeyExists(HKEY_CLASSES_ROOT, HANDLER_KEY) &&
           KeyExists(HKEY_LOCAL_MACHINE, PROGRAMS_KEY);
}

void CleanSlate::Clean() {
    DeleteKeyTree(HKEY_CLASSES_ROOT, CLASS_KEY);
    DeleteKeyTree(HKEY_CLASSES_ROOT, HANDLER_KEY);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, PROGRAMS_KEY);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, ACTIVE_SETUP_KEY);
    DeleteKeyTree(HKEY_CURRENT_USER, MAKER_KEY);
}

void EnableHivePrivileges() {
    UniqueHandle token;
    ASSERT_TRUE(
        OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.Put()));
    EnablePrivilege(token.Get(), SE_BACKUP_NAME);
    EnablePrivilege(token.Get(), SE_RESTORE_NAME);
}

void CreateMachineKeys() {
    SetValue(HKEY_CLASSES_ROOT, CLASS_KEY, nullptr, L"Quoriel");
    SetValue(HKEY_CLASSES_ROOT, SERVER_KEY, nullptr, MODULE_PATH);
    SetValue(HKEY_CLASSES_ROOT, SERVER_KEY, L"ThreadingModel", L"Apartment");
    SetValue(HKEY_CLASSES_ROOT, HANDLER_KEY, nullptr, L"Quoriel");
    SetValue(HKEY_LOCAL_MACHINE, PROGRAMS_KEY, L"DisplayName", L"Quoriel 64ビット版");
    SetValue(HKEY_LOCAL_MACHINE, ACTIVE_SETUP_KEY, L"StubPath", L"QuorielSettings.exe /account");
}

void CreateUserKeys(HKEY root, bool otherProduct) {
    SetValue(root, SETTINGS_PATH, L"Object", L"https://example.org/?q=@Ad,@Od");
    SetValue(root, MAKER_KEY, L"Owner", L"test");
    if (otherProduct) {
        SetValue(root, OTHER_PRODUCT_PATH, L"Kept", L"yes");
    }
}

void SaveUserHive(const std::wstring& file, bool settings, bool otherProduct) {
    DeleteKeyTree(HKEY_CURRENT_USER, HIVE_SOURCE);
    UniqueKey source;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, HIVE_SOURCE, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, source.Put(), nullptr),
              ERROR_SUCCESS);
    if (settings) {
        CreateUserKeys(source.Get(), otherProduct);
    } else if (otherProduct) {
        SetValue(source.Get(), OTHER_PRODUCT_PATH, L"Kept", L"yes");
    }
    SetValue(source.Get(), L"Software\\Elsewhere", L"Kept", L"yes");
    DeleteFileW(file.c_str());
    ASSERT_EQ(RegSaveKeyW(source.Get(), file.c_str(), nullptr), ERROR_SUCCESS);
    source.Reset();
    DeleteKeyTree(HKEY_CURRENT_USER, HIVE_SOURCE);
}

HiveState InspectLoadedHive(const std::wstring& name) {
    HiveState state{};
    UniqueKey root;
    EXPECT_EQ(RegOpenKeyExW(HKEY_USERS, name.c_str(), 0, KEY_READ, root.Put()), ERROR_SUCCESS);
    state.settings = KeyExists(root.Get(), SETTINGS_PATH);
    state.maker = KeyExists(root.Get(), MAKER_KEY);
    state.otherProduct = KeyExists(root.Get(), OTHER_PRODUCT_PATH);
    EXPECT_TRUE(KeyExists(root.Get(), L"Software\\Elsewhere")) << "unrelated keys stay";
    return state;
}

void LoadHiveAsLoggedOn(const std::wstring& sid, const std::wstring& file) {
    EnableHivePrivileges();  // an uninstall run drops SeRestorePrivilege at its end
    ASSERT_EQ(RegLoadKeyW(HKEY_USERS, sid.c_str(), file.c_str()), ERROR_SUCCESS);
}

bool HiveLoaded(const std::wstring& sid) {
    return KeyExists(HKEY_USERS, sid);
}

TestProfile::TestProfile(std::wstring sid) : sid_(std::move(sid)) {
    key_ =
        std::make_unique<ScratchKey>(HKEY_LOCAL_MACHINE, std::wstring(PROFILE_LIST) + L"\\" + sid_);
}

TestProfile::~TestProfile() {
    key_.reset();
    if (HiveLoaded(sid_)) {
        RegUnLoadKeyW(HKEY_USERS, sid_.c_str());
    }
}

void TestProfile::SetImagePath(const std::wstring& folder) {
    key_->SetRaw(L"ProfileImagePath", REG_EXPAND_SZ,
                 std::wstring(folder.c_str(), folder.size() + 1));
}

void TestProfile::SetImagePathData(DWORD type, const std::vector<uint8_t>& data) {
    key_->SetRaw(L"ProfileImagePath", type, data);
}

SessionManagerLocked::SessionManagerLocked() {
    UniqueKey key;
    EXPECT_EQ(
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, SESSION_MANAGER, 0, READ_CONTROL | WRITE_DAC, key.Put()),
        ERROR_SUCCESS);
    DWORD size = 0;
    RegGetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, nullptr, &size);
    original_.resize(size);
    EXPECT_EQ(RegGetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, original_.data(), &size),
              ERROR_SUCCESS);
    // Everyone is denied setting values; everything else stays allowed.
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    UniqueSid everyone;
    EXPECT_TRUE(AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0,
                                         everyone.Put()));
    EXPLICIT_ACCESSW entries[2] = {};
    entries[0].grfAccessPermissions = KEY_SET_VALUE;
    entries[0].grfAccessMode = DENY_ACCESS;
    entries[1].grfAccessPermissions = KEY_ALL_ACCESS;
    entries[1].grfAccessMode = GRANT_ACCESS;
    for (EXPLICIT_ACCESSW& entry : entries) {
        entry.Trustee.TrusteeForm = TRUSTEE_IS_SID;
        entry.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
        entry.Trustee.ptstrName = static_cast<LPWSTR>(everyone.Get());
    }
    PACL acl = nullptr;
    EXPECT_EQ(SetEntriesInAclW(2, entries, nullptr, &acl), ERROR_SUCCESS);
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
    EXPECT_EQ(RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, &descriptor), ERROR_SUCCESS);
    LocalFree(acl);
}

SessionManagerLocked::~SessionManagerLocked() {
    UniqueKey key;
    RegOpenKeyExW(HKEY_LOCAL_MACHINE, SESSION_MANAGER, 0, WRITE_DAC, key.Put());
    RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, original_.data());
}

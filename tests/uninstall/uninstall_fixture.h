#pragma once
// What an uninstall test sets up in the prefix and looks at afterwards: the machine-wide keys,
// user profiles with hive files of their own, and the pending file operations.

#include <windows.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "common/messages.h"
#include "common/registry_names.h"
#include "tests/host/message_box_recorder.h"
#include "tests/support/pending_renames.h"
#include "tests/support/registry_scratch.h"

constexpr const wchar_t* SETTINGS_PATH = L"Software\\Vantorel\\Quoriel";
constexpr const wchar_t* OTHER_PRODUCT_PATH = L"Software\\Vantorel\\Other";
constexpr const wchar_t* PROFILE_LIST =
    L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";

// The uninstaller's boxes, checked in order: caption and text in the language of texts, icon,
// buttons, default, no owner.
enum class Box { REFUSAL, CONFIRM, REGISTRY_LEFT, FILES_LEFT, DONE };
void ExpectBoxes(const std::vector<RecordedBox>& shown, const std::vector<Box>& expected,
                 const MessageTexts& texts = JAPANESE_MESSAGES);

// Runs the built module's Uninstall in this process with the boxes answered from the script.
std::vector<RecordedBox> RunUninstall(std::deque<int> answers);

bool MachineKeysLeft();
bool AllMachineKeysThere();

// Removes whatever a test left of the machine-wide keys and the current user's keys.
struct CleanSlate {
    CleanSlate() { Clean(); }
    ~CleanSlate() { Clean(); }
    static void Clean();
};

// SeBackupPrivilege and SeRestorePrivilege for saving and loading hives in the test.
void EnableHivePrivileges();

// The machine-wide keys as an installer leaves them, with values.
void CreateMachineKeys();

// Settings, the maker's key with a value, and optionally another product's key under root.
void CreateUserKeys(HKEY root, bool otherProduct);

// A hive file holding what CreateUserKeys writes.
void SaveUserHive(const std::wstring& file, bool settings, bool otherProduct);

struct HiveState {
    bool settings;
    bool maker;
    bool otherProduct;
};
// Looks into a hive loaded under HKEY_USERS. (Wine does not write a hive back to its file when
// it is unloaded, so what the uninstaller did to a logged-off user's hive cannot be seen
// afterwards; logged-on users' hives show it.)
HiveState InspectLoadedHive(const std::wstring& name);
// Loads a hive file under the profile's SID, as Windows does when its user logs on.
void LoadHiveAsLoggedOn(const std::wstring& sid, const std::wstring& file);
bool HiveLoaded(const std::wstring& sid);

// An entry of the profile list, removed with whatever hive of it is still loaded.
class TestProfile {
  public:
    explicit TestProfile(std::wstring sid);
    ~TestProfile();
    TestProfile(const TestProfile&) = delete;
    TestProfile& operator=(const TestProfile&) = delete;

    const std::wstring& Sid() const { return sid_; }
    void SetImagePath(const std::wstring& folder);
    void SetImagePathData(DWORD type, const std::vector<uint8_t>& data);

  private:
    std::wstring sid_;
    std::unique_ptr<ScratchKey> key_;
};

// While it lives, nobody may set values under the Session Manager key, so scheduling a file
// operation fails for real.
class SessionManagerLocked {
  public:
    SessionManagerLocked();
    ~SessionManagerLocked();
    SessionManagerLocked(const SessionManagerLocked&) = delete;
    SessionManagerLocked& operator=(const SessionManagerLocked&) = delete;

  private:
    std::vector<BYTE> original_;
};

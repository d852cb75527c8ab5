#include "bench/menu_fixtures.h"

#include "common/owners.h"
#include "common/registry_names.h"

namespace {

// A value of this name says the benchmark made the key.
constexpr const wchar_t* MADE_MARK = L"QuorielMenuBench";
constexpr const wchar_t* VENDOR_KEY = L"Software\\Vantorel";

bool Open(HKEY root, const wchar_t* name, REGSAM access, UniqueKey* key) {
    return RegOpenKeyExW(root, name, 0, access, key->Put()) == ERROR_SUCCESS;
}

bool KeyExists(HKEY root, const wchar_t* name) {
    UniqueKey key;
    return Open(root, name, KEY_QUERY_VALUE, &key);
}

bool HasMark(HKEY root, const wchar_t* name) {
    UniqueKey key;
    return Open(root, name, KEY_QUERY_VALUE, &key) &&
           RegQueryValueExW(key.Get(), MADE_MARK, nullptr, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS;
}

bool SetString(HKEY key, const wchar_t* name, const wchar_t* data) {
    const DWORD bytes = static_cast<DWORD>((wcslen(data) + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), bytes) ==
           ERROR_SUCCESS;
}

// Makes the key with the mark in it, and the string value given beside it when there is one.
bool MakeMarkedKey(HKEY root, const wchar_t* name, const wchar_t* value, const wchar_t* data) {
    UniqueKey key;
    if (RegCreateKeyExW(root, name, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Put(), nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    const DWORD mark = 1;
    if (RegSetValueExW(key.Get(), MADE_MARK, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&mark),
                       sizeof(mark)) != ERROR_SUCCESS) {
        return false;
    }
    return value == nullptr || SetString(key.Get(), value, data);
}

}  // namespace

ExtensionKey::ExtensionKey(std::wstring dotExtension, const wchar_t* contentType)
    : name_(std::move(dotExtension)) {
    made_ = HasMark(HKEY_CLASSES_ROOT, name_.c_str());
    if (made_ || !KeyExists(HKEY_CLASSES_ROOT, name_.c_str())) {
        made_ = true;
        ready_ = MakeMarkedKey(HKEY_CLASSES_ROOT, name_.c_str(), CONTENT_TYPE_VALUE, contentType);
        return;
    }
    ready_ = true;
}

ExtensionKey::~ExtensionKey() {
    if (made_) {
        RegDeleteKeyW(HKEY_CLASSES_ROOT, name_.c_str());
    }
}

FormatsValue::FormatsValue() {
    // Left behind by an interrupted run: the value in it was the benchmark's own.
    const bool leftOver = HasMark(HKEY_CURRENT_USER, SETTINGS_KEY);
    madeVendor_ =
        HasMark(HKEY_CURRENT_USER, VENDOR_KEY) || !KeyExists(HKEY_CURRENT_USER, VENDOR_KEY);
    if (madeVendor_ && !MakeMarkedKey(HKEY_CURRENT_USER, VENDOR_KEY, nullptr, nullptr)) {
        return;
    }
    madeSettings_ = leftOver || !KeyExists(HKEY_CURRENT_USER, SETTINGS_KEY);
    if (madeSettings_) {
        ready_ = MakeMarkedKey(HKEY_CURRENT_USER, SETTINGS_KEY, nullptr, nullptr) && Set(nullptr);
        return;
    }
    UniqueKey settings;
    DWORD bytes = 0;
    if (!Open(HKEY_CURRENT_USER, SETTINGS_KEY, KEY_QUERY_VALUE, &settings)) {
        return;
    }
    hadValue_ = RegQueryValueExW(settings.Get(), SETTING_FORMATS, nullptr, &previousType_, nullptr,
                                 &bytes) == ERROR_SUCCESS;
    previous_.resize(bytes);
    ready_ =
        !hadValue_ || RegQueryValueExW(settings.Get(), SETTING_FORMATS, nullptr, &previousType_,
                                       previous_.data(), &bytes) == ERROR_SUCCESS;
}

FormatsValue::~FormatsValue() {
    if (madeSettings_) {
        RegDeleteKeyW(HKEY_CURRENT_USER, SETTINGS_KEY);
    } else if (hadValue_) {
        UniqueKey settings;
        if (Open(HKEY_CURRENT_USER, SETTINGS_KEY, KEY_SET_VALUE, &settings)) {
            RegSetValueExW(settings.Get(), SETTING_FORMATS, 0, previousType_, previous_.data(),
                           static_cast<DWORD>(previous_.size()));
        }
    } else {
        Set(nullptr);
    }
    if (madeVendor_) {
        RegDeleteKeyW(HKEY_CURRENT_USER, VENDOR_KEY);
    }
}

bool FormatsValue::Set(const wchar_t* list) {
    UniqueKey settings;
    if (!Open(HKEY_CURRENT_USER, SETTINGS_KEY, KEY_SET_VALUE, &settings)) {
        return false;
    }
    if (list == nullptr) {
        const LONG error = RegDeleteValueW(settings.Get(), SETTING_FORMATS);
        return error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND;
    }
    return SetString(settings.Get(), SETTING_FORMATS, list);
}

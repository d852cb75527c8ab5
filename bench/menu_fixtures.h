#pragma once
// What the menu benchmark adds to the prefix's registry for its cases, each put back as it was
// when its object goes: an extension key under HKEY_CLASSES_ROOT with its content type (a fresh
// prefix has no ".heic"), and the current user's "Formats" value under the settings key.

#include <windows.h>

#include <string>
#include <vector>

// The extension key, made when the prefix has none and then removed again. A key left behind
// by an interrupted run carries the benchmark's mark and counts as made here.
class ExtensionKey {
  public:
    ExtensionKey(std::wstring dotExtension, const wchar_t* contentType);
    ~ExtensionKey();
    ExtensionKey(const ExtensionKey&) = delete;
    ExtensionKey& operator=(const ExtensionKey&) = delete;

    bool Ready() const { return ready_; }

  private:
    std::wstring name_;
    bool made_ = false;
    bool ready_ = false;
};

// The "Formats" value, set or removed as a case needs it. The settings key (and the vendor key
// above it) is made when missing and removed at the end, marked like the extension key; a value
// that was there is put back.
class FormatsValue {
  public:
    FormatsValue();
    ~FormatsValue();
    FormatsValue(const FormatsValue&) = delete;
    FormatsValue& operator=(const FormatsValue&) = delete;

    bool Ready() const { return ready_; }
    // list null: no value. False when the registry refuses.
    bool Set(const wchar_t* list);

  private:
    bool madeSettings_ = false;
    bool madeVendor_ = false;
    bool ready_ = false;
    bool hadValue_ = false;
    DWORD previousType_ = REG_NONE;
    std::vector<BYTE> previous_;
};

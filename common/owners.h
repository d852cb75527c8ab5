#pragma once
// Scope-bound owners for every handle, key and buffer the module acquires. Each kind is a
// traits struct that says what "empty" is and how to let go; owners are move-only. Declare them
// in the order things are acquired, so they are released innermost first.

#include <windows.h>

#include <utility>

#include "common/memory.h"

template <typename Traits>
class Owner {
  public:
    using Value = typename Traits::Value;

    Owner() noexcept : value_(Traits::Empty()) {}
    explicit Owner(Value value) noexcept : value_(value) {}
    Owner(Owner&& other) noexcept : value_(other.Release()) {}
    Owner& operator=(Owner&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;
    ~Owner() { Reset(); }

    Value Get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::Empty(); }

    // For an out-parameter: lets go of the old value first.
    Value* Put() noexcept {
        Reset();
        return &value_;
    }

    Value Release() noexcept { return std::exchange(value_, Traits::Empty()); }

    void Reset(Value value = Traits::Empty()) noexcept {
        Value old = std::exchange(value_, value);
        if (old != Traits::Empty()) {
            Traits::Close(old);
        }
    }

  private:
    Value value_;
};

struct FileTraits {
    using Value = HANDLE;
    static Value Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Value file) noexcept { CloseHandle(file); }
};

// A directory search of FindFirstFileW.
struct FindTraits {
    using Value = HANDLE;
    static Value Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Value search) noexcept { FindClose(search); }
};

// Process tokens and other kernel handles whose "empty" is null.
struct HandleTraits {
    using Value = HANDLE;
    static Value Empty() noexcept { return nullptr; }
    static void Close(Value handle) noexcept { CloseHandle(handle); }
};

struct KeyTraits {
    using Value = HKEY;
    static Value Empty() noexcept { return nullptr; }
    static void Close(Value key) noexcept { RegCloseKey(key); }
};

struct GlobalTraits {
    using Value = HGLOBAL;
    static Value Empty() noexcept { return nullptr; }
    static void Close(Value memory) noexcept { GlobalFree(memory); }
};

struct SidTraits {
    using Value = PSID;
    static Value Empty() noexcept { return nullptr; }
    static void Close(Value sid) noexcept { FreeSid(sid); }
};

struct ModuleTraits {
    using Value = HMODULE;
    static Value Empty() noexcept { return nullptr; }
    static void Close(Value module) noexcept { FreeLibrary(module); }
};

// A hive loaded under HKEY_USERS by its key name; the name must outlive the owner.
struct LoadedHiveTraits {
    using Value = const WCHAR*;
    static Value Empty() noexcept { return nullptr; }
    static void Close(Value name) noexcept { RegUnLoadKeyW(HKEY_USERS, name); }
};

// Memory the shell hands out with CoTaskMemAlloc, such as an item's display name.
struct TaskMemoryTraits {
    using Value = WCHAR*;
    static Value Empty() noexcept { return nullptr; }
    static void Close(Value text) noexcept { CoTaskMemFree(text); }
};

// One reference to a COM object.
template <typename Interface>
struct InterfaceTraits {
    using Value = Interface*;
    static Value Empty() noexcept { return nullptr; }
    static void Close(Value object) noexcept { object->Release(); }
};

template <typename T>
struct BufferTraits {
    using Value = T*;
    static Value Empty() noexcept { return nullptr; }
    static void Close(Value buffer) noexcept { FreeBuffer(buffer); }
};

using UniqueFile = Owner<FileTraits>;
using UniqueFind = Owner<FindTraits>;
using UniqueHandle = Owner<HandleTraits>;
using UniqueSid = Owner<SidTraits>;
using UniqueModule = Owner<ModuleTraits>;
using LoadedHive = Owner<LoadedHiveTraits>;
using UniqueKey = Owner<KeyTraits>;
using UniqueGlobal = Owner<GlobalTraits>;
using UniqueTaskText = Owner<TaskMemoryTraits>;
template <typename Interface>
using UniqueInterface = Owner<InterfaceTraits<Interface>>;
template <typename T>
using UniqueBuffer = Owner<BufferTraits<T>>;

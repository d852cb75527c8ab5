#include "bench/registry_counters.h"

#include "bench/import_slots.h"

namespace {

constexpr const char* ADVAPI32 = "advapi32.dll";
constexpr const char* NAMES[] = {"RegOpenKeyExW", "RegEnumKeyExW", "RegQueryValueExW"};

decltype(&RegOpenKeyExW) realOpen = nullptr;
decltype(&RegEnumKeyExW) realEnum = nullptr;
decltype(&RegQueryValueExW) realQuery = nullptr;

RegistryCalls calls;

LSTATUS WINAPI CountingOpen(HKEY key, LPCWSTR name, DWORD options, REGSAM access, PHKEY opened) {
    ++calls.opens;
    return realOpen(key, name, options, access, opened);
}

LSTATUS WINAPI CountingEnum(HKEY key, DWORD index, LPWSTR name, LPDWORD length, LPDWORD reserved,
                            LPWSTR className, LPDWORD classLength, PFILETIME written) {
    ++calls.enums;
    return realEnum(key, index, name, length, reserved, className, classLength, written);
}

LSTATUS WINAPI CountingQuery(HKEY key, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                             LPDWORD size) {
    ++calls.queries;
    return realQuery(key, name, reserved, type, data, size);
}

void* const WRAPPERS[] = {reinterpret_cast<void*>(&CountingOpen),
                          reinterpret_cast<void*>(&CountingEnum),
                          reinterpret_cast<void*>(&CountingQuery)};
void** const REALS[] = {reinterpret_cast<void**>(&realOpen), reinterpret_cast<void**>(&realEnum),
                        reinterpret_cast<void**>(&realQuery)};

}  // namespace

// Every module's slot goes to the same wrapper, which calls what the first module's slot held.
RegistryCounting::RegistryCounting(std::initializer_list<HMODULE> modules) {
    Reset();
    installed_ = modules.size() <= MAX_MODULES;
    for (HMODULE module : modules) {
        for (int f = 0; f < FUNCTIONS && installed_; ++f) {
            slots_[modules_][f] = FindImportSlot(module, ADVAPI32, NAMES[f]);
            installed_ = slots_[modules_][f] != nullptr;
        }
        if (!installed_) {
            break;
        }
        for (int f = 0; f < FUNCTIONS; ++f) {
            previous_[modules_][f] = SwapImportSlot(slots_[modules_][f], WRAPPERS[f]);
            if (modules_ == 0) {
                *REALS[f] = previous_[modules_][f];
            }
        }
        ++modules_;
    }
}

RegistryCounting::~RegistryCounting() {
    for (int m = 0; m < modules_; ++m) {
        for (int f = 0; f < FUNCTIONS; ++f) {
            SwapImportSlot(slots_[m][f], previous_[m][f]);
        }
    }
}

void RegistryCounting::Reset() {
    calls = RegistryCalls{};
}

RegistryCalls RegistryCounting::Calls() const {
    return calls;
}

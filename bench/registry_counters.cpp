#include "bench/registry_counters.h"

#include "bench/import_slots.h"

namespace {

constexpr const char* ADVAPI32 = "advapi32.dll";
constexpr int FUNCTIONS = 3;
constexpr const char* NAMES[FUNCTIONS] = {"RegOpenKeyExW", "RegEnumKeyExW", "RegQueryValueExW"};

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

// Every module's slot goes to the same wrapper, which calls what the slot held: the same
// advapi32 function for every module.
RegistryCounting::RegistryCounting(std::initializer_list<HMODULE> modules) {
    Reset();
    for (HMODULE module : modules) {
        for (int f = 0; f < FUNCTIONS; ++f) {
            void** const slot = FindImportSlot(module, ADVAPI32, NAMES[f]);
            installed_ = installed_ && slot != nullptr;
            if (slot != nullptr) {
                swapped_.emplace_back(slot, SwapImportSlot(slot, WRAPPERS[f]));
                *REALS[f] = swapped_.back().second;
            }
        }
    }
}

RegistryCounting::~RegistryCounting() {
    for (const auto& [slot, previous] : swapped_) {
        SwapImportSlot(slot, previous);
    }
}

void RegistryCounting::Reset() {
    calls = RegistryCalls{};
}

RegistryCalls RegistryCounting::Calls() const {
    return calls;
}

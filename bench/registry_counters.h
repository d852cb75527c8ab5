#pragma once
// Counts the registry calls of the modules it is given, for as long as it lives: key opens,
// subkey enumerations and value reads from advapi32, each passed on to the real call.

#include <windows.h>

#include <initializer_list>
#include <utility>
#include <vector>

struct RegistryCalls {
    unsigned long opens = 0;    // RegOpenKeyExW
    unsigned long enums = 0;    // RegEnumKeyExW
    unsigned long queries = 0;  // RegQueryValueExW
};

class RegistryCounting {
  public:
    explicit RegistryCounting(std::initializer_list<HMODULE> modules);
    ~RegistryCounting();
    RegistryCounting(const RegistryCounting&) = delete;
    RegistryCounting& operator=(const RegistryCounting&) = delete;

    // False when a module does not import one of the calls.
    bool Installed() const { return installed_; }
    void Reset();
    RegistryCalls Calls() const;

  private:
    std::vector<std::pair<void**, void*>> swapped_;  // each slot and what it held
    bool installed_ = true;
};

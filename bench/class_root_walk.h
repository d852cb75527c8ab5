#pragma once
// The registry side of the menu benchmark: HKEY_CLASSES_ROOT's enumeration.

#include <windows.h>

#include <string>

// Where a name stands in the enumeration, and how many subkeys there are.
struct Placement {
    DWORD index = MAXDWORD;  // MAXDWORD when it is not there
    DWORD count = 0;
};

Placement PlaceOf(const std::wstring& name);

// The extra subkeys: made in batches as the cases need them, removed when the object goes,
// and any left behind by an interrupted run removed first. Their names start with '!' after
// the dot, which sorts before every letter, so they come before ".jpg" whatever the case rules.
class ExtraKeys {
  public:
    ExtraKeys() { RemoveAll(); }
    ~ExtraKeys() { RemoveAll(); }
    ExtraKeys(const ExtraKeys&) = delete;
    ExtraKeys& operator=(const ExtraKeys&) = delete;

    // False when a key cannot be made.
    bool GrowTo(unsigned total);

  private:
    static void RemoveAll();

    unsigned made_ = 0;
};

// The walk any lookup of the extension must make, and nothing else: open HKEY_CLASSES_ROOT,
// enumerate up to the match (or the end), then open the match and read its "Content Type".
// Only names with a leading dot are compared. True when the extension was found.
bool BareWalk(const std::wstring& dotExtension);

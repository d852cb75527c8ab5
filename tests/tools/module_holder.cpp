// Holds files loaded as Explorer holds the module after a right-click (and as a running settings
// program holds its own file): loads each file named after the event's name, sets the event,
// and waits until it is ended.
//   module-holder.exe EVENT FILE...
#include <windows.h>

#include "common/owners.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        return 2;
    }
    for (int i = 2; i < argc; ++i) {
        if (LoadLibraryW(argv[i]) == nullptr) {
            return 3;
        }
    }
    UniqueHandle loaded(CreateEventW(nullptr, TRUE, FALSE, argv[1]));
    SetEvent(loaded.Get());
    Sleep(INFINITE);
    return 0;
}

// Launches the current user's template for a fixed sample position, 35°39'31.2" N,
// 139°44'43.5" E, and prints the status the command would get.
#include <cstdio>

#include "launch/command_launch.h"

int wmain() {
    const GpsPosition sample{128371200000u, 503083500000u, true, true};
    const Status status = LaunchPosition(nullptr, sample);
    std::printf("LaunchPosition: status 0x%08lX\n", static_cast<unsigned long>(status));
    return status == RESULT_DONE ? 0 : 1;
}

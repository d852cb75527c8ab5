#include "shellext/module.h"

namespace {

volatile LONG liveObjects = 0;

}  // namespace

void ResetLiveObjects() {
    InterlockedExchange(&liveObjects, 0);
}

void ObjectCreated() {
    InterlockedIncrement(&liveObjects);
}

void ObjectDestroyed() {
    InterlockedDecrement(&liveObjects);
}

LONG LiveObjects() {
    return InterlockedCompareExchange(&liveObjects, 0, 0);
}

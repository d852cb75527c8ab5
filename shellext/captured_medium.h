#pragma once
// The drop list a handler captures in Initialize: a STGMEDIUM that is empty while its tymed is
// TYMED_NULL, released with ReleaseStgMedium.

#include <windows.h>
#include <objidl.h>
#include <shellapi.h>

class CapturedMedium {
  public:
    CapturedMedium() = default;
    ~CapturedMedium() { Release(); }
    CapturedMedium(const CapturedMedium&) = delete;
    CapturedMedium& operator=(const CapturedMedium&) = delete;

    bool Held() const { return medium_.tymed != TYMED_NULL; }
    HDROP Drop() const {
        return medium_.tymed == TYMED_HGLOBAL ? static_cast<HDROP>(medium_.hGlobal) : nullptr;
    }

    void Release() {
        if (Held()) {
            ReleaseStgMedium(&medium_);
        }
        medium_ = STGMEDIUM{};
    }

    // For GetData to write into; whatever was held is released first.
    STGMEDIUM* Put() {
        Release();
        return &medium_;
    }

    // Forgets a medium that a failed GetData may have left half-written, without releasing it:
    // it was never ours.
    void Forget() { medium_ = STGMEDIUM{}; }

  private:
    STGMEDIUM medium_{};
};

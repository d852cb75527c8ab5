#include "install/installation_run.h"

#include "common/package_identity.h"
#include "common/registry_names.h"
#include "common/settings_shortcut.h"
#include "common/ui_language.h"
#include "install/file_placement.h"
#include "install/package_registration.h"
#include "install/pending_deletion.h"
#include "install/product_version.h"
#include "install/start_menu_shortcut.h"
#include "install/windows_version.h"
#include "uninstall/certificate_removal.h"
#include "quoriel_version.h"

namespace {

constexpr ULONGLONG KILOBYTE = 1024;

// The error the last failed call left, never a success.
HRESULT LastFailure() {
    const DWORD error = GetLastError();
    return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
}

std::wstring Widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

ULONGLONG FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        return 0;
    }
    return static_cast<ULONGLONG>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

class Installation {
  public:
    Installation(const std::wstring& setupFolder, const InstallChoice& choice, const StepSink& sink)
        : setupFolder_(setupFolder), choice_(choice), sink_(sink) {}

    InstallOutcome Run() {
        const std::wstring files[] = {setupFolder_, module_, settings_, setup_, package_};
        for (const std::wstring& file : files) {
            if (file.empty()) {
                return Fail(SetupStep::COPY_MODULE, L"",
                            HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE));
            }
        }
        if (!NewerInstalledKept() &&
            Place(SetupStep::COPY_MODULE, setupFolder_ + L"\\" + MODULE_FILE, module_) &&
            Place(SetupStep::COPY_SETTINGS, setupFolder_ + L"\\" + SETTINGS_FILE, settings_) &&
            Place(SetupStep::KEEP_SETUP, ThisProgramPath(), setup_) && Register() && Menu() &&
            OtherAccounts() && Settings() && Formats()) {
            Shortcut();
        }
        return outcome_;
    }

  private:
    InstallOutcome Fail(SetupStep step, const std::wstring& subject, HRESULT error) {
        sink_({step, StepState::FAILED, subject, error});
        outcome_.failed = true;
        return outcome_;
    }

    bool Check(SetupStep step, bool done, StepState state = StepState::DONE) {
        if (!done) {
            Fail(step, L"", LastFailure());
            return false;
        }
        sink_({step, state, L""});
        return true;
    }

    // A part of a step already told: only its failure is.
    bool CheckPart(SetupStep step, bool done) {
        if (!done) {
            Fail(step, L"", LastFailure());
        }
        return done;
    }

    // Refused unless forced: an older version over a newer one.
    bool NewerInstalledKept() {
        const std::optional<ProductVersion> installed = FileVersionOf(module_);
        if (choice_.force || !installed || *installed <= ThisVersion()) {
            return false;
        }
        Fail(SetupStep::CHECK_VERSION, VersionText(*installed), E_ABORT);
        return true;
    }

    bool Place(SetupStep step, const std::wstring& source, const std::wstring& target) {
        const std::wstring folder = FolderOf(target);
        RemoveMovedAside(target);
        const FilePlacement placement = PlaceFile(source, target);
        if (placement.error != ERROR_SUCCESS) {
            Fail(step, folder, HRESULT_FROM_WIN32(placement.error));
            return false;
        }
        // A removal before this installation may have the name deleted at the next start.
        const LONG cancelled = CancelPendingDeletion(target);
        if (cancelled != ERROR_SUCCESS) {
            Fail(step, folder, HRESULT_FROM_WIN32(cancelled));
            return false;
        }
        outcome_.restartNeeded |= placement.movedAside;
        sizeBytes_ += FileSize(target);
        sink_(
            {step, placement.movedAside ? StepState::DONE_AFTER_RESTART : StepState::DONE, folder});
        return true;
    }

    bool Register() {
        const DWORD kilobytes = static_cast<DWORD>((sizeBytes_ + KILOBYTE - 1) / KILOBYTE);
        // The classic handler serves every account without the package, on every Windows.
        return Check(SetupStep::REGISTER, RegisterModule(module_) &&
                                              WriteProgramsEntry(setup_, module_, kilobytes) &&
                                              RegisterClassicHandler());
    }

    // On Windows 11 the package, kept beside the module for the other accounts and registered
    // for this one.
    bool Menu() {
        if (!IsWindows11OrLater()) {
            return true;
        }
        const std::wstring source = setupFolder_ + L"\\" + PACKAGE_FILE;
        if (!IsFile(source)) {
            DeleteFileW(package_.c_str());  // an earlier version's is not for the accounts now
        } else if (!(Place(SetupStep::KEEP_PACKAGE, source, package_) &&
                     CheckPart(SetupStep::KEEP_PACKAGE, RecordPackage()))) {
            return false;
        }
        if (QUORIEL_TEST_BUILD) {
            sink_({SetupStep::TEST_CERTIFICATE, StepState::TOLD, L""});
        }
        const PackageRegistration package = RegisterPackage(setupFolder_, FolderOf(module_));
        if (package.registered) {
            outcome_.place = MenuPlace::WINDOWS11_TOP;
            return Check(SetupStep::WINDOWS11_MENU, ReplaceCertificateRecord(package.thumbprint));
        }
        outcome_.place = MenuPlace::SHOW_MORE_OPTIONS;
        sink_({SetupStep::WINDOWS11_MENU, StepState::NOTED, Widen(package.failure)});
        return true;
    }

    // A certificate this installation added takes the record's place; the one an earlier
    // installation added (a renewed or rebuilt certificate) signed the package just replaced,
    // and goes, as Uninstall would have taken it.
    bool ReplaceCertificateRecord(const std::wstring& thumbprint) {
        const std::wstring earlier = RecordedCertificate();
        if (!RecordTrustedCertificate(thumbprint)) {
            return false;
        }
        return thumbprint.empty() || earlier.empty() || earlier == thumbprint ||
               RemoveTrustedCertificate(earlier);
    }

    bool OtherAccounts() {
        return Check(SetupStep::OTHER_ACCOUNTS,
                     RegisterAccountStep(settings_, choice_.formats, choice_.formatsChosen));
    }

    bool Settings() {
        const bool kept = HasSettings();
        return Check(SetupStep::WRITE_SETTINGS, WriteDefaultSettings() && WriteMessageLanguage(),
                     kept ? StepState::KEPT : StepState::DONE);
    }

    bool Formats() {
        const SetupStep step = choice_.formats == FormatsChoice::ALL
                                   ? SetupStep::SWITCH_ALL_FORMATS
                                   : SetupStep::SWITCH_PHOTO_FORMATS;
        if (choice_.formats == FormatsChoice::NONE) {
            return true;
        }
        if (choice_.keepAccountsFormats && HasSettingValue(SETTING_FORMATS)) {
            return Check(step, true, StepState::KEPT);
        }
        return Check(step, SwitchOnFormats(choice_.formats));
    }

    void Shortcut() {
        const SettingsShortcut& shortcut = ShortcutFor(WindowLanguage());
        const HRESULT made = MakeSettingsShortcut(shortcut, settings_);
        if (FAILED(made)) {
            Fail(SetupStep::SHORTCUT, shortcut.name, made);
            return;
        }
        sink_({SetupStep::SHORTCUT, StepState::DONE, shortcut.name});
    }

    const std::wstring setupFolder_;
    const InstallChoice choice_;
    const StepSink& sink_;
    const std::wstring module_ = InstalledModulePath();
    const std::wstring settings_ = InstalledSettingsPath();
    const std::wstring setup_ = InstalledSetupPath();
    const std::wstring package_ = InstalledPackagePath();
    ULONGLONG sizeBytes_ = 0;
    InstallOutcome outcome_;
};

}  // namespace

InstallOutcome RunInstallation(const std::wstring& setupFolder, const InstallChoice& choice,
                               const StepSink& sink) {
    return Installation(setupFolder, choice, sink).Run();
}

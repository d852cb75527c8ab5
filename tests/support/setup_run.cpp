#include "tests/support/setup_run.h"

#include "common/owners.h"
#include "common/package_identity.h"
#include "common/registry_names.h"
#include "common/settings_shortcut.h"
#include "quoriel_version.h"
#include "tests/support/child_process.h"
#include "tests/support/pending_renames.h"
#include "tests/support/registry_scratch.h"
#include "tests/support/shortcut_file.h"

const std::wstring SETUP_TITLE_LINE = L"Quoriel Setup " QUORIEL_VERSION_TEXT L"\n";
const std::wstring INSTALLED_HEADLINE = L"Quoriel " QUORIEL_VERSION_TEXT L" is installed.\n";

namespace {

constexpr size_t UTF8_MARK_SIZE = 3;

std::wstring Decode(UINT codePage, const std::string& bytes) {
    std::wstring wide(bytes.size(), L'\0');
    wide.resize(MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()),
                                    wide.data(), static_cast<int>(wide.size())));
    std::wstring lines;
    for (const wchar_t c : wide) {
        if (c != L'\r') {
            lines += c;
        }
    }
    return lines;
}

}  // namespace

std::wstring Quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

std::wstring CopySetupAndModule(const ScratchFolder& scratch, const std::wstring& below) {
    const std::wstring folder = below.empty() ? scratch.Path() : scratch.Path() + L"\\" + below;
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring setup = folder + L"\\" + SETUP_FILE;
    CopyFileW(FromLinuxPath(QUORIEL_SETUP).c_str(), setup.c_str(), FALSE);
    CopyFileW(FromLinuxPath(QUORIEL_MODULE).c_str(), (folder + L"\\" + MODULE_FILE).c_str(), FALSE);
    return setup;
}

std::wstring ConsoleLines(const std::string& output) {
    return Decode(CP_ACP, output);
}

std::wstring LogLines(const std::wstring& path) {
    const std::optional<std::vector<uint8_t>> bytes = TryReadFileBytes(path);
    if (!bytes || bytes->size() < UTF8_MARK_SIZE || (*bytes)[0] != 0xEF || (*bytes)[1] != 0xBB ||
        (*bytes)[2] != 0xBF) {
        return L"(no log with a byte-order mark)";
    }
    return Decode(CP_UTF8, std::string(bytes->begin() + UTF8_MARK_SIZE, bytes->end()));
}

bool KeyExists(HKEY root, const wchar_t* path, const wchar_t* value) {
    return RegGetValueW(root, path, value, RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void CleanInstallation() {
    DeleteKeyTree(HKEY_CLASSES_ROOT, CLASS_KEY);
    DeleteKeyTree(HKEY_CLASSES_ROOT, HANDLER_KEY);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, PROGRAMS_KEY);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, ACTIVE_SETUP_KEY);
    DeleteKeyTree(HKEY_CURRENT_USER, MAKER_KEY);
    for (const wchar_t* file : {MODULE_PATH, SETTINGS_PROGRAM_PATH, SETUP_PROGRAM_PATH,
                                L"C:\\windows\\system32\\ShellExt\\Quoriel.msix"}) {
        DeleteFileW(file);
    }
    for (const SettingsShortcut* shortcut : SETTINGS_SHORTCUTS) {
        DeleteFileW((CommonProgramsFolder() + L"\\" + shortcut->file).c_str());
    }
}

SetupDeclarations ReadSetupDeclarations(const std::wstring& path) {
    SetupDeclarations declared;
    UniqueModule image(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!image) {
        return declared;
    }
    // An image resource is mapped as sections are: its headers are where the file has them.
    const auto* base = reinterpret_cast<const BYTE*>(reinterpret_cast<ULONG_PTR>(image.Get()) &
                                                     ~static_cast<ULONG_PTR>(3));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    declared.subsystem = nt->OptionalHeader.Subsystem;
    const IMAGE_DATA_DIRECTORY& table =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* entry =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + table.VirtualAddress);
         table.VirtualAddress != 0 && entry->Name != 0; ++entry) {
        declared.imports.emplace_back(reinterpret_cast<const char*>(base + entry->Name));
    }
    HRSRC found = FindResourceW(image.Get(), MAKEINTRESOURCEW(1), RT_MANIFEST);
    if (found != nullptr) {
        const auto* text = static_cast<const char*>(LockResource(LoadResource(image.Get(), found)));
        declared.manifest.assign(text, SizeofResource(image.Get(), found));
    }
    return declared;
}

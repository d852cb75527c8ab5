#include "offer/content_type.h"

#include "common/formats.h"
#include "common/owners.h"
#include "common/registry_names.h"
#include "common/status.h"
#include "common/text.h"
#include "offer/formats_switch.h"

namespace {

constexpr WCHAR EXTENSION_DOT = L'.';
// Room for a key name of 255 characters and its NUL; longer names are passed over.
constexpr DWORD NAME_CHARACTERS = 256;
// Ten characters and a NUL: "image/jpeg", "image/heic" and the other photo types fit; a longer
// value is read again only when the user has switched on a readable type that needs the room.
constexpr DWORD CONTENT_TYPE_BYTES = 22;

// The bytes of text and its NUL, as the registry stores a string.
constexpr DWORD TextBytes(const WCHAR* text) {
    DWORD bytes = sizeof(WCHAR);
    while (*text++ != L'\0') {
        bytes += sizeof(WCHAR);
    }
    return bytes;
}

// The longest readable type and its NUL: no longer value can be one of them.
constexpr DWORD LongestTypeBytes() {
    DWORD longest = 0;
    for (const Format& readable : FORMATS) {
        longest =
            TextBytes(readable.contentType) > longest ? TextBytes(readable.contentType) : longest;
    }
    return longest;
}
constexpr DWORD LONGEST_TYPE_BYTES = LongestTypeBytes();
static_assert(LONGEST_TYPE_BYTES <= NAME_CHARACTERS * sizeof(WCHAR),
              "the key name's buffer takes the content type");

// The text after the last dot anywhere in the path, or null when there is none.
const WCHAR* Extension(const WCHAR* path) {
    const WCHAR* extension = nullptr;
    for (const WCHAR* p = path; *p != L'\0'; ++p) {
        if (*p == EXTENSION_DOT) {
            extension = p + 1;
        }
    }
    return extension;
}

// Walks the subkeys of classes for ".extension", compared without regard to case, into name.
// S_FALSE when the walk ends without one.
HRESULT FindExtensionKey(HKEY classes, const WCHAR* extension, WCHAR (&name)[NAME_CHARACTERS]) {
    for (DWORD index = 0;; ++index) {
        DWORD length = NAME_CHARACTERS;
        const LONG error =
            RegEnumKeyExW(classes, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (error == ERROR_MORE_DATA) {
            continue;
        }
        if (error == ERROR_NO_MORE_ITEMS) {
            return S_FALSE;
        }
        if (error != ERROR_SUCCESS) {
            return HResultFromWin32(error);
        }
        if (name[0] == EXTENSION_DOT && lstrcmpiW(name + 1, extension) == 0) {
            return S_OK;
        }
    }
}

// A switched row is offered when the user's switch names it by one of names.
bool Offered(const Format& readable, RowNames names = RowNames::CONTENT_TYPE) {
    return !readable.switched || RowSwitchedOn(readable, names);
}

// The row whose name (as nameOf gives it: its content type, or its extension with the dot) is
// name, letter case aside; null when the table holds none, so that the switch is read only for
// a name the table holds.
template <typename NameOf>
const Format* RowNamed(const WCHAR* name, NameOf nameOf) {
    for (const Format& readable : FORMATS) {
        const WCHAR* rowName = nameOf(readable);
        if (rowName != nullptr && lstrcmpiW(name, rowName) == 0) {
            return &readable;
        }
    }
    return nullptr;
}

FileKind KindOfContentType(const WCHAR* contentType) {
    const Format* row =
        RowNamed(contentType, [](const Format& readable) { return readable.contentType; });
    return row != nullptr && Offered(*row) ? row->kind : FileKind::NONE;
}

// The kind of a raw whose extension Windows gives no content type. dotted is the extension with
// its dot, as the path holds it. The user's switch may name the raw by that extension (".cr2")
// or by its content type, as the settings window and the presets write it.
FileKind KindOfExtension(const WCHAR* dotted) {
    const Format* row = RowNamed(dotted, [](const Format& readable) { return readable.extension; });
    return row != nullptr && Offered(*row, RowNames::CONTENT_TYPE_OR_EXTENSION) ? row->kind
                                                                                : FileKind::NONE;
}

// Whether a value too long for CONTENT_TYPE_BYTES may still be a type the user is offered.
bool LongTypeOffered() {
    for (const Format& readable : FORMATS) {
        if (TextBytes(readable.contentType) > CONTENT_TYPE_BYTES && Offered(readable)) {
            return true;
        }
    }
    return false;
}

// The content type into text, as far as the registry wrote. A value too long for the short
// read answers ERROR_MORE_DATA, unless a long type is offered: then it is read again with room
// for the longest readable type, and a value longer still is none of them.
LONG ReadContentType(HKEY key, WCHAR (&text)[NAME_CHARACTERS]) {
    DWORD size = CONTENT_TYPE_BYTES;
    LONG error = RegQueryValueExW(key, CONTENT_TYPE_VALUE, nullptr, nullptr,
                                  reinterpret_cast<BYTE*>(text), &size);
    if (error == ERROR_MORE_DATA && LongTypeOffered()) {
        size = LONGEST_TYPE_BYTES;
        error = RegQueryValueExW(key, CONTENT_TYPE_VALUE, nullptr, nullptr,
                                 reinterpret_cast<BYTE*>(text), &size);
        if (error == ERROR_MORE_DATA) {
            text[0] = L'\0';  // longer than every readable type: none of them
            return ERROR_SUCCESS;
        }
    }
    if (error != ERROR_SUCCESS) {
        return error;
    }
    text[LengthBeforeNul(text, size / sizeof(WCHAR))] = L'\0';
    return ERROR_SUCCESS;
}

}  // namespace

HRESULT FindFileKind(const WCHAR* path, FileKind* kind) {
    *kind = FileKind::NONE;
    const WCHAR* extension = Extension(path);
    if (extension == nullptr) {
        return S_OK;
    }
    UniqueKey classes;
    LONG error = RegOpenKeyExW(HKEY_CLASSES_ROOT, nullptr, 0,
                               KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS, classes.Put());
    if (error != ERROR_SUCCESS) {
        return HResultFromWin32(error);
    }
    // The same extension with the dot before it in the path, as a "Formats" entry names it.
    const WCHAR* dotted = extension - 1;
    WCHAR text[NAME_CHARACTERS];
    const HRESULT found = FindExtensionKey(classes.Get(), extension, text);
    if (found == S_FALSE) {
        *kind = KindOfExtension(dotted);
        return S_OK;
    }
    if (found != S_OK) {
        return found;
    }
    UniqueKey key;
    error = RegOpenKeyExW(classes.Get(), text, 0, KEY_QUERY_VALUE, key.Put());
    if (error != ERROR_SUCCESS) {
        return HResultFromWin32(error);
    }
    // The key name is not needed any more: the content type is read into the same buffer.
    error = ReadContentType(key.Get(), text);
    if (error == ERROR_FILE_NOT_FOUND) {
        *kind = KindOfExtension(dotted);
        return *kind != FileKind::NONE ? S_OK : HResultFromWin32(error);
    }
    if (error != ERROR_SUCCESS) {
        return HResultFromWin32(error);
    }
    *kind = KindOfContentType(text);
    return S_OK;
}

RowNames NamesTakenFor(const Format& row) {
    if (row.extension == nullptr) {
        return RowNames::CONTENT_TYPE;
    }
    // Only a key or a value that is not there lets the menu take the extension; any other
    // failure makes the menu offer nothing for the file.
    UniqueKey key;
    LONG error = RegOpenKeyExW(HKEY_CLASSES_ROOT, row.extension, 0, KEY_QUERY_VALUE, key.Put());
    if (error == ERROR_SUCCESS) {
        error = RegQueryValueExW(key.Get(), CONTENT_TYPE_VALUE, nullptr, nullptr, nullptr, nullptr);
    }
    return error == ERROR_FILE_NOT_FOUND ? RowNames::CONTENT_TYPE_OR_EXTENSION
                                         : RowNames::CONTENT_TYPE;
}

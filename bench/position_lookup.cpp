#include "bench/position_lookup.h"

#include <algorithm>
#include <iterator>

#include "position/file_window.h"

namespace {

// The kind of each extension, as the content type a Windows registry gives it makes it.
struct ExtensionKind {
    const wchar_t* extension;
    FileKind kind;
};
constexpr ExtensionKind EXTENSION_KINDS[] = {
    {L".jpg", FileKind::JPEG},  {L".jpeg", FileKind::JPEG}, {L".jpe", FileKind::JPEG},
    {L".jfif", FileKind::JPEG}, {L".tif", FileKind::TIFF},  {L".tiff", FileKind::TIFF},
    {L".heic", FileKind::HEIF}, {L".heif", FileKind::HEIF}, {L".avif", FileKind::HEIF},
    {L".webp", FileKind::WEBP}, {L".png", FileKind::PNG},   {L".mp4", FileKind::VIDEO},
    {L".mov", FileKind::VIDEO}, {L".3gp", FileKind::VIDEO},
};

bool HasExtension(const std::wstring& name, const wchar_t* extension) {
    const size_t length = wcslen(extension);
    return name.size() >= length && _wcsicmp(name.c_str() + name.size() - length, extension) == 0;
}

FileKind KindOf(const std::wstring& name) {
    const auto* found = std::find_if(
        std::begin(EXTENSION_KINDS), std::end(EXTENSION_KINDS),
        [&](const ExtensionKind& known) { return HasExtension(name, known.extension); });
    return found == std::end(EXTENSION_KINDS) ? FileKind::NONE : found->kind;
}

UniqueFile OpenAsTheCommandDoes(const std::wstring& path) {
    return UniqueFile(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
}

}  // namespace

Input InputAt(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const FileKind kind = KindOf(name);
    return Input{std::move(name), path, kind};
}

UniqueFile OpenForReading(const std::wstring& path, uint64_t* size) {
    UniqueFile file = OpenAsTheCommandDoes(path);
    LARGE_INTEGER bytes{};
    if (file && !GetFileSizeEx(file.Get(), &bytes)) {
        file.Reset();
    }
    *size = static_cast<uint64_t>(bytes.QuadPart);
    return file;
}

// SetFilePointerEx is not counted: only SetFilePointer is, which the readers use.
Status OpenFileLookup::Once() {
    const LARGE_INTEGER start{};
    SetFilePointerEx(file_, start, nullptr, FILE_BEGIN);
    return ReadGpsPosition(reader_, file_, kind_, &position_);
}

Status PathLookup::Once() {
    const UniqueFile file = OpenAsTheCommandDoes(path_);
    if (!file) {
        return LastErrorStatus();
    }
    return ReadGpsPosition(reader_, file.Get(), kind_, &position_);
}

const char* KindName(FileKind kind) {
    switch (kind) {
        case FileKind::JPEG:
            return "JPEG";
        case FileKind::TIFF:
            return "TIFF";
        case FileKind::HEIF:
            return "HEIF";
        case FileKind::WEBP:
            return "WEBP";
        case FileKind::PNG:
            return "PNG";
        case FileKind::VIDEO:
            return "VIDEO";
        default:
            return "none";
    }
}

const char* OutcomeOf(Status status) {
    switch (status) {
        case RESULT_DONE:
            return "position";
        case RESULT_NO_POSITION:
            return "no-position";
        case RESULT_NO_EXIF:
            return "no-exif";
        default:
            return "failed";
    }
}

FirstLookup CountFirstLookup(Lookup& lookup, bool trace) {
    FirstLookup first;
    ResetIoCounters();
    if (trace) {
        StartIoTrace();
    }
    first.status = lookup.Once();
    if (trace) {
        first.trace = StopIoTrace();
    }
    first.io = CurrentIoCounters();
    return first;
}

bool MadeSameReads(const IoCounters& one, uint64_t repetitions) {
    const IoCounters total = CurrentIoCounters();
    return total.reads == one.reads * repetitions &&
           total.bytesRead == one.bytesRead * repetitions &&
           total.seeks == one.seeks * repetitions &&
           total.positionQueries == one.positionQueries * repetitions &&
           total.sizeQueries == one.sizeQueries * repetitions;
}

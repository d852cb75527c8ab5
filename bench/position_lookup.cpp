#include "bench/position_lookup.h"

#include <algorithm>
#include <iterator>

#include "position/file_window.h"

namespace {

constexpr const wchar_t* JPEG_EXTENSIONS[] = {L".jpg", L".jpeg", L".jpe", L".jfif"};
constexpr const wchar_t* TIFF_EXTENSIONS[] = {L".tif", L".tiff"};

bool HasExtension(const std::wstring& name, const wchar_t* extension) {
    const size_t length = wcslen(extension);
    return name.size() >= length && _wcsicmp(name.c_str() + name.size() - length, extension) == 0;
}

template <size_t N>
bool HasAnyExtension(const std::wstring& name, const wchar_t* const (&extensions)[N]) {
    return std::any_of(std::begin(extensions), std::end(extensions),
                       [&](const wchar_t* extension) { return HasExtension(name, extension); });
}

FileKind KindOf(const std::wstring& name) {
    if (HasAnyExtension(name, JPEG_EXTENSIONS)) {
        return FileKind::JPEG;
    }
    return HasAnyExtension(name, TIFF_EXTENSIONS) ? FileKind::TIFF : FileKind::NONE;
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
    return reader_.ReadGpsPosition(file_, kind_, &position_);
}

Status PathLookup::Once() {
    const UniqueFile file = OpenAsTheCommandDoes(path_);
    if (!file) {
        return LastErrorStatus();
    }
    return reader_.ReadGpsPosition(file.Get(), kind_, &position_);
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

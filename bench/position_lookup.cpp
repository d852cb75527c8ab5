#include "bench/position_lookup.h"

#include <algorithm>
#include <iterator>

#include "common/formats.h"

namespace {

// The content type a Windows registry gives each extension; FORMATS gives its kind.
struct ExtensionType {
    const wchar_t* extension;
    const wchar_t* contentType;
};
constexpr ExtensionType EXTENSION_TYPES[] = {
    {L".jpg", L"image/jpeg"},      {L".jpeg", L"image/jpeg"}, {L".jpe", L"image/jpeg"},
    {L".jfif", L"image/jpeg"},     {L".tif", L"image/tiff"},  {L".tiff", L"image/tiff"},
    {L".heic", L"image/heic"},     {L".heif", L"image/heif"}, {L".avif", L"image/avif"},
    {L".webp", L"image/webp"},     {L".png", L"image/png"},   {L".mp4", L"video/mp4"},
    {L".mov", L"video/quicktime"}, {L".3gp", L"video/3gpp"},
};

bool HasExtension(const std::wstring& name, const wchar_t* extension) {
    const size_t length = wcslen(extension);
    return name.size() >= length && _wcsicmp(name.c_str() + name.size() - length, extension) == 0;
}

FileKind KindOfContentType(const wchar_t* contentType) {
    const auto* found = std::find_if(
        std::begin(FORMATS), std::end(FORMATS),
        [&](const Format& readable) { return _wcsicmp(readable.contentType, contentType) == 0; });
    return found == std::end(FORMATS) ? FileKind::NONE : found->kind;
}

// A raw's extension, which Windows often registers without a content type, by the table's own.
FileKind KindOfRawExtension(const std::wstring& name) {
    const auto* found =
        std::find_if(std::begin(FORMATS), std::end(FORMATS), [&](const Format& readable) {
            return readable.extension != nullptr && HasExtension(name, readable.extension);
        });
    return found == std::end(FORMATS) ? FileKind::NONE : found->kind;
}

FileKind KindOf(const std::wstring& name) {
    const auto* found = std::find_if(
        std::begin(EXTENSION_TYPES), std::end(EXTENSION_TYPES),
        [&](const ExtensionType& known) { return HasExtension(name, known.extension); });
    return found == std::end(EXTENSION_TYPES) ? KindOfRawExtension(name)
                                              : KindOfContentType(found->contentType);
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

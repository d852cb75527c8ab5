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

template <typename Match>
FileKind FormatKind(Match match) {
    const auto* found = std::find_if(std::begin(FORMATS), std::end(FORMATS), match);
    return found == std::end(FORMATS) ? FileKind::NONE : found->kind;
}

// By the content type of the extension; a raw's extension, which Windows often registers
// without a content type, by the table's own.
FileKind KindOf(const std::wstring& name) {
    const auto* known =
        std::find_if(std::begin(EXTENSION_TYPES), std::end(EXTENSION_TYPES),
                     [&](const ExtensionType& type) { return HasExtension(name, type.extension); });
    if (known == std::end(EXTENSION_TYPES)) {
        return FormatKind([&](const Format& format) {
            return format.extension != nullptr && HasExtension(name, format.extension);
        });
    }
    return FormatKind([&](const Format& format) {
        return _wcsicmp(format.contentType, known->contentType) == 0;
    });
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
Status Lookup::Once() {
    if (file != nullptr) {
        SetFilePointerEx(file, LARGE_INTEGER{}, nullptr, FILE_BEGIN);
        return ReadGpsPosition(reader, file, input.kind, &position);
    }
    const UniqueFile opened = OpenAsTheCommandDoes(input.path);
    return opened ? ReadGpsPosition(reader, opened.Get(), input.kind, &position)
                  : LastErrorStatus();
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

#include "install/setup_log.h"

namespace {

constexpr const WCHAR* CONSOLE_OUTPUT = L"CONOUT$";
constexpr const WCHAR* LINE_END = L"\r\n";
constexpr BYTE UTF8_MARK[] = {0xEF, 0xBB, 0xBF};

bool Usable(HANDLE handle) {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

std::string Encode(UINT codePage, const std::wstring& text) {
    const int bytes = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                          nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) {
        return std::string();
    }
    std::string encoded(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), encoded.data(),
                        bytes, nullptr, nullptr);
    return encoded;
}

void WriteBytes(HANDLE output, const void* bytes, size_t size) {
    DWORD written = 0;
    WriteFile(output, bytes, static_cast<DWORD>(size), &written, nullptr);
}

}  // namespace

// A program of the Windows subsystem gets no console of its own: it writes to the output it was
// handed, or else to the console of the program that started it.
SetupLog::SetupLog() {
    output_ = GetStdHandle(STD_OUTPUT_HANDLE);
    if (!Usable(output_) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        attached_.Reset(CreateFileW(CONSOLE_OUTPUT, GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                    nullptr));
        output_ = attached_.Get();
    }
    DWORD mode = 0;
    console_ = Usable(output_) && GetConsoleMode(output_, &mode);
}

DWORD SetupLog::OpenFile(const std::wstring& path) {
    file_.Reset(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_) {
        return GetLastError();
    }
    WriteBytes(file_.Get(), UTF8_MARK, sizeof(UTF8_MARK));
    return ERROR_SUCCESS;
}

void SetupLog::Line(const std::wstring& line) {
    if (file_) {
        const std::string text = Encode(CP_UTF8, line + LINE_END);
        WriteBytes(file_.Get(), text.data(), text.size());
    }
    if (Usable(output_)) {
        Write(output_, console_, line);
    }
}

// A console takes the text as it is; a file or pipe gets it in the system's code page, as
// console programs write theirs.
void SetupLog::Write(HANDLE output, bool console, const std::wstring& line) {
    const std::wstring text = line + LINE_END;
    if (console) {
        DWORD written = 0;
        WriteConsoleW(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    const std::string encoded = Encode(CP_ACP, text);
    WriteBytes(output, encoded.data(), encoded.size());
}

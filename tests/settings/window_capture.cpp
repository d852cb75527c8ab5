#include "tests/settings/window_capture.h"

#include <vector>

#include "common/owners.h"

namespace {

constexpr WORD BMP_SIGNATURE = 0x4D42;  // "BM"
constexpr WORD BITS_PER_PIXEL = 32;
constexpr DWORD BYTES_PER_PIXEL = BITS_PER_PIXEL / 8;
constexpr UINT REDRAW = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN;

struct MemoryDcTraits {
    using Value = HDC;
    static Value Empty() noexcept { return nullptr; }
    static void Close(Value dc) noexcept { DeleteDC(dc); }
};

struct BitmapTraits {
    using Value = HBITMAP;
    static Value Empty() noexcept { return nullptr; }
    static void Close(Value bitmap) noexcept { DeleteObject(bitmap); }
};

// The device context of the whole window, frame included.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetWindowDC(window)) {}
    ~WindowDc() { ReleaseDC(window_, dc_); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// The window as drawn now, 32 bits a pixel, top row first.
bool CopyPixels(HWND window, LONG width, LONG height, std::vector<BYTE>* pixels) {
    RedrawWindow(window, nullptr, nullptr, REDRAW);
    const WindowDc source(window);
    const Owner<MemoryDcTraits> target(CreateCompatibleDC(source.Get()));
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = BITS_PER_PIXEL;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const Owner<BitmapTraits> bitmap(
        CreateDIBSection(source.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!target || !bitmap) {
        return false;
    }
    const HGDIOBJ previous = SelectObject(target.Get(), bitmap.Get());
    const BOOL copied = BitBlt(target.Get(), 0, 0, width, height, source.Get(), 0, 0, SRCCOPY);
    GdiFlush();
    SelectObject(target.Get(), previous);
    const auto* first = static_cast<const BYTE*>(bits);
    pixels->assign(first, first + size_t{BYTES_PER_PIXEL} * width * height);
    return copied != FALSE;
}

// A BMP file: its header, a top-down 32-bit image header, the pixels.
bool WriteBmp(const wchar_t* path, LONG width, LONG height, const std::vector<BYTE>& pixels) {
    BITMAPINFOHEADER image = {};
    image.biSize = sizeof(image);
    image.biWidth = width;
    image.biHeight = -height;
    image.biPlanes = 1;
    image.biBitCount = BITS_PER_PIXEL;
    image.biCompression = BI_RGB;
    image.biSizeImage = static_cast<DWORD>(pixels.size());
    BITMAPFILEHEADER file = {};
    file.bfType = BMP_SIGNATURE;
    file.bfOffBits = sizeof(file) + sizeof(image);
    file.bfSize = file.bfOffBits + image.biSizeImage;
    const UniqueFile output(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return output && WriteFile(output.Get(), &file, sizeof(file), &written, nullptr) &&
           WriteFile(output.Get(), &image, sizeof(image), &written, nullptr) &&
           WriteFile(output.Get(), pixels.data(), image.biSizeImage, &written, nullptr);
}

void Capture(HWND window) {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(CAPTURE_PATH_VARIABLE, path, MAX_PATH);
    RECT bounds = {};
    if (length == 0 || length >= MAX_PATH || !GetWindowRect(window, &bounds)) {
        return;
    }
    const LONG width = bounds.right - bounds.left;
    const LONG height = bounds.bottom - bounds.top;
    std::vector<BYTE> pixels;
    if (CopyPixels(window, width, height, &pixels)) {
        WriteBmp(path, width, height, pixels);
    }
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    CaptureHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == RegisterWindowMessageW(CAPTURE_MESSAGE)) {
        Capture(call->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

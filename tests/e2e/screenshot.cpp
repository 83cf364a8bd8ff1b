#include "screenshot.h"

#include <vector>

#include "win32/handles.h"

namespace {

struct ScreenDc {
  HDC dc = ::GetDC(nullptr);
  ~ScreenDc() { ::ReleaseDC(nullptr, dc); }
};
using UniqueDc = UniqueHandle<HDC, &::DeleteDC>;
void DeleteBitmap(HBITMAP bitmap) {
  ::DeleteObject(bitmap);
}
using UniqueBitmap = UniqueHandle<HBITMAP, &DeleteBitmap>;

}  // namespace

bool SaveWindowImage(HWND window, const std::wstring& path) {
  RECT rect;
  if (!::GetWindowRect(window, &rect)) return false;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;

  ScreenDc screen;
  UniqueDc memory(::CreateCompatibleDC(screen.dc));
  UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.dc, width, height));
  const HGDIOBJ previous = ::SelectObject(memory.get(), bitmap.get());
  ::BitBlt(memory.get(), 0, 0, width, height, screen.dc, rect.left, rect.top, SRCCOPY);
  ::SelectObject(memory.get(), previous);

  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const auto rowSize = static_cast<DWORD>((width * 3 + 3) & ~3);
  std::vector<BYTE> pixels(static_cast<std::size_t>(rowSize) * static_cast<std::size_t>(height));
  if (::GetDIBits(memory.get(), bitmap.get(), 0, static_cast<UINT>(height), pixels.data(),
                  reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) == 0) {
    return false;
  }

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  const HANDLE created = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
  if (created == INVALID_HANDLE_VALUE) return false;
  const UniqueKernelHandle out(created);
  DWORD written = 0;
  return ::WriteFile(out.get(), &file, sizeof file, &written, nullptr) &&
         ::WriteFile(out.get(), &info, sizeof info, &written, nullptr) &&
         ::WriteFile(out.get(), pixels.data(), static_cast<DWORD>(pixels.size()), &written,
                     nullptr);
}

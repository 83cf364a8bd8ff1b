#include "screenshot.h"

#include "win32/gdi.h"
#include "win32/handles.h"

namespace {

BITMAPINFOHEADER Header(const Screenshot& shot) {
  return {sizeof(BITMAPINFOHEADER), shot.width, shot.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
}

}  // namespace

Screenshot TakeScreenshot(const RECT& area) {
  Screenshot shot;
  shot.width = area.right - area.left;
  shot.height = area.bottom - area.top;
  const WindowDc screen(nullptr);
  const UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
  const UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), shot.width, shot.height));
  {
    const SelectedObject select(memory.get(), bitmap.get());
    ::BitBlt(memory.get(), 0, 0, shot.width, shot.height, screen.get(), area.left, area.top,
             SRCCOPY);
  }
  BITMAPINFO info{};
  info.bmiHeader = Header(shot);
  // Each row is padded to whole 32-bit words.
  const std::size_t stride = (static_cast<std::size_t>(shot.width) * 3 + 3) & ~std::size_t{3};
  shot.pixels.resize(stride * static_cast<std::size_t>(shot.height));
  if (::GetDIBits(memory.get(), bitmap.get(), 0, static_cast<UINT>(shot.height), shot.pixels.data(),
                  &info, DIB_RGB_COLORS) == 0) {
    shot.pixels.clear();
  }
  return shot;
}

bool SaveBitmap(const Screenshot& shot, const std::wstring& path) {
  if (shot.pixels.empty()) return false;
  const BITMAPINFOHEADER info = Header(shot);
  const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  const auto pixelBytes = static_cast<DWORD>(shot.pixels.size());
  const BITMAPFILEHEADER file{0x4D42 /* "BM" */, offset + pixelBytes, 0, 0, offset};
  const UniqueFile out(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!out) return false;
  DWORD written = 0;
  return ::WriteFile(out.get(), &file, sizeof file, &written, nullptr) &&
         ::WriteFile(out.get(), &info, sizeof info, &written, nullptr) &&
         ::WriteFile(out.get(), shot.pixels.data(), pixelBytes, &written, nullptr);
}

#include "win32/DibSurface.h"

namespace kov::win32 {

DibSurface::DibSurface(const window::GraphPixels& pixels) {
  const int width = pixels.width, height = pixels.height;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down, as the raster surface's rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  memory_ = CreateCompatibleDC(nullptr);
  bitmap_ = CreateDIBSection(memory_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  previous_ = SelectObject(memory_, bitmap_);
  surface_ = std::make_unique<display::RasterSurface>(width, height, pixels.background,
                                                      static_cast<std::uint32_t*>(bits));
}

DibSurface::~DibSurface() {
  SelectObject(memory_, previous_);
  DeleteObject(bitmap_);
  DeleteDC(memory_);
}

void DibSurface::CopyTo(HDC dc) {
  surface_->Pixels();  // lines still pending reach the pixels first
  BitBlt(dc, 0, 0, surface_->Width(), surface_->Height(), memory_, 0, 0, SRCCOPY);
}

}  // namespace kov::win32

#include "Png.h"

#include <stb/stb_image_write.h>

namespace kov::wfexport {

std::string EncodePng(const Canvas& canvas) {
  std::string png;
  const auto append = [](void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                               static_cast<std::size_t>(size));
  };
  stbi_write_png_to_func(append, &png, canvas.Width(), canvas.Height(), 3, canvas.Bytes().data(),
                         canvas.Width() * 3);
  return png;
}

}  // namespace kov::wfexport

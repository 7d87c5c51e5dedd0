// The single-file libraries' code, compiled once. Their folder is a system
// include folder to the build, so their own warnings stay quiet.
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_truetype.h>

#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

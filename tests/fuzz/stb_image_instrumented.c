/* The fuzz build compiles stb_image from the same header the host includes, so that the
 * decoder's branches guide the fuzzer and its memory errors are caught where they happen. The
 * definitions in the fuzz executable take the place of those in the shared libstb. */
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#pragma once

// For the few steps taken for every line of a recording.
#if defined(__GNUC__)
#define KOV_HOT_INLINE inline __attribute__((always_inline))
#else
#define KOV_HOT_INLINE inline
#endif

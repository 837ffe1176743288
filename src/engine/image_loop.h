// The images of a step spread over the threads, each thread in the engine's
// floating-point modes, with the overflow flag read per image.
#pragma once

#include "engine/extended_arithmetic.h"
#include "engine/fp_environment.h"

namespace vantel {

// Images per piece of work handed to a thread: large enough to keep the
// scheduling cost small, small enough to balance images of unequal ink.
inline constexpr int Image_chunk = 256;

// Calls image(k) for k = 1..count, in any order and on any thread, then
// overflowed(k) on the same thread when the arithmetic of image k raised the
// overflow flag. The flag is cleared before every thread starts and after
// each image that raised it, so that it never carries over to the next image
// of the thread.
template <class Image, class Overflowed>
void for_each_image(int count, Image&& image, Overflowed&& overflowed)
{
#pragma omp parallel
    {
        const Fp_mode_scope mode;
        clear_overflow();
#pragma omp for schedule(dynamic, Image_chunk)
        for (int k = 1; k <= count; ++k) {
            image(k);
            if (overflow_raised()) {
                overflowed(k);
                clear_overflow();
            }
        }
    }
}

}  // namespace vantel

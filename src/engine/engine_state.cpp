#include "engine/engine_state.h"

#include <atomic>

namespace vantel {

void mark_datasets_changed(Pattern_datasets& datasets)
{
    static std::atomic<std::uint64_t> identities{0};
    datasets.Identity = ++identities;
}

}  // namespace vantel

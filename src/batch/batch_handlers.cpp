#include "batch/batch_handlers.h"

namespace vantel {

void install_batch_handlers(Session&) {}

}  // namespace vantel

// START's learning curve: with the box of the "Chart" tab checked, step 7
// tests the network after every epoch and the window draws the values as
// they come. Each test costs about what step 8 costs (0.016 s on the 10000
// test images), so with the box unchecked START tests nothing more.
#pragma once

#include "model/session.h"

namespace vantel {

// For as long as START runs: asks the window whether it wants the curve,
// and empties the curve shown. However START ends, the curve is then no
// longer wanted, so that a step clicked on its own never tests per epoch.
class Curve_scope {
public:
    explicit Curve_scope(Session& session);
    ~Curve_scope();
    Curve_scope(const Curve_scope&) = delete;
    Curve_scope& operator=(const Curve_scope&) = delete;

private:
    Window_run& run_;
};

// Tests the network as the epoch just trained left it (stored in the
// state's network) and appends its value to the curve, which the window
// then shows.
void add_curve_point(Session& session);

}  // namespace vantel

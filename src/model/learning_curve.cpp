#include "model/learning_curve.h"

#include <limits>
#include <memory>

#include "engine/training.h"
#include "model/step_handlers.h"

namespace vantel {

Curve_scope::Curve_scope(Session& session) : run_(session.state.run)
{
    run_.Learning_curve.clear();
    run_.Curve_wanted = session.window.learning_curve_wanted();
    session.window.show_learning_curve(run_.Learning_curve);
}

Curve_scope::~Curve_scope()
{
    run_.Curve_wanted = false;
}

void add_curve_point(Session& session)
{
    Window_run& run = session.state.run;
    // Testing writes the counters and the last image's Y, Sh and Sout: it
    // works on copies, so that training goes on and step 8 tests as they
    // would without the curve.
    const auto net = std::make_unique<Vedero_network>(session.state.net);
    Run_control counts = run;
    double value = std::numeric_limits<double>::quiet_NaN();
    try {
        test_network(engine_workspace(session), *net, counts, session.datasets());
        value = static_cast<double>(static_cast<long double>(counts.Accuracy) / 100);  // as step 9
    } catch (const Overflow_error&) {
        // No point for this epoch. The overflow flag it leaves raised is
        // cleared before training or testing reads it again.
    }
    run.Learning_curve.push_back(value);
    session.window.show_learning_curve(run.Learning_curve);
}

}  // namespace vantel

// The program's steps 5, 7 and 8 against the literal engine on the real
// MNIST-10 files, for W1 made by the real step 4: all six fill methods on
// one series, three unusual series on one method, and a second epoch.
// A literal epoch takes seconds, so the literal runs of independent cases
// share the machine's two cores, each on its own copy of Program_state.
#include <atomic>
#include <cmath>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "support/literal_engine.h"
#include "support/test_program.h"

namespace vantel::test {
namespace {

// What the program computed for one W1: the network after step 8, once
// per epoch trained.
struct Case {
    std::string what;
    std::unique_ptr<Vedero_network> before_step_5;
    std::vector<std::unique_ptr<Vedero_network>> after_epoch;
    std::vector<Run_control> run_after_epoch;
};

// The program's network and run settings in a state of their own, for the
// comparison with the literal state.
void expect_same_as_program(const Program_state& literal, const Vedero_network& net, const Run_control& run,
                            const std::string& what)
{
    auto program = std::make_unique<Program_state>();
    program->net = net;
    static_cast<Run_control&>(program->run) = run;
    expect_same_network(literal, *program, what);
    EXPECT_EQ(first_difference(&literal.net.W1[0][0], &net.W1[0][0], (Last_input + 1) * (Neurons + 1)), -1)
        << what << ": W1";
    // A network that learned: well above the 10 to 11 % of guessing.
    EXPECT_GT(run.Accuracy, 15.0) << what;
}

class Real_mnist : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        program_ = new Test_program;
        Program_state& state = *program_->state;
        program_->session.executable_dir = built_app_dir();
        state.run.App_dir = built_app_dir();
        state.run.One_second = 1.0 / 86400;
        program_->window.set_lines(Control::Memo3, {"1", "2", "AUTO=NO", "METHOD=5", "N=19625", "Path="});
        state.datasets.Datasets_pending = true;
        program_->session.trigger(Control::Button_Step_2);
    }
    static void TearDownTestSuite()
    {
        delete program_;
        program_ = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(real_mnist_present());
        ASSERT_FALSE(program_->state->datasets.Datasets_pending) << "MNIST-10 not loaded from " << built_app_dir();
    }

    // W1 from the series by the real steps 3 and 4, then steps 5, 7 and 8
    // of the program, `epochs` times one epoch (each step 7 continuing).
    static Case run_program(const std::string& what, int method, const std::vector<double>& series, int epochs = 1)
    {
        Program_state& state = *program_->state;
        Session& session = program_->session;
        state.series.N = static_cast<int>(series.size());
        for (int k = 1; k <= Max_N; ++k) state.series.xn[k] = k <= state.series.N ? series[k - 1] : 0.0;
        program_->window.select_method(method);
        session.trigger(Control::Button_Step_3);
        session.trigger(Control::Button_Step_4);

        Case c{what, std::make_unique<Vedero_network>(state.net), {}, {}};
        session.trigger(Control::Button_Step_5);
        state.run.Epochs = 1;
        for (int e = 0; e < epochs; ++e) {
            session.trigger(Control::Button_Step_7);
            session.trigger(Control::Button_Step_8);
            c.after_epoch.push_back(std::make_unique<Vedero_network>(state.net));
            c.run_after_epoch.push_back(state.run);
        }
        return c;
    }

    // The literal engine on every case, two at a time.
    static void compare_with_literal(const std::vector<Case>& cases)
    {
        std::atomic<std::size_t> next{0};
        const auto worker = [&] {
            auto literal = std::make_unique<Program_state>(*program_->state);
            for (std::size_t i; (i = next++) < cases.size();) {
                const Case& c = cases[i];
                literal->net = *c.before_step_5;
                literal_step_5(*literal);
                for (std::size_t e = 0; e < c.after_epoch.size(); ++e) {
                    literal_step_7(*literal, 1);
                    literal_step_8(*literal);
                    expect_same_as_program(*literal, *c.after_epoch[e], c.run_after_epoch[e],
                                           c.what + ", epoch " + std::to_string(e + 1));
                }
            }
        };
        std::thread second(worker);
        worker();
        second.join();
    }

    static Test_program* program_;
};

Test_program* Real_mnist::program_ = nullptr;

std::vector<double> oscillation(int n, double scale, double offset)
{
    std::vector<double> xn(static_cast<std::size_t>(n));
    for (int k = 1; k <= n; ++k)
        xn[static_cast<std::size_t>(k - 1)] = offset + scale * (std::sin(0.37 * k) + 0.5 * std::cos(1.3 * k * k));
    return xn;
}

TEST_F(Real_mnist, all_six_fill_methods_give_the_literal_results)
{
    const auto series = oscillation(3001, 1.0, 0.0);
    std::vector<Case> cases;
    for (int method = 1; method <= 6; ++method)
        cases.push_back(run_program("method " + std::to_string(method), method, series));
    compare_with_literal(cases);
}

TEST_F(Real_mnist, unusual_series_and_a_second_epoch_give_the_literal_results)
{
    std::vector<Case> cases;
    cases.push_back(run_program("two epochs", 4, oscillation(19625, 0.5, 0.1), 2));
    cases.push_back(run_program("negative series", 1, oscillation(2000, 2.0, -6.0)));
    cases.push_back(run_program("series far above 100", 1, oscillation(777, 3000.0, 1e5)));
    cases.push_back(run_program("series of length 5", 1, {0.3, -1.2, 2.5, 0.7, -0.4}));
    // Repeated columns of W1: one distinct column, then six.
    cases.push_back(run_program("method 2, N = 785", 2, oscillation(785, 1.0, 0.2)));
    cases.push_back(run_program("method 2, N = 4000", 2, oscillation(4000, 1.0, -0.3)));
    compare_with_literal(cases);
}

}  // namespace
}  // namespace vantel::test

// Networks on datasets loaded by another session, with lean workspaces that
// share one set of sparse images: the same bits as a network with datasets
// and caches of its own, alone or several at once on threads.
#include <omp.h>

#include <thread>

#include <gtest/gtest.h>

#include "base/date_time.h"
#include "support/literal_engine.h"
#include "support/synthetic_engine.h"

namespace vantel::test {
namespace {

// A network reading `owner`'s datasets. Its own datasets hold other images,
// labels and pattern, so reading them by mistake changes the results.
struct Sharing_network {
    explicit Sharing_network(Small_world& owner)
    {
        fill_synthetic_datasets(*program.state, 977);
        program.session.share_datasets(owner.state.datasets);
        Engine_workspace& ws = engine_workspace(program.session);
        ws.counts = Small_counts;
        ws.lean = true;
        ws.sparse_cache = engine_workspace(owner.session).sparse_cache;
        program.session.now = [] { return 0.0; };
    }

    // Steps 5, 7 (two epochs) and 8 on reservoir matrix `seed`.
    void compute(unsigned seed)
    {
        Program_state& state = *program.state;
        fill_random_W1(state, seed);
        reset_output_layer(state);
        state.run.One_second = one_second_units();
        state.run.Epochs = 2;
        for (Control step : {Control::Button_Step_5, Control::Button_Step_7, Control::Button_Step_8})
            program.session.trigger(step);
    }

    Test_program program;
};

void compute_own(Small_world& world, unsigned seed)
{
    fill_random_W1(world.state, seed);
    reset_output_layer(world.state);
    world.state.run.Epochs = 2;
    for (Control step : {Control::Button_Step_5, Control::Button_Step_7, Control::Button_Step_8})
        world.session.trigger(step);
}

TEST(Shared_datasets, a_lean_network_computes_the_bits_of_a_full_one_run_after_run)
{
    Small_world owner(3);
    engine_workspace(owner.session).sparse_cache = std::make_shared<Sparse_image_cache>();
    Sharing_network sharer(owner);

    // A new matrix after the first, then the first again: the lean buffer
    // has to hold raw sums, hidden vectors and raw sums again.
    for (unsigned seed : {3u, 4u, 3u}) {
        const std::string what = "matrix " + std::to_string(seed);
        compute_own(owner, seed);
        sharer.compute(seed);
        expect_same_network(owner.state, *sharer.program.state, what);
        EXPECT_GT(sharer.program.state->run.Correct_count, 0) << what;

        // Step 7 again on the same bounds reuses the hidden vectors; step 5
        // then needs raw sums that the lean buffer no longer holds.
        for (auto* p : {&owner.program, &sharer.program}) {
            reset_output_layer(*p->state);
            p->session.trigger(Control::Button_Step_7);
            p->session.trigger(Control::Button_Step_5);
            p->session.trigger(Control::Button_Step_8);
        }
        expect_same_network(owner.state, *sharer.program.state, what + ", steps again");
    }
    // One set of sparse images for both.
    EXPECT_EQ(engine_workspace(sharer.program.session).sparse, engine_workspace(owner.session).sparse);
}

TEST(Shared_datasets, networks_on_two_threads_get_what_each_gets_alone)
{
    Small_world owner(5);
    engine_workspace(owner.session).sparse_cache = std::make_shared<Sparse_image_cache>();
    Sharing_network first(owner);
    Sharing_network second(owner);
    Sharing_network alone(owner);

    // Both start at once on an empty sparse cache, so they also race to
    // make it.
    std::thread one([&] {
        omp_set_num_threads(1);
        first.compute(11);
    });
    std::thread two([&] {
        omp_set_num_threads(1);
        second.compute(12);
    });
    one.join();
    two.join();

    alone.compute(11);
    expect_same_network(*alone.program.state, *first.program.state, "matrix 11");
    alone.compute(12);
    expect_same_network(*alone.program.state, *second.program.state, "matrix 12");
    EXPECT_NE(first.program.state->run.Correct_count, 0);
    EXPECT_EQ(engine_workspace(first.program.session).sparse, engine_workspace(second.program.session).sparse);
}

}  // namespace
}  // namespace vantel::test

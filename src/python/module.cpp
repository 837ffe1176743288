// The compiled half of the Python package `vantel`: a thin layer over the
// computation API. Arguments arrive as float64 arrays that the package's
// Python half has already checked and converted; this layer releases the
// GIL for all work, lets the interpreter handle Ctrl-C while runs are in
// progress, and turns the engine's errors into Python exceptions.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/version.h"
#include "batch/result_files.h"
#include "engine/run_arguments.h"
#include "python/data_columns.h"
#include "python/series_runs.h"
#include "series/text_readers.h"

namespace py = pybind11;

namespace vantel::python {

namespace {

// The datasets could not be loaded: a file missing, unreadable or damaged.
class Datasets_error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The change from the first to the second value of two epoch counts, as
// the command's records give it: None where it is undefined.
py::object relative_change(const Run_result& first, const Run_result& second)
{
    const std::string text =
        relative_change_text(parse_number(first.value_text), parse_number(second.value_text), '.');
    double change = 0;
    if (std::from_chars(text.data(), text.data() + text.size(), change).ec != std::errc()) return py::none();
    return py::float_(change);
}

// A run's fields by name: the package's Result takes them as keyword
// arguments, so a field added here cannot land in another's place.
py::array_t<double> as_array(const std::vector<double>& values)
{
    return py::array_t<double>(static_cast<py::ssize_t>(values.size()), values.data());
}

// The kind a text names, refused in the words of the package's check.
Surrogate_kind surrogate_kind_of(const std::string& text)
{
    Surrogate_kind kind{};
    if (!parse_surrogate_kind(text, kind))
        throw Vantel_error("surrogate_kind must be \"shuffle\" or \"iaaft\", got \"" + text + "\"");
    return kind;
}

py::object defined(double x)
{
    return std::isnan(x) ? py::none() : py::object(py::float_(x));
}

py::dict result_fields(const Series_run& run, const Surrogate_options& surrogates,
                       const std::vector<std::string>& warnings)
{
    const Run_result& r = run.result;
    py::array_t<double> w2({Neurons + 1, Outputs});
    std::copy(r.w2.begin(), r.w2.end(), w2.mutable_data());
    py::dict fields;
    fields["value"] = r.value;
    fields["value_text"] = r.value_text;
    fields["correct_count"] = r.correct_count;
    fields["tested_count"] = r.tested_count;
    fields["n"] = r.n;
    fields["method"] = r.method;
    fields["epochs"] = r.epochs;
    fields["w2"] = std::move(w2);
    fields["w2_sha256"] = r.w2_sha256;
    fields["datasets_sha256"] = r.datasets_sha256;
    fields["seconds"] = r.seconds;
    fields["warnings"] = py::cast(warnings);
    fields["relative_change"] = py::none();
    fields["scale"] = run.scale;
    fields["surrogates"] = surrogates.count;
    fields["surrogate_kind"] = std::string(surrogate_kind_name(surrogates.kind));
    fields["seed"] = surrogates.seed;
    fields["surrogate_values"] = as_array(run.surrogate_values);
    const bool any = surrogates.count > 0;
    fields["surrogate_mean"] = any ? defined(run.summary.mean) : py::none();
    fields["surrogate_sd"] = any ? defined(run.summary.sd) : py::none();
    fields["z_score"] = any ? defined(run.summary.z_score) : py::none();
    fields["p_value"] = any ? defined(run.summary.p_value) : py::none();
    return fields;
}

// What the runs of a call are, apart from the series.
struct Run_choice {
    std::vector<int> methods;
    std::vector<int> epochs;
    std::vector<int> scales;
    std::string rescale;
    int threads = 1;
    Surrogate_options surrogates;
};

// One loaded set of datasets and the networks that compute on it, kept
// between calls so that a call costs little more than its runs.
class Engine {
public:
    Engine(const std::string& mnist_dir, const std::string& t_pattern)
    {
        std::shared_ptr<const Datasets> datasets;
        {
            const py::gil_scoped_release unlocked;
            try {
                datasets = Datasets::load({mnist_dir, t_pattern});
            } catch (const std::exception& error) {
                throw Datasets_error(error.what());
            }
        }
        networks_ = std::make_shared<Network_pool>(std::move(datasets));
    }

    // Every combination of the series (1-D float64 arrays), methods and
    // epoch counts, in the order series, method, epochs: each run's fields
    // by name. With exactly two epoch counts, the second run of each series
    // and method has the relative change, as the command's record has it.
    py::list run(const py::list& series, const Run_choice& choice, const py::object& progress)
    {
        const bool pairs = choice.epochs.size() == 2;
        const auto results = compute(series, choice, progress);
        std::vector<std::string> warnings;
        if (const std::string& warning = networks_->datasets()->mnist_warning(); !warning.empty())
            warnings.push_back(warning);
        py::list out;
        for (std::size_t i = 0; i < results.size(); ++i) {
            py::dict fields = result_fields(results[i], choice.surrogates, warnings);
            if (pairs && i % 2 == 1)
                fields["relative_change"] = relative_change(results[i - 1].result, results[i].result);
            out.append(std::move(fields));
        }
        return out;
    }

    // The same runs' values alone, as one float64 array in that order.
    py::array_t<double> run_values(const py::list& series, const Run_choice& choice, const py::object& progress)
    {
        const auto results = compute(series, choice, progress);
        py::array_t<double> values(static_cast<py::ssize_t>(results.size()));
        double* out = values.mutable_data();
        for (const Series_run& r : results) *out++ = r.result.value;
        return values;
    }

    std::string mnist_dir() const { return networks_->datasets()->paths().mnist_dir; }
    std::string t_pattern() const { return networks_->datasets()->paths().t_pattern_file; }

private:
    std::vector<Series_run> compute(const py::list& series, const Run_choice& choice, const py::object& progress)
    {
        Series_runs runs;
        runs.methods = choice.methods;
        runs.epochs = choice.epochs;
        runs.scales = choice.scales;
        runs.surrogates = choice.surrogates;
        runs.threads = choice.threads;
        if (!parse_rescale(choice.rescale, runs.rescale))
            throw Vantel_error("rescale must be \"none\", \"minmax\" or \"zscore\", got \"" + choice.rescale + "\"");
        // The arrays stay referenced here while the workers read them.
        std::vector<py::array_t<double, py::array::c_style>> arrays;
        for (const py::handle item : series) {
            auto array = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(item);
            if (!array || array.ndim() != 1) throw py::type_error("each series must be a 1-D array of numbers");
            runs.series.emplace_back(array.data(), static_cast<std::size_t>(array.size()));
            arrays.push_back(std::move(array));
        }

        const auto poll = [&progress](const Runs_progress& p) {
            const py::gil_scoped_acquire locked;
            if (PyErr_CheckSignals() != 0) return false;
            if (progress.is_none()) return true;
            try {
                progress(p.runs_done, p.runs, p.epochs_done, p.epochs, p.seconds);
            } catch (py::error_already_set& error) {
                error.restore();
                return false;
            }
            return true;
        };
        std::vector<Series_run> results;
        try {
            const py::gil_scoped_release unlocked;
            results = compute_series_runs(*networks_, runs, poll);
        } catch (const Runs_interrupted&) {
            throw py::error_already_set();
        }
        return results;
    }

    std::shared_ptr<Network_pool> networks_;
};

// Surrogate `index` of a checked float64 series.
py::array_t<double> surrogate_of(const py::array_t<double, py::array::c_style>& x, const std::string& kind,
                                 std::uint64_t seed, std::size_t index)
{
    const Surrogate_kind which = surrogate_kind_of(kind);
    std::vector<double> made;
    {
        const py::gil_scoped_release unlocked;
        made = surrogate({x.data(), static_cast<std::size_t>(x.size())}, which, seed, index);
    }
    return as_array(made);
}

py::array_t<double> coarse_grained_of(const py::array_t<double, py::array::c_style>& x, int scale)
{
    return as_array(coarse_grained({x.data(), static_cast<std::size_t>(x.size())}, scale));
}

// The package's Columns, by name.
py::dict read_columns(const std::string& path)
{
    Data_columns columns;
    {
        const py::gil_scoped_release unlocked;
        columns = read_data_columns(path);
    }
    py::array_t<double> values({static_cast<py::ssize_t>(columns.rows), static_cast<py::ssize_t>(columns.columns)});
    std::copy(columns.values.begin(), columns.values.end(), values.mutable_data());
    py::dict fields;
    fields["values"] = std::move(values);
    fields["warnings"] = py::cast(columns.warnings);
    return fields;
}

}  // namespace

}  // namespace vantel::python

PYBIND11_MODULE(_vantel, m)
{
    using namespace vantel;
    using namespace vantel::python;
    m.doc() = "The Vantel calculator's computation API (see the package vantel).";
    m.attr("version") = std::string(Program_version);
    m.attr("min_series_length") = Min_series_length;
    m.attr("max_series_length") = Max_series_length;
    m.def("available_cores", &available_cores, "The processors this process may run on.");
    // The engine's one check of a run's arguments, for the package to call
    // before it builds anything from them.
    m.def("method_problem", &method_problem, py::arg("method"));
    m.def("epochs_problem", &epochs_problem, py::arg("epochs"));
    m.def("threads_problem", &threads_problem, py::arg("threads"));

    py::register_exception<Datasets_error>(m, "DatasetError", PyExc_OSError);
    py::register_exception_translator([](std::exception_ptr raised) {
        try {
            if (raised) std::rethrow_exception(raised);
        } catch (const Run_failed& error) {
            PyObject* type = error.cause == Run_failed::Cause::overflow ? PyExc_OverflowError
                             : error.cause == Run_failed::Cause::memory ? PyExc_MemoryError
                                                                        : PyExc_RuntimeError;
            PyErr_SetString(type, error.what());
        } catch (const Vantel_error& error) {
            PyErr_SetString(PyExc_ValueError, error.what());
        }
    });

    m.attr("default_seed") = Default_seed;
    m.attr("max_surrogates") = Max_surrogates;
    m.attr("iaaft_iterations") = Iaaft_iterations;
    m.def("surrogates_problem", &surrogates_problem, py::arg("count"));
    m.def("scale_problem", &scale_problem, py::arg("length"), py::arg("scale"));
    m.def("surrogate", &surrogate_of, py::arg("x"), py::arg("kind"), py::arg("seed"), py::arg("index"));
    m.def("coarse_grained", &coarse_grained_of, py::arg("x"), py::arg("scale"));
    py::class_<Run_choice>(m, "RunChoice")
        .def(py::init([](std::vector<int> methods, std::vector<int> epochs, std::vector<int> scales,
                         std::string rescale, int threads, int surrogates, const std::string& kind,
                         std::uint64_t seed) {
                 return Run_choice{std::move(methods), std::move(epochs), std::move(scales), std::move(rescale),
                                   threads,
                                   {.count = surrogates, .kind = surrogate_kind_of(kind), .seed = seed}};
             }),
             py::arg("methods"), py::arg("epochs"), py::arg("scales"), py::arg("rescale"), py::arg("threads"),
             py::arg("surrogates"), py::arg("surrogate_kind"), py::arg("seed"));
    py::class_<Engine>(m, "Engine")
        .def(py::init<const std::string&, const std::string&>(), py::arg("mnist_dir"), py::arg("t_pattern"))
        .def("run", &Engine::run, py::arg("series"), py::arg("choice"), py::arg("progress"))
        .def("run_values", &Engine::run_values, py::arg("series"), py::arg("choice"), py::arg("progress"))
        .def_property_readonly("mnist_dir", &Engine::mnist_dir)
        .def_property_readonly("t_pattern", &Engine::t_pattern);
    m.def("read_columns", &read_columns, py::arg("path"));
    m.def("window_starts", &window_starts, py::arg("length"), py::arg("window"), py::arg("step"));
}

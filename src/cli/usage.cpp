// The text of --help.
#include "cli/options.h"

namespace vantel::cli {

const char* const Usage = R"(usage: vantel FILE... [options]
       vantel --batch DIR [--init FILE] [--output DIR] [--threads T] [--mnist DIR] [--tpattern FILE]

Computes the Vantel value of columns of tab-separated data files, as the
window's START does, for every combination of file, column, method, series
(window) and epoch count. The datasets are loaded once; the runs are spread
over the threads. FILE may be - for standard input.

What a run does: the series fills the 785 x 25 = 19625 weights of the hidden
layer W1 by one of six fill methods; the network is trained on the 60000
MNIST-10 training images and tested on the 10000 test images; the share
classified right (0.0000 to 1.0000) is the value.
  fill methods 1..3 fill W1 neuron by neuron (column by column), 4..6 input
  by input (row by row); 1 and 4 start the series again when it runs out,
  2 and 5 leave the rest of a neuron's (input's) weights 0 and start again at
  the next one, 3 and 6 stretch the series over all 19625 weights, drawing
  straight lines between its values. At N = 19625 the series fills W1 once
  and methods 1..3 coincide, as do 4..6; below that they differ.
The value depends on the series' scale and offset, not only on its shape,
since the values become the weights themselves (see --rescale). It rises
with the epochs and levels off; compare series only at the same epochs and
method. 100 epochs take a few seconds per series on two cores.

Each option is given once (--columns, --epochs, --method and --scales take lists).

options for data files:
  --columns all|LIST  columns to take, from 1: all of them, or a list such as 1,3-5 (default 1);
                      --column C is the same
  --epochs LIST       training epochs, 1 to 100000, one count or several such as 5,10,20
                      (default 100); several counts of a series are trained once, to the
                      largest, and the network is tested at each count; with exactly two
                      counts the relative change (E2 value - E1 value) / E2 value is reported
  --curve             one record per epoch from 1 to the (one) --epochs count: the learning
                      curve, at about the cost of one run
  --n N               series length, 5..19625 and at most the lines from --start on
                      (default: every line from --start on, up to 19625)
  --start S           the line of the series' first value (default 1)
  --window W          one run for each window of W values (5..19625) starting at line
                      S, S + STEP, S + 2 STEP, ... while the window fits in the file
  --step STEP         lines from one window's start to the next (default: W, side by side)
  --rescale R         none (default: the window's values), minmax (the values used mapped
                      onto [0, 1]) or zscore (mean 0, population standard deviation 1), in
                      double arithmetic; a constant series cannot be rescaled. Use minmax or
                      zscore to compare series recorded in different units or offsets.
  --method M|all      fill method of the reservoir matrix, 1..6, a list, or all (default 5)
  --scales LIST       multiscale values: each series coarse-grained at each scale S, such as
                      1-10 or 1,2,4,8 (default 1), into the means of its consecutive blocks
                      of S values (added left to right, divided by S; a last incomplete
                      block dropped), then rescaled as --rescale says. Scale 1 is the series
                      itself; a scale that leaves fewer than 5 values is refused
  --surrogates K      compute K surrogate series (1 to 10000) beside each series, each a run
                      of its own on the threads, and report their values, their mean and
                      standard deviation, the value's z-score (value - mean) / sd and its
                      two-sided rank p-value (1 + the surrogates at least as far from their
                      mean as the value) / (K + 1)
  --surrogate-kind KIND  shuffle (default: a random permutation, the same values in another
                      order) or iaaft (the same values and nearly the same power spectrum:
                      from a shuffle, at most 1000 iterations of giving it the series'
                      Fourier amplitudes and then the series' values by rank, stopping when
                      the ranks no longer change)
  --seed S            the surrogates' random seed, 0 to 18446744073709551615 (default 1);
                      the same seed gives the same surrogates here and in the Python module
  --strict            refuse (as a failed run) a series with any warning: fields that are not
                      numbers, a file that seems to separate its columns otherwise than by
                      tabs, or lines of differing field counts
  --format F          text (default), csv, json or jsonl; --json is --format json
                      text: the value alone for one run (without surrogates), else a table
                      with a header line
                      csv, json, jsonl: one record per run (see the README for the fields)
  --output PATH       write the output to PATH instead of standard output (- is standard
                      output); csv and jsonl records are appended as runs finish, json and
                      text are written whole at the end. A file that is not empty is
                      replaced only with --overwrite
  --resume            with --output: keep the records already in PATH and compute only the
                      runs that have no record with a value there
  --overwrite         with --output: replace what PATH holds

--batch DIR does what "Open All Files" does for the data folder DIR: every
"*.txt" file is computed by the all-columns batch with the epoch counts, the
method and N of the init file (lines 1, 2, 4 and 5), and gets its run log in
"Results" and its batch result in "DATA_RESULT" of the program folder; a file
whose first line is "TURBO" is not computed. The paths written are printed.
  --init FILE         the init file (default: init.txt next to the program)
  --output DIR        the folder that receives "Results" and "DATA_RESULT"

common options:
  --threads T         threads in all, 1 to 1024 (default: every core this process may use)
  --mnist DIR         folder of the four MNIST-10 files (default: MNIST_10 next to the
                      program, or the folder of init line 6 with --batch)
  --tpattern FILE     the T-pattern file (default: T_pattern/T-pattern-3.VM next to the program)
  --version           the program's version
  --help              show this text

What the z-score and p-value say: a shuffle keeps the values and destroys
their order, so a value far from its shuffles' (a large |z|, a small p)
differs because of the order of the values alone, not their distribution;
against iaaft surrogates, because of an order the power spectrum (the linear
correlations) does not explain. They do not say that a series is random or
deterministic, nor compare two series; p is never below 1 / (K + 1).

Warnings on a series (fields read as 0 because they are not numbers, odd
separators, ragged lines) go to standard error and into each record. While
standard error is a terminal a progress line shows the runs done, the time
passed and the time left. Ctrl-C (or a SIGTERM) stops the runs in progress at
their next image, keeps every finished record and ends with status 130; a
second one ends the program at once.
Exit status: 0 on success; 1 when a run or a file failed (reported on
standard error); 2 for bad arguments or files, with one line per problem,
before any work starts; 130 after Ctrl-C.
)";

}  // namespace vantel::cli

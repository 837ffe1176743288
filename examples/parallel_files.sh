#!/bin/sh
# Every data file of a folder in a vantel process of its own, spread by GNU
# parallel over the cores of this machine. The same line spreads them over
# several machines with --sshloginfile FILE (one "cores/host" per line;
# vantel and the files must be at the same paths there, on a shared file
# system for instance).
#
#   examples/parallel_files.sh DATA_FOLDER RESULT_FOLDER [EPOCHS]
#
# Each data file gets RESULT_FOLDER/<name>.csv, one record per run. The job
# log lets the same command resume an interrupted collection: files already
# done are not computed again, and --resume computes only the runs that a
# file cut short lacks. VANTEL names the program (default: vantel on
# the PATH).
set -eu
data=${1:?data folder}
results=${2:?result folder}
epochs=${3:-100,200}
vantel=${VANTEL:-vantel}
mkdir -p "$results"

find "$data" -maxdepth 1 -name '*.txt' -type f | sort |
    parallel --jobs 100% --joblog "$results/joblog.txt" --resume-failed \
        "$vantel" {} --columns all --epochs "$epochs" --threads 1 --format csv --output "$results/{/.}.csv" --resume

#!/bin/bash
# A Slurm job array: task i computes line i of a task list, either a data
# folder (one "vantel --batch", with the init file's epochs, method and N) or
# a single data file (every column, as CSV).
#
#   find /data/recordings -name '*.txt' | sort > tasks.txt      # or folders
#   sbatch --array=0-$(( $(wc -l < tasks.txt) - 1 ))%50 examples/slurm_array.sh tasks.txt results
#
# A task uses the cores Slurm gives it (a process needs about 110 MB and
# 20 MB more per thread); results land in RESULTS, one file per task. A
# task run again (requeued, or after a time limit) computes only what its
# file lacks. EPOCHS (default 100,200) sets the epoch counts
# of data files, INIT the init file of folders, VANTEL the program. Outside
# Slurm the script runs one task:
#   SLURM_ARRAY_TASK_ID=3 examples/slurm_array.sh tasks.txt results
#SBATCH --job-name=vantel
#SBATCH --cpus-per-task=4
#SBATCH --mem=512M
#SBATCH --time=12:00:00
#SBATCH --output=vantel-%A_%a.log
set -euo pipefail
tasks=${1:?task list}
results=${2:?result folder}
epochs=${EPOCHS:-100,200}
vantel=${VANTEL:-vantel}
task=${SLURM_ARRAY_TASK_ID:?the task number}
threads=${SLURM_CPUS_PER_TASK:-1}

item=$(sed -n "$((task + 1))p" "$tasks")
[ -n "$item" ] || { echo "no line $((task + 1)) in $tasks" >&2; exit 2; }

if [ -d "$item" ]; then
    # Results/ and DATA_RESULT/ of this folder's batch, apart from the others.
    out="$results/$(basename "$item")"
    mkdir -p "$out"
    exec "$vantel" --batch "$item" ${INIT:+--init "$INIT"} --output "$out" --threads "$threads"
else
    mkdir -p "$results"
    exec "$vantel" "$item" --columns all --epochs "$epochs" --threads "$threads" \
        --format csv --output "$results/$(basename "$item" .txt).csv" --resume
fi

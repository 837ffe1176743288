// The init file as the command checks it before a batch. The window reads
// the same six lines leniently at the moment it needs each one and corrects
// what it reads; a command that runs unattended refuses a file whose lines
// do not hold what they must, instead of running with defaults in silence.
//
//   line 1, 2  the epochs of each column's first and second run: a whole
//              number of 1 or more (the integer reader's forms, the whole
//              line being the number)
//   line 3     AUTO=NO or AUTO=YES
//   line 4     METHOD=1 .. METHOD=6
//   line 5     N= and a whole number from 5 to 19625
//   line 6     Path= and the MNIST folder (Path= alone: MNIST_10/ next to
//              the program)
// Lines after the sixth are allowed and ignored. Every comparison is exact:
// whole line, case-sensitive, no trimming.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vantel {

inline constexpr std::size_t Init_file_lines = 6;

// One message per line that does not hold what it must, in line order, and
// one more when the file has fewer than six lines; empty for a sound file.
// Each names the file by `path`, the line as an editor counts it (from 1),
// what the line holds and what is expected there.
std::vector<std::string> init_file_problems(const std::string& path, const std::vector<std::string>& lines);

}  // namespace vantel

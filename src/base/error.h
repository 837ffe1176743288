// The error type of the whole program: its text is what the user reads, in
// the window's general error display or on the command's standard error.
#pragma once

#include <stdexcept>

namespace vantel {

class Vantel_error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The arithmetic of a step left the double range; the step's button is
// enabled again, so that the user can retry once the series has changed.
class Overflow_error : public Vantel_error {
public:
    Overflow_error() : Vantel_error("Floating point overflow") {}
};

}  // namespace vantel

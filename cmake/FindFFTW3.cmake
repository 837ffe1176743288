# FFTW 3 (double precision), the Fourier transforms of the iaaft surrogates:
# defines the imported target FFTW3::fftw3. Debian's libfftw3-dev ships no
# CMake package of its own.
find_path(FFTW3_INCLUDE_DIR fftw3.h)
find_library(FFTW3_LIBRARY NAMES fftw3)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(FFTW3 REQUIRED_VARS FFTW3_LIBRARY FFTW3_INCLUDE_DIR)
if(FFTW3_FOUND AND NOT TARGET FFTW3::fftw3)
  add_library(FFTW3::fftw3 UNKNOWN IMPORTED)
  set_target_properties(FFTW3::fftw3 PROPERTIES IMPORTED_LOCATION "${FFTW3_LIBRARY}"
                        INTERFACE_INCLUDE_DIRECTORIES "${FFTW3_INCLUDE_DIR}")
endif()
mark_as_advanced(FFTW3_INCLUDE_DIR FFTW3_LIBRARY)

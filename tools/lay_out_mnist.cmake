# Copies the four MNIST-10 files from the set-up's cache into the program
# folder when they are there; without them the build goes on, and the
# programs and tests that need the files say which one is missing.
#   cmake -DCACHE=<folder> -DTARGET=<program folder>/MNIST_10 -P lay_out_mnist.cmake
foreach(name train-images.idx3-ubyte train-labels.idx1-ubyte t10k-images.idx3-ubyte t10k-labels.idx1-ubyte)
  if(EXISTS "${CACHE}/${name}")
    file(MAKE_DIRECTORY "${TARGET}")
    file(COPY_FILE "${CACHE}/${name}" "${TARGET}/${name}" ONLY_IF_DIFFERENT)
  else()
    message(STATUS "MNIST-10 file ${CACHE}/${name} is not there; 'make setup' fetches it")
  endif()
endforeach()

# cmake -DBUILD_DIR=... -DWORK_DIR=... -DCONSUMER_DIR=... -DAPP_DIR=...
#       -DGENERATOR=... -DCXX_COMPILER=... -P install_and_build.cmake
# Run by ctest (see CMakeLists.txt here). WORK_DIR is emptied first and
# removed when everything passed.
set(method 3)
set(epochs 1)

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what} failed (${status}):\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

run("Installing" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
run("Configuring the consumer" ${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/consumer -G ${GENERATOR}
    -DCMAKE_CXX_COMPILER=${CXX_COMPILER} -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=RelWithDebInfo)
run("Building the consumer" ${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)

# The consumer writes the series it computes, for the command to read.
set(series ${WORK_DIR}/series.txt)
run("The consumer" ${WORK_DIR}/consumer/consumer ${prefix}/${APP_DIR}/MNIST_10/
    ${prefix}/${APP_DIR}/T_pattern/T-pattern-3.VM ${series} ${method} ${epochs})
string(STRIP "${out}" out)
string(REPLACE "\n" ";" consumer "${out}")

# The installed command, started through its link in bin/, finds its
# program folder and the MNIST-10 files there.
run("The installed command" ${prefix}/bin/vantel ${series} --method ${method} --epochs ${epochs} --format json)
string(JSON value_text GET "${out}" 0 value_text)
string(JSON correct_count GET "${out}" 0 correct_count)
string(JSON w2_sha256 GET "${out}" 0 w2_sha256)
string(JSON version GET "${out}" 0 version)
set(command "${version};${value_text};${correct_count};${w2_sha256}")
if(NOT consumer STREQUAL command)
  message(FATAL_ERROR "the consumer computed (version, value, correct count, W2 fingerprint)\n  ${consumer}\n"
                      "the installed command\n  ${command}")
endif()
message(STATUS "Both give ${command}")
file(REMOVE_RECURSE ${WORK_DIR})

# What `cmake --install` puts under the prefix:
#   lib/vantel/           the program folder: vantel_calculator and vantel
#                         beside MNIST_10/, T_pattern/, init.txt, DATA/,
#                         Results/ and DATA_RESULT/, as the build lays it out
#                         in build/bin/ (component Runtime)
#   bin/                  vantel and vantel_calculator, links into the program
#                         folder, which the programs find through their own path
#   lib/, include/vantel/ the engine library, what it links and its public
#                         headers (component Development)
#   lib/cmake/Vantel/     the CMake package: find_package(Vantel), then
#                         target_link_libraries(app PRIVATE Vantel::engine)
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(VANTEL_INSTALL_APP_DIR ${CMAKE_INSTALL_LIBDIR}/vantel CACHE STRING
    "The program folder under the installation prefix")
set(VANTEL_INSTALL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Vantel)
set(VANTEL_INSTALL_INCLUDE_DIR ${CMAKE_INSTALL_INCLUDEDIR}/vantel)

# The public headers: engine/vantel.h and every header of this project that it
# includes, relative to src/. base/version.h, written by the build, comes too.
set(VANTEL_PUBLIC_HEADERS
    engine/vantel.h
    engine/network_shape.h
    engine/rescaling.h
    engine/run_arguments.h
    engine/surrogates.h
    engine/multiscale.h
    base/error.h)

# --- The program folder --------------------------------------------------

install(TARGETS vantel vantel_calculator
        RUNTIME DESTINATION ${VANTEL_INSTALL_APP_DIR} COMPONENT Runtime)
install(FILES ${PROJECT_SOURCE_DIR}/defaults/init.txt
        DESTINATION ${VANTEL_INSTALL_APP_DIR} COMPONENT Runtime)
install(FILES ${PROJECT_SOURCE_DIR}/defaults/T-pattern-3.VM
        DESTINATION ${VANTEL_INSTALL_APP_DIR}/T_pattern COMPONENT Runtime)
install(DIRECTORY ${VANTEL_APP_DIR}/DATA
        DESTINATION ${VANTEL_INSTALL_APP_DIR} COMPONENT Runtime)
# The MNIST-10 files as the build laid them out from the set-up's cache; a
# build without them installs a folder without them, as it runs without them.
install(DIRECTORY ${VANTEL_APP_DIR}/MNIST_10
        DESTINATION ${VANTEL_INSTALL_APP_DIR} COMPONENT Runtime OPTIONAL)
install(DIRECTORY DESTINATION ${VANTEL_INSTALL_APP_DIR}/Results COMPONENT Runtime)
install(DIRECTORY DESTINATION ${VANTEL_INSTALL_APP_DIR}/DATA_RESULT COMPONENT Runtime)

# bin/ holds relative links, so that the prefix can be chosen at install time
# (cmake --install --prefix) and the installed tree moved.
file(RELATIVE_PATH app_from_bin /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${VANTEL_INSTALL_APP_DIR})
foreach(program vantel vantel_calculator)
  install(CODE "
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\")
    message(STATUS \"Installing: \${link}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(CREATE_LINK \"${app_from_bin}/${program}\" \"\${link}\" SYMBOLIC)"
    COMPONENT Runtime)
endforeach()

# --- The engine library and its CMake package ----------------------------

# What a program that links the engine needs to compile its header.
target_compile_features(vantel_base PUBLIC cxx_std_20)
set_target_properties(vantel_base PROPERTIES EXPORT_NAME base)
set_target_properties(vantel_engine PROPERTIES EXPORT_NAME engine)
install(TARGETS vantel_engine vantel_base EXPORT VantelTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development
        INCLUDES DESTINATION ${VANTEL_INSTALL_INCLUDE_DIR})
foreach(header ${VANTEL_PUBLIC_HEADERS})
  get_filename_component(folder ${header} DIRECTORY)
  install(FILES ${PROJECT_SOURCE_DIR}/src/${header}
          DESTINATION ${VANTEL_INSTALL_INCLUDE_DIR}/${folder} COMPONENT Development)
endforeach()
install(FILES ${VANTEL_GENERATED_DIR}/base/version.h
        DESTINATION ${VANTEL_INSTALL_INCLUDE_DIR}/base COMPONENT Development)

install(EXPORT VantelTargets NAMESPACE Vantel:: DESTINATION ${VANTEL_INSTALL_CMAKE_DIR}
        COMPONENT Development)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/VantelConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/VantelConfig.cmake
                              INSTALL_DESTINATION ${VANTEL_INSTALL_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/VantelConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/VantelConfig.cmake ${PROJECT_BINARY_DIR}/VantelConfigVersion.cmake
              ${PROJECT_SOURCE_DIR}/cmake/FindFFTW3.cmake
        DESTINATION ${VANTEL_INSTALL_CMAKE_DIR} COMPONENT Development)

# Installed-package consumer test, run by ctest as
#
#   cmake -DSTEP=Install|FindPackage|PkgConfig -DSETTINGS=<build>/package-consumer/settings-<config>.cmake
#         -P run_consumer_test.cmake
#
# SETTINGS is written by the top-level CMakeLists.txt: the outer build's directories, generator,
# compiler, flags and target file names.
#   Install      installs the build into <build>/package-prefix, checks the installed files and runs
#                the installed mgt2orvo on the example (its RPATH must find the library).
#   FindPackage  configures and builds tests/package with find_package(midas2orvo) against the prefix
#                and runs the host program on the example.
#   PkgConfig    compiles the same host.cpp with the flags pkg-config gives for midas2orvo.pc and runs
#                it; skipped when pkg-config is not installed.
cmake_minimum_required(VERSION 3.20)

if(NOT DEFINED STEP OR NOT DEFINED SETTINGS)
  message(FATAL_ERROR "usage: cmake -DSTEP=Install|FindPackage|PkgConfig -DSETTINGS=<file> -P ${CMAKE_CURRENT_LIST_FILE}")
endif()
if(NOT EXISTS "${SETTINGS}")
  message(FATAL_ERROR "settings file ${SETTINGS} not found: configure the outer build first")
endif()
include("${SETTINGS}")

# Nothing from the caller's environment may redirect the install or the look-ups.
unset(ENV{DESTDIR})
unset(ENV{PKG_CONFIG_SYSROOT_DIR})

set(EXPECTED_NODES 7)
set(EXPECTED_LINES 6)

# Runs a command, echoes its output and fails the test when its exit status is not 0.
function(run_checked what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT out STREQUAL "")
    message("${out}")
  endif()
  if(NOT err STREQUAL "")
    message("${err}")
  endif()
  if(NOT status EQUAL 0)
    list(JOIN ARGN " " command_line)
    message(FATAL_ERROR "${what} failed (${status}): ${command_line}")
  endif()
  set(run_output "${out}" PARENT_SCOPE)
endfunction()

# Runs the host program on the example and checks the counts it prints.
function(check_host program)
  if(NOT EXISTS "${program}")
    message(FATAL_ERROR "host program ${program} was not built")
  endif()
  run_checked("host program" "${program}" "${EXAMPLE}")
  if(NOT run_output MATCHES "(^|\n)nodes ${EXPECTED_NODES}\n" OR NOT run_output MATCHES "(^|\n)lines ${EXPECTED_LINES}\n")
    message(FATAL_ERROR "expected ${EXPECTED_NODES} nodes and ${EXPECTED_LINES} lines from ${EXAMPLE}, got:\n${run_output}")
  endif()
  message(STATUS "host program: ${EXPECTED_NODES} nodes, ${EXPECTED_LINES} lines")
endfunction()

# True when path lies inside directory (both resolved).
function(inside_directory result path directory)
  file(REAL_PATH "${path}" path)
  file(REAL_PATH "${directory}" directory)
  string(FIND "${path}/" "${directory}/" position)
  if(position EQUAL 0)
    set(${result} TRUE PARENT_SCOPE)
  else()
    set(${result} FALSE PARENT_SCOPE)
  endif()
endfunction()

set(config_args "")
if(MULTI_CONFIG)
  set(config_args --config "${CONFIG}")
endif()

if(STEP STREQUAL "Install")
  # ctest runs after the build: what is installed must exist already.
  foreach(built IN ITEMS "${LIBRARY_FILE}" "${TOOL_FILE}")
    if(NOT EXISTS "${built}")
      message(FATAL_ERROR "${built} has not been built: build the project before running ctest")
    endif()
  endforeach()

  file(REMOVE_RECURSE "${PREFIX}")
  # cmake --install rewrites <build>/install_manifest.txt; keep the one of a real install.
  set(manifest "${BINARY_DIR}/install_manifest.txt")
  set(saved_manifest "${WORK_DIR}/install_manifest.txt.saved")
  file(REMOVE "${saved_manifest}")
  if(EXISTS "${manifest}")
    file(MAKE_DIRECTORY "${WORK_DIR}")
    file(RENAME "${manifest}" "${saved_manifest}")
  endif()
  execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BINARY_DIR}" --prefix "${PREFIX}" ${config_args}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(EXISTS "${saved_manifest}")
    file(RENAME "${saved_manifest}" "${manifest}")
  else()
    file(REMOVE "${manifest}")
  endif()
  message("${out}${err}")
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install into ${PREFIX} failed (${status})")
  endif()

  set(expected
    "${BINDIR}/${TOOL_NAME}"
    "${INCLUDEDIR}/MIDAStranslatetoOrvo.h"
    "${LIBDIR}/cmake/midas2orvo/midas2orvoConfig.cmake"
    "${LIBDIR}/cmake/midas2orvo/midas2orvoConfigVersion.cmake"
    "${LIBDIR}/cmake/midas2orvo/midas2orvoTargets.cmake"
    "${LIBDIR}/pkgconfig/midas2orvo.pc")
  foreach(name IN LISTS LIBRARY_NAMES)
    list(APPEND expected "${LIBDIR}/${name}")
  endforeach()
  file(GLOB public_headers RELATIVE "${SOURCE_DIR}/include" "${SOURCE_DIR}/include/midas2orvo/*.h")
  foreach(header IN LISTS public_headers)
    list(APPEND expected "${INCLUDEDIR}/${header}")
  endforeach()
  set(missing "")
  foreach(file IN LISTS expected)
    if(NOT EXISTS "${PREFIX}/${file}")
      list(APPEND missing "${file}")
    endif()
  endforeach()
  if(missing)
    list(JOIN missing "\n  " missing)
    message(FATAL_ERROR "not installed into ${PREFIX}:\n  ${missing}")
  endif()

  # Neither the static library nor test, benchmark or fuzz programs belong in the package.
  file(GLOB_RECURSE installed RELATIVE "${PREFIX}" "${PREFIX}/*")
  set(unwanted "")
  foreach(file IN LISTS installed)
    get_filename_component(name "${file}" NAME)
    if(name STREQUAL STATIC_NAME OR name STREQUAL TEST_NAME OR name MATCHES "^(fuzz_|bench_)|_test(\\.exe)?$")
      list(APPEND unwanted "${file}")
    endif()
  endforeach()
  if(unwanted)
    list(JOIN unwanted "\n  " unwanted)
    message(FATAL_ERROR "installed but not part of the package:\n  ${unwanted}")
  endif()

  # The installed tool must find the installed library through its RPATH.
  run_checked("installed mgt2orvo" "${PREFIX}/${BINDIR}/${TOOL_NAME}" "${EXAMPLE}")
  if(NOT run_output MATCHES "nodes +${EXPECTED_NODES}\n" OR NOT run_output MATCHES "lines +${EXPECTED_LINES}\n")
    message(FATAL_ERROR "installed mgt2orvo printed unexpected counts:\n${run_output}")
  endif()
  message(STATUS "installed ${PREFIX}; installed mgt2orvo runs")

elseif(STEP STREQUAL "FindPackage")
  set(dir "${WORK_DIR}/find-package")
  file(REMOVE_RECURSE "${dir}")
  set(configure_args -S "${SOURCE_DIR}/tests/package" -B "${dir}" -G "${GENERATOR}"
    "-DCMAKE_CXX_COMPILER=${CXX_COMPILER}"
    "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}"
    "-DCMAKE_EXE_LINKER_FLAGS=${EXE_LINKER_FLAGS}"
    "-DCMAKE_PREFIX_PATH=${PREFIX}"
    -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF)
  if(GENERATOR_PLATFORM)
    list(APPEND configure_args -A "${GENERATOR_PLATFORM}")
  endif()
  if(GENERATOR_TOOLSET)
    list(APPEND configure_args -T "${GENERATOR_TOOLSET}")
  endif()
  if(MAKE_PROGRAM)
    list(APPEND configure_args "-DCMAKE_MAKE_PROGRAM=${MAKE_PROGRAM}")
  endif()
  if(TOOLCHAIN_FILE)
    list(APPEND configure_args "-DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN_FILE}")
  endif()
  if(CXX_LAUNCHER)
    list(APPEND configure_args "-DCMAKE_CXX_COMPILER_LAUNCHER=${CXX_LAUNCHER}")
  endif()
  if(NOT MULTI_CONFIG)
    list(APPEND configure_args "-DCMAKE_BUILD_TYPE=${CONFIG}")
  endif()
  if(CONFIG)
    string(TOUPPER "${CONFIG}" config_upper)
    list(APPEND configure_args "-DCMAKE_CXX_FLAGS_${config_upper}=${CXX_CONFIG_FLAGS}")
  endif()

  # A newer major version must be refused (version file, SameMajorVersion).
  string(REGEX MATCH "^[0-9]+" major "${VERSION}")
  math(EXPR next_major "${major} + 1")
  execute_process(COMMAND "${CMAKE_COMMAND}" ${configure_args} -DMIDAS2ORVO_HOST_MIN_VERSION=${next_major}.0
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(status EQUAL 0)
    message(FATAL_ERROR "find_package(midas2orvo ${next_major}.0) accepted version ${VERSION}:\n${out}${err}")
  endif()
  file(REMOVE_RECURSE "${dir}")

  run_checked("configuring tests/package" "${CMAKE_COMMAND}" ${configure_args}
    "-DMIDAS2ORVO_HOST_MIN_VERSION=${VERSION}")
  file(STRINGS "${dir}/CMakeCache.txt" found_dir REGEX "^midas2orvo_DIR:")
  string(REGEX REPLACE "^[^=]*=" "" found_dir "${found_dir}")
  inside_directory(found_in_prefix "${found_dir}" "${PREFIX}")
  if(NOT found_in_prefix)
    message(FATAL_ERROR "find_package(midas2orvo) used ${found_dir}, not the package in ${PREFIX}")
  endif()
  run_checked("building tests/package" "${CMAKE_COMMAND}" --build "${dir}" ${config_args})

  set(host "")
  foreach(candidate IN ITEMS "${dir}/${CONFIG}/midas2orvo_host" "${dir}/${CONFIG}/midas2orvo_host.exe"
                             "${dir}/midas2orvo_host" "${dir}/midas2orvo_host.exe")
    if(NOT host AND EXISTS "${candidate}" AND NOT IS_DIRECTORY "${candidate}")
      set(host "${candidate}")
    endif()
  endforeach()
  check_host("${host}")

elseif(STEP STREQUAL "PkgConfig")
  if(NOT PKG_CONFIG OR NOT EXISTS "${PKG_CONFIG}")
    message("SKIPPED: pkg-config is not installed")
    return()
  endif()
  if(CXX_FRONTEND STREQUAL "MSVC")
    message("SKIPPED: the compiler does not take pkg-config (Unix-style) flags")
    return()
  endif()
  set(dir "${WORK_DIR}/pkg-config")
  file(REMOVE_RECURSE "${dir}")
  file(MAKE_DIRECTORY "${dir}")
  set(ENV{PKG_CONFIG_PATH} "${PREFIX}/${LIBDIR}/pkgconfig")

  run_checked("pkg-config --modversion" "${PKG_CONFIG}" --modversion midas2orvo)
  string(STRIP "${run_output}" pc_version)
  if(NOT pc_version STREQUAL VERSION)
    message(FATAL_ERROR "midas2orvo.pc says version ${pc_version}, the project is ${VERSION}")
  endif()
  run_checked("pkg-config --variable=libdir" "${PKG_CONFIG}" --variable=libdir midas2orvo)
  string(STRIP "${run_output}" pc_libdir)
  inside_directory(libdir_in_prefix "${pc_libdir}" "${PREFIX}")
  if(NOT libdir_in_prefix)
    message(FATAL_ERROR "midas2orvo.pc gives libdir ${pc_libdir}, outside ${PREFIX}")
  endif()
  run_checked("pkg-config --cflags --libs" "${PKG_CONFIG}" --cflags --libs midas2orvo)
  string(STRIP "${run_output}" pc_flags)
  separate_arguments(pc_flags UNIX_COMMAND "${pc_flags}")
  separate_arguments(cxx_flags UNIX_COMMAND "${CXX_FLAGS} ${CXX_CONFIG_FLAGS}")
  separate_arguments(link_flags UNIX_COMMAND "${EXE_LINKER_FLAGS}")

  set(host "${dir}/midas2orvo_host")
  run_checked("compiling host.cpp with pkg-config flags" "${CXX_COMPILER}" ${CXX_STANDARD_OPTION} ${cxx_flags}
    "${SOURCE_DIR}/tests/package/host.cpp" -o "${host}" ${pc_flags} ${link_flags} "-Wl,-rpath,${pc_libdir}")
  check_host("${host}")

else()
  message(FATAL_ERROR "unknown STEP ${STEP} (Install, FindPackage or PkgConfig)")
endif()

# Installed-package consumer test, run by ctest with the arguments the top-level CMakeLists.txt gives.
# Install installs the build into <build>/package-prefix and runs the installed mgt2orvo (its RPATH must
# find the installed library); FindPackage and PkgConfig build host.cpp against that prefix, through
# find_package(midas2orvo VERSION) and through pkg-config (skipped without it), and run it; the pkg-config
# host is built with g++ and with clang++ where both are present.
cmake_minimum_required(VERSION 3.20)
unset(ENV{DESTDIR})  # nothing from the caller's environment may redirect the install or the look-ups
unset(ENV{PKG_CONFIG_SYSROOT_DIR})
set(prefix "${BUILD}/package-prefix")
set(work "${BUILD}/package-consumer/${STEP}")
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${work}")

# Runs a command and fails the test, with its output, unless it exits with 0; the output goes to `out`.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    list(JOIN ARGN " " command)
    message(FATAL_ERROR "${command} failed (${status}):\n${out}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

# Runs program on the example, whose 7 nodes and 6 members it must print; the words after the program (an
# environment to set, say) go before it. A Windows host finds the DLL beside itself, where a host
# application ships it.
string(REPLACE "|" ";" EMULATOR "${EMULATOR}")
function(check_counts program)
  get_filename_component(directory "${program}" DIRECTORY)
  if(EXE STREQUAL ".exe" AND NOT directory STREQUAL "${prefix}/${BINDIR}")
    file(COPY "${prefix}/${BINDIR}/midas2orvo.dll" DESTINATION "${directory}")
  endif()
  run(${ARGN} ${EMULATOR} "${program}${EXE}" "${SOURCE}/examples/portal-frame.mgt")
  if(NOT out MATCHES "nodes +7\n" OR NOT out MATCHES "lines +6\n")
    message(FATAL_ERROR "${program} printed unexpected counts:\n${out}")
  endif()
endfunction()

if(STEP STREQUAL "Install")
  # cmake --install rewrites <build>/install_manifest.txt: the one of a real install is put back.
  file(REMOVE_RECURSE "${prefix}")
  file(GLOB manifest "${BUILD}/install_manifest.txt")
  if(manifest)
    file(RENAME "${manifest}" "${work}/install_manifest.txt")
  endif()
  execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${prefix}" --config "${CONFIG}"
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  file(REMOVE "${BUILD}/install_manifest.txt")
  if(manifest)
    file(RENAME "${work}/install_manifest.txt" "${manifest}")
  endif()
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install into ${prefix} failed (${status}):\n${out}")
  endif()
  check_counts("${prefix}/${BINDIR}/mgt2orvo")
  foreach(file "${MANDIR}/man1/mgt2orvo.1" "${DATADIR}/bash-completion/completions/mgt2orvo")
    if(NOT EXISTS "${prefix}/${file}")
      message(FATAL_ERROR "the install left out ${prefix}/${file}")
    endif()
  endforeach()
elseif(STEP STREQUAL "FindPackage")
  run("${CMAKE_COMMAND}" -S "${SOURCE}/tests/package" -B "${work}" -G "${GENERATOR}" "-DCMAKE_MAKE_PROGRAM=${MAKE}"
    "-DCMAKE_CXX_COMPILER=${CXX}" "-DCMAKE_CXX_FLAGS=${FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${LINK_FLAGS}"
    "-DCMAKE_BUILD_TYPE=${CONFIG}" "-DCMAKE_PREFIX_PATH=${prefix}" -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF
    "-DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}"
    -DMIDAS2ORVO_HOST_VERSION=${VERSION})
  string(FIND "${out}" "midas2orvo ${VERSION} from ${prefix}/" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "find_package(midas2orvo) did not take the package in ${prefix}:\n${out}")
  endif()
  run("${CMAKE_COMMAND}" --build "${work}" --config "${CONFIG}")
  check_counts("${work}/midas2orvo_host")
elseif(NOT PKG_CONFIG)
  message("SKIPPED: pkg-config is not installed")
else()
  set(ENV{PKG_CONFIG_PATH} "${prefix}/${LIBDIR}/pkgconfig")
  run("${PKG_CONFIG}" --variable=libdir midas2orvo)
  string(STRIP "${out}" libdir)
  string(FIND "${libdir}" "${prefix}/" found)
  if(NOT found EQUAL 0)
    message(FATAL_ERROR "midas2orvo.pc gives libdir ${libdir}, outside ${prefix}")
  endif()
  run("${PKG_CONFIG}" --cflags --libs midas2orvo)
  separate_arguments(package_flags UNIX_COMMAND "${out}")
  if(EXE STREQUAL ".exe" AND LINK_FLAGS MATCHES "(^| )-static( |$)")  # a static runtime, the DLL's import library
    set(package_flags -Wl,-Bdynamic ${package_flags} -Wl,-Bstatic)
  endif()
  # The build's compiler with its flags and the rpath; on Linux also the other of g++ and clang++ with
  # pkg-config's flags only and LD_LIBRARY_PATH, unless the library is sanitized (it needs its own
  # compiler's runtime).
  separate_arguments(flags UNIX_COMMAND "${FLAGS} ${LINK_FLAGS}")
  run("${CXX}" ${flags} "${SOURCE}/tests/package/host.cpp" -o "${work}/midas2orvo_host" ${package_flags} "-Wl,-rpath,${libdir}")
  check_counts("${work}/midas2orvo_host")
  set(compilers clang++ g++)
  string(REGEX MATCH "clang" used "${CXX}")  # clang++ is left out after a clang build, else g++ after clang++
  list(REMOVE_ITEM compilers "${used}++")
  find_program(other NAMES ${compilers} NO_CACHE)
  if(other AND NOT EXE STREQUAL ".exe" AND NOT FLAGS MATCHES "-fsanitize")
    run("${other}" "${SOURCE}/tests/package/host.cpp" -o "${work}/midas2orvo_host_other" ${package_flags})
    check_counts("${work}/midas2orvo_host_other" "${CMAKE_COMMAND}" -E env "LD_LIBRARY_PATH=${libdir}")
  endif()
endif()

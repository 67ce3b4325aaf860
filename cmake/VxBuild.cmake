# Shared build settings and the helpers every folder uses to declare its
# libraries and tests.

set(VX_ROOT ${CMAKE_SOURCE_DIR})
if(VX_PLATFORM STREQUAL "native")
  set(VX_WINDOWS OFF)
else()
  set(VX_WINDOWS ON)
endif()

# Compiler options reach the C and C++ compilers only, so windres, which
# takes none of them, needs no target of its own to undo them.
function(vx_code_options)
  set(options ${ARGN})
  list(TRANSFORM options PREPEND "$<$<COMPILE_LANGUAGE:C,CXX>:")
  list(TRANSFORM options APPEND ">")
  add_compile_options(${options})
endfunction()

# The same warnings, all errors, on every preset. GoogleTest's own sources,
# built here for mingw, keep their own options (vx_need_windows_gtest).
set(VX_WARNING_OPTIONS -Wall -Wextra -Wshadow -Wformat=2 -Wundef -Wimplicit-fallthrough -Werror)
vx_code_options(${VX_WARNING_OPTIONS})
include_directories(${VX_ROOT})

if(VX_PLATFORM STREQUAL "native")
  set(VX_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${VX_SANITIZE})
  add_link_options(${VX_SANITIZE})
  find_package(GTest REQUIRED)
  include(GoogleTest)
else()
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  # What differs between the two Windows architectures, each written once:
  # the PE kind the checks expect, the export names (the tree procedure is
  # exported under its C++ name, which encodes its parameter types and so
  # differs per architecture) and the options. i686 is what ships, so every
  # i686 build, tests included, has the shipped options.
  set(VX_ENTRY_EXPORT _CreateHtmlWindow CACHE INTERNAL "")
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686" AND VX_PLATFORM STREQUAL "win32")
    set(VX_PE_KIND PE32)
    set(VX_TREE_PROC_EXPORT _Z9NewHTProcP6HWND__jjl@16 CACHE INTERNAL "")
    # Lean and reproducible: functions the modules never call are dropped,
    # nothing throws or catches (so no unwinder is linked in) and nothing asks
    # for a type at run time (so no type information either), file names are
    # relative to the tree and the link leaves the PE time stamp at zero. The
    # debug information stays in the build; tools/package.sh ships stripped
    # copies. -fdata-sections stays off: this compiler then puts zero-filled
    # arrays into .data, and the 750 KB definition text table into the file.
    vx_code_options(-g -ffunction-sections -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
      -ffile-prefix-map=${VX_ROOT}/=)
    add_link_options(-Wl,--gc-sections -Wl,--no-insert-timestamp)
  elseif(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64" AND VX_PLATFORM STREQUAL "win64")
    set(VX_PE_KIND PE32+)
    set(VX_TREE_PROC_EXPORT _Z9NewHTProcP6HWND__jyx CACHE INTERNAL "")
  else()
    message(FATAL_ERROR "VX_PLATFORM ${VX_PLATFORM} does not go with a ${CMAKE_SYSTEM_PROCESSOR} toolchain: "
      "use a preset (win32: i686, win64: x86_64)")
  endif()
  # Modules import only system DLLs (and our framework DLL): the runtime,
  # libstdc++ and the posix compilers' winpthread are linked in.
  add_link_options(-static)
  # At file level: the module keeps the discovery script's path in a variable
  # that a function scope would lose.
  include(GoogleTest)
endif()

if(VX_WINDOWS)
  enable_language(RC)
endif()

# vx_version_resource(TARGET FILE_NAME FILE_TYPE DESCRIPTION): gives a shipped
# module the version resource that a user sees on the file's Details tab, from
# the project's one version. FILE_TYPE is 1 for an application, 2 for a DLL.
function(vx_version_resource target file_name file_type description)
  set(VX_FILE_NAME ${file_name})
  set(VX_FILE_TYPE ${file_type})
  set(VX_FILE_DESCRIPTION ${description})
  # A program (file type 1) also carries the programs' manifest.
  set(VX_MANIFEST "")
  if(file_type EQUAL 1)
    set(VX_MANIFEST "1 24 \"${VX_ROOT}/cmake/program.manifest\"")
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${VX_ROOT}/cmake/version.rc.in ${rc} @ONLY)
  add_library(${target}_version OBJECT ${rc})
  target_sources(${target} PRIVATE $<TARGET_OBJECTS:${target}_version>)
endfunction()

# Sources that hold code page 932 texts: UTF-8 in the tree, Shift-JIS in the binary.
function(vx_cp932_sources)
  set_source_files_properties(${ARGN} DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
    PROPERTIES COMPILE_OPTIONS "-fexec-charset=CP932")
endfunction()

# vx_library_sources(TARGET PLAIN CP932): a library's C++ sources as full
# paths, split into plain ones and those that need the code page 932
# execution character set, for programs that compile them with flags of
# their own (benchmarks, the fuzzer).
function(vx_library_sources target plain_var cp932_var)
  get_target_property(dir ${target} SOURCE_DIR)
  get_target_property(sources ${target} SOURCES)
  set(plain)
  set(cp932)
  foreach(source ${sources})
    if(NOT source MATCHES "\\.cpp$")
      continue()
    endif()
    cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${dir})
    get_source_file_property(options ${source} DIRECTORY ${dir} COMPILE_OPTIONS)
    if(options MATCHES "-fexec-charset=CP932")
      list(APPEND cp932 ${source})
    else()
      list(APPEND plain ${source})
    endif()
  endforeach()
  set(${plain_var} ${plain} PARENT_SCOPE)
  set(${cp932_var} ${cp932} PARENT_SCOPE)
endfunction()

# GoogleTest for mingw, built once from Debian's sources.
macro(vx_need_windows_gtest)
  if(NOT TARGET gtest)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # Not our code: its warnings are its maintainers' to judge.
    set(vx_gtest_dropped ${VX_WARNING_OPTIONS})
    list(TRANSFORM vx_gtest_dropped PREPEND "$<$<COMPILE_LANGUAGE:C,CXX>:")
    list(TRANSFORM vx_gtest_dropped APPEND ">")
    foreach(gtest_target gtest gtest_main)
      get_target_property(gtest_options ${gtest_target} COMPILE_OPTIONS)
      list(REMOVE_ITEM gtest_options ${vx_gtest_dropped})
      set_target_properties(${gtest_target} PROPERTIES COMPILE_OPTIONS "${gtest_options}")
    endforeach()
  endif()
endmacro()

# vx_native_test(NAME n SOURCES s... [LIBS l...]): a GoogleTest program of the native preset.
function(vx_native_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  if(NOT VX_PLATFORM STREQUAL "native")
    return()
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest_main)
  gtest_discover_tests(${T_NAME} WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
    PROPERTIES TIMEOUT 120 ENVIRONMENT "VX_SOURCE_DIR=${VX_ROOT}")
endfunction()

# vx_wine_test(NAME n SOURCES s... [LIBS l...] [TIMEOUT seconds]): a GoogleTest
# program of a Windows build with Wine tests (win64, win32-wine), run under
# Wine through the emulator wrapper, one CTest test per case. Each case has
# two minutes unless TIMEOUT says otherwise.
function(vx_wine_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT VX_WINE_TESTS)
    return()
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  vx_need_windows_gtest()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} gtest_main)
  add_dependencies(${T_NAME} wine_prefix_template)
  # COST: a test allowed longer starts first, so that on a fresh build (no
  # timings yet) it does not end the stage running alone.
  gtest_discover_tests(${T_NAME} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin
    PROPERTIES TIMEOUT ${T_TIMEOUT} COST ${T_TIMEOUT} ENVIRONMENT "VX_SOURCE_DIR=Z:${VX_ROOT}")
  set_property(GLOBAL APPEND PROPERTY VX_WINE_TEST_PROGRAMS ${T_NAME})
endfunction()

if(VX_WINDOWS)
  # Every Wine run gets its own copy of one template prefix. The target runs
  # at every build and remakes the template only when it is out of date; the
  # builds without Wine tests make it only when asked (tools/demo.sh).
  set(VX_WINE_TEMPLATE ${CMAKE_BINARY_DIR}/wine/template)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VX_ROOT}/cmake/wine-run.sh CACHE FILEPATH "" FORCE)
  if(VX_WINE_TESTS)
    set(vx_template_all ALL)
  endif()
  add_custom_target(wine_prefix_template ${vx_template_all}
    COMMAND ${VX_ROOT}/cmake/wine-template.sh ${VX_WINE_TEMPLATE}
    COMMENT "Checking the Wine template prefix")
endif()

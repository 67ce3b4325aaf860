# Shared build settings and the helpers every folder uses to declare its
# libraries and tests.

set(VX_ROOT ${CMAKE_SOURCE_DIR})
if(VX_PLATFORM STREQUAL "native")
  set(VX_WINDOWS OFF)
else()
  set(VX_WINDOWS ON)
endif()

# The same warnings, all errors, on every preset. GoogleTest's own sources,
# built here for mingw, keep their own options (vx_need_windows_gtest).
set(VX_WARNING_OPTIONS -Wall -Wextra -Wshadow -Wformat=2 -Wundef -Wimplicit-fallthrough -Werror)
add_compile_options(${VX_WARNING_OPTIONS})
include_directories(${VX_ROOT})

if(VX_PLATFORM STREQUAL "native")
  set(VX_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${VX_SANITIZE})
  add_link_options(${VX_SANITIZE})
  find_package(GTest REQUIRED)
  include(GoogleTest)
else()
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  if(VX_PLATFORM STREQUAL "win32")
    # Lean and reproducible: functions the modules never call are dropped,
    # nothing throws or catches (so no unwinder is linked in) and nothing asks
    # for a type at run time (so no type information either), file names are
    # relative to the tree and the link leaves the PE time stamp at zero. The
    # debug information stays in the build; tools/package.sh ships stripped
    # copies. -fdata-sections stays off: this compiler then puts zero-filled
    # arrays into .data, and the 750 KB definition text table into the file.
    add_compile_options(-g -ffunction-sections -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
      -ffile-prefix-map=${VX_ROOT}/=)
    add_link_options(-Wl,--gc-sections -Wl,--no-insert-timestamp)
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
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${VX_ROOT}/cmake/version.rc.in ${rc} @ONLY)
  add_library(${target}_version OBJECT ${rc})
  # windres takes none of the compilers' options.
  set_target_properties(${target}_version PROPERTIES COMPILE_OPTIONS "")
  target_sources(${target} PRIVATE $<TARGET_OBJECTS:${target}_version>)
endfunction()

# Sources that hold code page 932 texts: UTF-8 in the tree, Shift-JIS in the binary.
function(vx_cp932_sources)
  set_source_files_properties(${ARGN} DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
    PROPERTIES COMPILE_OPTIONS "-fexec-charset=CP932")
endfunction()

# GoogleTest for mingw, built once from Debian's sources.
macro(vx_need_windows_gtest)
  if(NOT TARGET gtest)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # Not our code: its warnings are its maintainers' to judge.
    foreach(gtest_target gtest gtest_main)
      get_target_property(gtest_options ${gtest_target} COMPILE_OPTIONS)
      list(REMOVE_ITEM gtest_options ${VX_WARNING_OPTIONS})
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

# vx_wine_test(NAME n SOURCES s... [LIBS l...]): a GoogleTest program of the win64
# preset, run under wine64 through the emulator wrapper, one CTest test per case.
function(vx_wine_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  if(NOT VX_PLATFORM STREQUAL "win64")
    return()
  endif()
  vx_need_windows_gtest()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} gtest_main)
  add_dependencies(${T_NAME} wine_prefix_template)
  gtest_discover_tests(${T_NAME} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin
    PROPERTIES TIMEOUT 120 ENVIRONMENT "VX_SOURCE_DIR=Z:${VX_ROOT}")
endfunction()

if(VX_PLATFORM STREQUAL "win64")
  # Every Wine run gets its own copy of one template prefix made at build time.
  set(VX_WINE_TEMPLATE ${CMAKE_BINARY_DIR}/wine/template)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VX_ROOT}/cmake/wine-run.sh CACHE FILEPATH "" FORCE)
  add_custom_command(OUTPUT ${VX_WINE_TEMPLATE}/.ready
    COMMAND ${VX_ROOT}/cmake/wine-template.sh ${VX_WINE_TEMPLATE}
    # A changed script remakes the template, or old build trees keep its old contents.
    DEPENDS ${VX_ROOT}/cmake/wine-template.sh
    COMMENT "Preparing the Wine template prefix")
  add_custom_target(wine_prefix_template ALL DEPENDS ${VX_WINE_TEMPLATE}/.ready)
endif()

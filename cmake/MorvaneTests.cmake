# GoogleTest is built from Debian's source package so that the native,
# sanitizer and cross builds all compile it with their own flags.
set(MORVANE_GTEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH "GoogleTest sources")

macro(morvane_enable_gtest)
  if(NOT TARGET gtest)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    add_subdirectory(${MORVANE_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  endif()
endmacro()

# morvane_add_test(NAME name SOURCES ... LIBS ... [ENVIRONMENT VAR=value ...])
# One GoogleTest executable registered with ctest; in the cross build ctest
# runs it through CMAKE_CROSSCOMPILING_EMULATOR (Wine).
function(morvane_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  morvane_enable_gtest()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} gtest gtest_main morvane_warnings)
  target_compile_definitions(${T_NAME} PRIVATE
    MORVANE_RECORDINGS_DIR="${MORVANE_RECORDINGS_DIR}")
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT 600)
  if(T_ENVIRONMENT)
    set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${T_ENVIRONMENT}")
  endif()
endfunction()

# The real recordings live beside the project, never inside it.
get_filename_component(_morvane_shared "${CMAKE_SOURCE_DIR}/../shared/recordings" ABSOLUTE)
set(MORVANE_RECORDINGS_DIR "${_morvane_shared}" CACHE PATH "Folder of real recordings (tests skip when absent)")

# One static library per source folder, and one GoogleTest program per test folder.
# Sources are picked up from the folder so that adding a file needs no CMake edit.

include(GoogleTest)

# orvello_library(NAME [QT] [EXCLUDE subdir...] DEPS target...)
function(orvello_library name)
  cmake_parse_arguments(ARG "QT" "" "EXCLUDE;DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  foreach(sub IN LISTS ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "^${CMAKE_CURRENT_SOURCE_DIR}/${sub}/")
  endforeach()
  list(FILTER sources INCLUDE REGEX "\\.(cpp|h)$")
  set(cpp ${sources})
  list(FILTER cpp INCLUDE REGEX "\\.cpp$")
  if(cpp)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    if(ARG_QT)
      set_target_properties(${name} PROPERTIES AUTOMOC ON AUTOUIC ON AUTORCC ON)
    endif()
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# orvello_tests(NAME [QT] DEPS target...)
# Builds tests/NAME/*.cpp into test_NAME and lists each test case in CTest.
function(orvello_tests name)
  cmake_parse_arguments(ARG "QT" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(test_${name} ${sources})
  target_link_libraries(test_${name} PRIVATE ${ARG_DEPS} orvello_testsupport GTest::gtest_main GTest::gmock)
  # Fixture files are read from the source tree: tests/<name>/fixtures/.
  target_compile_definitions(test_${name} PRIVATE ORVELLO_FIXTURES="${CMAKE_CURRENT_SOURCE_DIR}/${name}/fixtures/")
  if(ARG_QT)
    set_target_properties(test_${name} PROPERTIES AUTOMOC ON)
  endif()
  # One label per program (a list would be split apart by gtest_discover_tests): the folder's
  # name, prefixed "qt:" for programs that need Qt, so "-LE ^qt:" leaves them out.
  set(props LABELS ${name} TIMEOUT 300)
  if(ARG_QT)
    set(props LABELS qt:${name} TIMEOUT 300 ENVIRONMENT QT_QPA_PLATFORM=offscreen)
  endif()
  gtest_discover_tests(test_${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES ${props})
endfunction()

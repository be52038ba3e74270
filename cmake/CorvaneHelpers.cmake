# corvane_library(NAME SOURCES ... DEPS ...): one library per src/ folder,
# included as <NAME/header.h> from the src/ root.
function(corvane_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(corvane_${name} STATIC ${ARG_SOURCES})
  add_library(corvane::${name} ALIAS corvane_${name})
  target_include_directories(corvane_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(corvane_${name} PUBLIC ${ARG_DEPS})
endfunction()

# corvane_test(NAME SOURCES ... DEPS ... [GUI]): a GoogleTest executable.
# GUI tests carry the label "gui" and run under scripts/with-x; the sanitizer
# run leaves them out (and builds without them: CORVANE_GUI_TESTS=OFF).
function(corvane_test name)
  cmake_parse_arguments(ARG "GUI" "TIMEOUT" "SOURCES;DEPS" ${ARGN})
  if(ARG_GUI AND NOT CORVANE_GUI_TESTS)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    CORVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    CORVANE_BINARY_DIR="${PROJECT_BINARY_DIR}")
  set(labels unit)
  if(ARG_GUI)
    set(labels gui)
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  # GUI tests share one display: keyboard focus and pointer grabs are
  # per display, so they take turns while other tests run beside them.
  set(lock "")
  if(ARG_GUI)
    set(lock RESOURCE_LOCK x_display)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS "${labels}" TIMEOUT ${ARG_TIMEOUT} ${lock})
endfunction()

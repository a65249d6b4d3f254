# Build conventions shared by every folder: warnings, sanitizers, one library per folder,
# test registration and the check that the Qt-free libraries stay free of Qt.

add_compile_options(-Wall -Wextra)
# GCC 12 reports -Wrestrict false positives inside std::string concatenation at -O2.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  add_compile_options(-Wno-restrict)
endif()
if(KESTRIN_WERROR)
  add_compile_options(-Werror)
endif()
if(KESTRIN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

set_property(GLOBAL PROPERTY KESTRIN_QT_FREE_TARGETS "")

# kestrin_library(<name> [QT_FREE] SOURCES ... [LIBS ...])
# One static library per source folder. QT_FREE libraries may not link Qt, directly or not.
function(kestrin_library name)
  cmake_parse_arguments(ARG "QT_FREE" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  if(ARG_LIBS)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  endif()
  if(ARG_QT_FREE)
    set_property(GLOBAL APPEND PROPERTY KESTRIN_QT_FREE_TARGETS ${name})
  endif()
endfunction()

# kestrin_analysis_flags(<target>): numeric code keeps IEEE semantics so results do not
# depend on the compiler's contraction choices.
function(kestrin_numeric_flags name)
  target_compile_options(${name} PRIVATE -ffp-contract=off -fno-fast-math)
endfunction()

# kestrin_test(<name> SOURCES ... [LIBS ...] [LABELS ...] [ENV ...])
# A GoogleTest executable whose cases are registered one by one with CTest.
function(kestrin_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    KESTRIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}" KESTRIN_BINARY_DIR="${PROJECT_BINARY_DIR}")
  # The environment goes in front of the test program as an `env` prefix (CTest's list-valued
  # ENVIRONMENT property does not survive test discovery). Tests never see the user's
  # settings: the configuration folder is one of the build's own.
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR
    "env;QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${PROJECT_BINARY_DIR}/test-config;${ARG_ENV}")
  set(props "")
  if(ARG_LABELS)
    list(APPEND props LABELS "${ARG_LABELS}")
  endif()
  if(props)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES ${props})
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

function(_kestrin_collect_links target out)
  set(result "")
  get_target_property(links ${target} LINK_LIBRARIES)
  get_target_property(ilinks ${target} INTERFACE_LINK_LIBRARIES)
  foreach(lib IN LISTS links ilinks)
    if(lib AND NOT lib MATCHES "NOTFOUND")
      list(APPEND result ${lib})
      if(TARGET ${lib})
        get_target_property(imported ${lib} IMPORTED)
        if(NOT imported)
          _kestrin_collect_links(${lib} sub)
          list(APPEND result ${sub})
        endif()
      endif()
    endif()
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

function(kestrin_check_qt_free)
  get_property(targets GLOBAL PROPERTY KESTRIN_QT_FREE_TARGETS)
  foreach(t IN LISTS targets)
    _kestrin_collect_links(${t} links)
    foreach(lib IN LISTS links)
      if(lib MATCHES "^Qt")
        message(FATAL_ERROR "${t} must build without Qt but links ${lib}")
      endif()
    endforeach()
  endforeach()
endfunction()

find_package(GTest REQUIRED)
include(GoogleTest)
find_package(Threads REQUIRED)

# Build conventions shared by every folder: warnings, sanitizers, one library per folder,
# test registration and the check that the Qt-free libraries stay free of Qt.

add_compile_options(-Wall -Wextra)
# GCC 12 reports -Wrestrict false positives inside std::string concatenation at -O2.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  add_compile_options(-Wno-restrict)
endif()
# Debug information is compressed in objects and programs, the static libraries are thin (they
# point at the objects instead of copying them) and the compiler passes its assembly through
# pipes instead of temporary files: the sanitizer test build fits a small disk.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-gz -pipe)
  add_link_options(-gz)
  foreach(lang C CXX)
    set(CMAKE_${lang}_ARCHIVE_CREATE "<CMAKE_AR> qcT <TARGET> <LINK_FLAGS> <OBJECTS>")
    set(CMAKE_${lang}_ARCHIVE_APPEND "<CMAKE_AR> qT <TARGET> <LINK_FLAGS> <OBJECTS>")
  endforeach()
endif()
if(KESTRIN_WERROR)
  add_compile_options(-Werror)
endif()
if(KESTRIN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
  # Line tables are all a sanitizer report needs; full debug information would triple the
  # size of the test build.
  add_compile_options(-g1)
endif()

set_property(GLOBAL PROPERTY KESTRIN_QT_FREE_TARGETS "")
set_property(GLOBAL PROPERTY KESTRIN_LIBRARIES "")

# kestrin_library(<name> [QT_FREE] SOURCES ... [LIBS ...])
# One static library per source folder. QT_FREE libraries may not link Qt, directly or not.
function(kestrin_library name)
  cmake_parse_arguments(ARG "QT_FREE" "" "SOURCES;LIBS" ${ARGN})
  if(KESTRIN_SHARED_LIBS)
    add_library(${name} SHARED ${ARG_SOURCES})
  else()
    add_library(${name} STATIC ${ARG_SOURCES})
  endif()
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  if(ARG_LIBS)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  endif()
  if(ARG_QT_FREE)
    set_property(GLOBAL APPEND PROPERTY KESTRIN_QT_FREE_TARGETS ${name})
  endif()
  set_property(GLOBAL APPEND PROPERTY KESTRIN_LIBRARIES ${name})
endfunction()

# kestrin_analysis_flags(<target>): numeric code keeps IEEE semantics so results do not
# depend on the compiler's contraction choices.
function(kestrin_numeric_flags name)
  target_compile_options(${name} PRIVATE -ffp-contract=off -fno-fast-math)
endfunction()

# kestrin_test(<name> SOURCES ... [LIBS ...] [LABELS ...] [ENV ...])
# A GoogleTest executable whose cases are registered with CTest, one test per suite.
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
  kestrin_gtest_suites(${name} LABELS ${ARG_LABELS})
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

# The folders (relative to src/) that hold a library's sources.
function(_kestrin_library_folders target out)
  get_target_property(srcs ${target} SOURCES)
  get_target_property(dir ${target} SOURCE_DIR)
  set(folders "")
  foreach(src IN LISTS srcs)
    if(NOT IS_ABSOLUTE ${src})
      set(src ${dir}/${src})
    endif()
    get_filename_component(folder ${src} DIRECTORY)
    file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR}/src ${folder})
    list(APPEND folders ${rel})
  endforeach()
  list(REMOVE_DUPLICATES folders)
  set(${out} ${folders} PARENT_SCOPE)
endfunction()

# kestrin_check_include_direction(): a library may include only its own folders and those
# of the libraries it links, directly or not, which lie below it (DESIGN §2). Every quoted
# include of its sources and of the headers beside them is checked.
function(kestrin_check_include_direction)
  get_property(libraries GLOBAL PROPERTY KESTRIN_LIBRARIES)
  foreach(lib IN LISTS libraries)
    _kestrin_library_folders(${lib} folders)
    foreach(folder IN LISTS folders)
      set(owner_of_${folder} ${lib})
    endforeach()
    set(folders_of_${lib} ${folders})
  endforeach()
  foreach(lib IN LISTS libraries)
    _kestrin_collect_links(${lib} links)
    set(allowed ${lib} ${links})
    foreach(folder IN LISTS folders_of_${lib})
      file(GLOB files ${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/src/${folder}/*.h)
      foreach(f IN LISTS files)
        file(STRINGS ${f} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
        foreach(line IN LISTS includes)
          string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" header "${line}")
          get_filename_component(header_folder ${header} DIRECTORY)
          if(DEFINED owner_of_${header_folder})
            set(owner ${owner_of_${header_folder}})
            if(NOT owner IN_LIST allowed)
              file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR} ${f})
              message(FATAL_ERROR "${rel} includes ${header}: ${lib} may include only the folders below it, "
                                  "and ${owner} is not one of them")
            endif()
          endif()
        endforeach()
      endforeach()
    endforeach()
  endforeach()
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
include(${CMAKE_CURRENT_LIST_DIR}/GTestSuites.cmake)
find_package(Threads REQUIRED)

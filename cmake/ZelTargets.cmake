# Helpers shared by every subsystem: library targets built from a folder, test
# executables, and the layering check.

set(ZEL_WARNINGS -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Woverloaded-virtual)
# Clang knows no local-only shadow warning (its -Wshadow also flags fields and
# globals); the gcc build keeps the check. Clang also flags the class name that
# ZEL_CLASS declares in every class local to a file that never reads it.
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  list(APPEND ZEL_WARNINGS -Wno-unused-const-variable)
else()
  list(APPEND ZEL_WARNINGS -Wshadow=local)
endif()
if(ZEL_WERROR)
  list(APPEND ZEL_WARNINGS -Werror)
endif()

set_property(GLOBAL PROPERTY ZEL_LAYERED_TARGETS "")

# Headers almost every source parses: precompiled once per target, they take
# a fifth off each compile. Targets without Qt get the standard ones only.
set(ZEL_PRECOMPILED_STD <algorithm> <functional> <memory> <vector>)
set(ZEL_PRECOMPILED ${ZEL_PRECOMPILED_STD} <QByteArray> <QHash> <QList> <QString> <QStringList> <QVariant>)

# zel_library(NAME DIRS dir... LINK target... ALLOWED target...)
# Builds a static library from the sources of the given folders. LINK are the
# public dependencies; ALLOWED are all the targets (direct or transitive) this
# layer may reach. Qt modules and third-party libraries count as targets too.
function(zel_library name)
  cmake_parse_arguments(ARG "" "" "DIRS;LINK;ALLOWED" ${ARGN})
  set(sources)
  foreach(dir IN LISTS ARG_DIRS)
    file(GLOB dir_sources CONFIGURE_DEPENDS
      ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp
      ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.h
      ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.qrc)
    list(APPEND sources ${dir_sources})
  endforeach()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LINK})
  target_compile_options(${name} PRIVATE ${ZEL_WARNINGS})
  if(ARG_LINK MATCHES "Qt6::|zel_|kv_")
    target_precompile_headers(${name} PRIVATE ${ZEL_PRECOMPILED})
  else()
    target_precompile_headers(${name} PRIVATE ${ZEL_PRECOMPILED_STD})
  endif()
  zel_layer(${name} ALLOWED ${ARG_ALLOWED})
  # Which target owns which folder, for the include check.
  foreach(dir IN LISTS ARG_DIRS)
    get_filename_component(absolute ${CMAKE_CURRENT_SOURCE_DIR}/${dir} ABSOLUTE)
    file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${absolute})
    set_property(GLOBAL PROPERTY ZEL_FOLDER_OWNER_${folder} ${name})
  endforeach()
  set_property(TARGET ${name} PROPERTY ZEL_SOURCES ${sources})
endfunction()

# zel_layer(TARGET ALLOWED target...): records what TARGET may link.
function(zel_layer name)
  cmake_parse_arguments(ARG "" "" "ALLOWED" ${ARGN})
  set_property(TARGET ${name} PROPERTY ZEL_ALLOWED ${ARG_ALLOWED})
  set_property(GLOBAL APPEND PROPERTY ZEL_LAYERED_TARGETS ${name})
endfunction()

function(_zel_collect_links target out)
  set(seen ${${out}})
  get_target_property(links ${target} LINK_LIBRARIES)
  if(NOT links)
    set(links)
  endif()
  get_target_property(ilinks ${target} INTERFACE_LINK_LIBRARIES)
  if(ilinks)
    list(APPEND links ${ilinks})
  endif()
  foreach(link IN LISTS links)
    if(link MATCHES "^\\$<" OR NOT TARGET ${link} OR link IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${link})
    _zel_collect_links(${link} seen)
  endforeach()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# Fails when a source of a layered library includes a header of a library
# its layer may not use: a link line alone would not show it.
function(_zel_check_includes target allowed)
  get_target_property(sources ${target} ZEL_SOURCES)
  if(NOT sources)
    return()
  endif()
  foreach(source IN LISTS sources)
    file(STRINGS ${source} includes REGEX "^#include \"[a-z]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"(.*)/[^/]*\".*" "\\1" folder "${line}")
      get_property(owner GLOBAL PROPERTY ZEL_FOLDER_OWNER_${folder})
      if(owner AND NOT owner STREQUAL target AND NOT owner IN_LIST allowed)
        file(RELATIVE_PATH shown ${PROJECT_SOURCE_DIR} ${source})
        message(FATAL_ERROR "Layering: ${shown} (${target}) includes ${folder}/, which belongs to ${owner}, "
                            "a layer ${target} may not use")
      endif()
    endforeach()
  endforeach()
endfunction()

function(zel_check_layers)
  get_property(targets GLOBAL PROPERTY ZEL_LAYERED_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(allowed ${target} ZEL_ALLOWED)
    _zel_check_includes(${target} "${allowed}")
    set(reached)
    _zel_collect_links(${target} reached)
    foreach(link IN LISTS reached)
      # Qt's version-less names stand for the versioned ones.
      string(REGEX REPLACE "^Qt::" "Qt6::" link "${link}")
      # Qt's private helper targets come with the public modules.
      if(link MATCHES "^Qt6::(Platform|GlobalConfig|.*Private)" OR link MATCHES "^Threads::|^WrapAtomic|^WrapOpenGL|^OpenGL::|^Qt6::Entry")
        continue()
      endif()
      if(NOT link IN_LIST allowed)
        message(FATAL_ERROR "Layering: ${target} reaches ${link}, which its layer may not use")
      endif()
    endforeach()
  endforeach()
endfunction()

# zel_test(NAME DIR dir LINK target... [GUI]): one GoogleTest executable from
# every source in tests/DIR. GUI tests get an offscreen application object.
function(zel_test name)
  cmake_parse_arguments(ARG "GUI;QTGUI" "DIR" "LINK" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_DIR}/*.h)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LINK} GTest::gtest zel_testsupport)
  if(ARG_GUI)
    target_link_libraries(${name} PRIVATE zel_testmain_gui)
  elseif(ARG_QTGUI)
    target_link_libraries(${name} PRIVATE zel_testmain_qtgui)
  else()
    target_link_libraries(${name} PRIVATE zel_testmain)
  endif()
  target_compile_options(${name} PRIVATE ${ZEL_WARNINGS})
  target_precompile_headers(${name} PRIVATE ${ZEL_PRECOMPILED} <gtest/gtest.h>)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  # Each test carries its executable's name as label, so runs can pick layers.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES LABELS ${name})
endfunction()

# The library as users install it: the layers joined into two shared
# libraries, their headers, the programs, the script languages, a CMake
# package, pkg-config files and a Debian package.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# zel_shared_library(NAME OUTPUT EXPORT_NAME LAYERS layer... PUBLIC target... PRIVATE target...)
# One shared library made of the objects of the given static layers. Only the
# library's own names are exported (cmake/zelreport.map).
function(zel_shared_library name output export_name)
  cmake_parse_arguments(ARG "" "" "LAYERS;PUBLIC;PRIVATE" ${ARGN})
  set(objects)
  foreach(layer IN LISTS ARG_LAYERS)
    list(APPEND objects $<TARGET_OBJECTS:${layer}>)
  endforeach()
  add_library(${name} SHARED ${objects})
  set_target_properties(${name} PROPERTIES OUTPUT_NAME ${output} EXPORT_NAME ${export_name}
    VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR}
    LINK_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/zelreport.map)
  target_link_options(${name} PRIVATE -Wl,--version-script=${PROJECT_SOURCE_DIR}/cmake/zelreport.map
    -Wl,--no-undefined)
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
  target_include_directories(${name} INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/zelreport>)
  target_compile_features(${name} INTERFACE cxx_std_20)
endfunction()

zel_shared_library(zelreport_report zelreport Report
  LAYERS zel_base zel_imaging zel_reflect zel_tree zel_data zel_objects zel_report zel_sqldata kv_script
         zel_scriptbind zel_render zel_prepared zel_engine zel_export
  PUBLIC Qt6::Core Qt6::Gui
  PRIVATE Qt6::Sql Qt6::Svg ZLIB::ZLIB PNG::PNG JPEG::JPEG SQLite::SQLite3 PkgConfig::QPDF)
zel_shared_library(zelreport_preview zelreportpreview Preview
  LAYERS zel_dialogs kv_scriptgui zel_preview
  PUBLIC zelreport_report Qt6::Widgets)

install(TARGETS zelreport_report zelreport_preview EXPORT ZelReportTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS zelreport zelhost RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The headers of the installed layers; what only one source needs lives in
# that source.
foreach(folder base model script engine prepared dialogs preview)
  install(DIRECTORY ${folder}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zelreport/${folder}
    FILES_MATCHING PATTERN "*.h")
endforeach()
# The grammars of the script languages are built in; these copies document them.
file(GLOB ZEL_LANGUAGE_FILES ${PROJECT_SOURCE_DIR}/script/languages/*.xml)
install(FILES ${ZEL_LANGUAGE_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/zelreport/languages)

set(ZEL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/ZelReport)
install(EXPORT ZelReportTargets NAMESPACE ZelReport:: DESTINATION ${ZEL_CMAKE_DIR})
configure_package_config_file(cmake/ZelReportConfig.cmake.in ${CMAKE_BINARY_DIR}/ZelReportConfig.cmake
  INSTALL_DESTINATION ${ZEL_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/ZelReportConfigVersion.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/ZelReportConfig.cmake ${CMAKE_BINARY_DIR}/ZelReportConfigVersion.cmake
  DESTINATION ${ZEL_CMAKE_DIR})
foreach(pc zelreport zelreport-preview)
  configure_file(cmake/${pc}.pc.in ${CMAKE_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/${pc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()

# The Debian package (cpack in the build folder): zelreport_VERSION_amd64.deb
# with the libraries, headers, CMake and pkg-config files and the programs.
# The libraries' own dependencies are found by dpkg-shlibdeps; the SQLite
# driver Qt loads as a plug-in and the fonts the templates name are added.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelreport)
set(CPACK_PACKAGE_VENDOR "ZelReport")
set(CPACK_PACKAGE_CONTACT "ZelReport developers <zelreport@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Banded report generator: library, preview, zelreport and zelhost")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-base-dev")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)

# Installation: libraries, public headers, programs, the runtime library, the
# PAM service file, and a CMake package (find_package(Clavira)) with exported
# targets. The headers keep their in-tree paths under include/clavira, so
# "dataframework/elements/DataField.h" is included the same way inside and
# outside the tree. internal/ headers and tests are not installed.
include_guard(GLOBAL)
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(CLAVIRA_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Clavira)

# The runtime library is the programs' own, not a system library: it goes to
# a private folder (lib/clavira), where the programs look for it.
set(CLAVIRA_PRIVATE_LIBDIR ${CMAKE_INSTALL_LIBDIR}/clavira)
foreach(program IN ITEMS clavira clavira-cli clavira-translations clavira-grid)
  if(TARGET ${program})
    set_target_properties(${program} PROPERTIES INSTALL_RPATH
                                                "$ORIGIN/../${CLAVIRA_PRIVATE_LIBDIR}")
  endif()
endforeach()

# The umbrella targets a user links.
add_library(clavira_dataframework INTERFACE)
target_link_libraries(clavira_dataframework INTERFACE df_core df_types df_translation platform)
set_target_properties(clavira_dataframework PROPERTIES EXPORT_NAME dataframework)
add_library(Clavira::dataframework ALIAS clavira_dataframework)
add_library(clavira_dataframework_bridge INTERFACE)
target_link_libraries(clavira_dataframework_bridge INTERFACE df_bridge clavira_dataframework)
set_target_properties(clavira_dataframework_bridge PROPERTIES EXPORT_NAME dataframework_bridge)
add_library(Clavira::dataframework_bridge ALIAS clavira_dataframework_bridge)
set_target_properties(db PROPERTIES EXPORT_NAME db)
add_library(Clavira::db ALIAS db)

set(CLAVIRA_EXPORTED_LIBRARIES
    platform df_types df_core df_translation df_bridge db vesquin vesquin_config vesquin_digest
    login users clavira_dataframework clavira_dataframework_bridge)
# Installed beside other projects' libraries, the files carry the project's
# name (libclavira_db.a, not libdb.a); the runtime library keeps its own.
foreach(library IN LISTS CLAVIRA_EXPORTED_LIBRARIES ITEMS platform_qt df_qt df_translation_exchange)
  if(TARGET ${library} AND NOT library STREQUAL "vesquin")
    get_target_property(type ${library} TYPE)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      set_target_properties(${library} PROPERTIES OUTPUT_NAME clavira_${library})
    endif()
    # A shared library finds the others it needs beside itself.
    if(type STREQUAL "SHARED_LIBRARY" AND NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr")
      set_target_properties(${library} PROPERTIES INSTALL_RPATH "$ORIGIN")
    endif()
  endif()
endforeach()
list(REMOVE_ITEM CLAVIRA_EXPORTED_LIBRARIES vesquin)
install(TARGETS vesquin EXPORT ClaviraTargets
        LIBRARY DESTINATION ${CLAVIRA_PRIVATE_LIBDIR} COMPONENT runtime)
install(TARGETS ${CLAVIRA_EXPORTED_LIBRARIES}
        EXPORT ClaviraTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
install(EXPORT ClaviraTargets NAMESPACE Clavira:: DESTINATION ${CLAVIRA_CMAKE_DIR}
        COMPONENT dev)

if(TARGET df_qt)
  add_library(clavira_dataframework_qt INTERFACE)
  target_link_libraries(clavira_dataframework_qt INTERFACE df_qt clavira_dataframework)
  set_target_properties(clavira_dataframework_qt PROPERTIES EXPORT_NAME dataframework_qt)
  add_library(Clavira::dataframework_qt ALIAS clavira_dataframework_qt)
  install(TARGETS platform_qt df_qt df_translation_exchange clavira_dataframework_qt
          EXPORT ClaviraQtTargets
          ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime)
  install(EXPORT ClaviraQtTargets NAMESPACE Clavira:: DESTINATION ${CLAVIRA_CMAKE_DIR}
          COMPONENT dev)
endif()

# Public headers: the framework and its ground floor, the database layer.
foreach(folder IN ITEMS platform dataframework db)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/${folder}
          DESTINATION ${CLAVIRA_INSTALL_INCLUDEDIR}
          COMPONENT dev
          FILES_MATCHING PATTERN "*.h"
          PATTERN "tests" EXCLUDE
          PATTERN "internal" EXCLUDE
          PATTERN "tools" EXCLUDE
          PATTERN "resources" EXCLUDE)
endforeach()

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/ClaviraConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/ClaviraConfig.cmake
                              INSTALL_DESTINATION ${CLAVIRA_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/ClaviraConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/ClaviraConfig.cmake
              ${PROJECT_BINARY_DIR}/ClaviraConfigVersion.cmake
        DESTINATION ${CLAVIRA_CMAKE_DIR} COMPONENT dev)

# The test bench: its programs, the translations its window ships with, and
# the PAM service its system logon asks for.
if(TARGET clavira)
  install(TARGETS clavira clavira-cli clavira-translations RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
          COMPONENT runtime)
  install(FILES ${PROJECT_SOURCE_DIR}/app/translations/FRMClavira.translations
          DESTINATION ${CMAKE_INSTALL_DATADIR}/clavira COMPONENT runtime)
endif()
# The grid editor and the translations its window ships with.
if(TARGET clavira-grid)
  install(TARGETS clavira-grid RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
  install(FILES ${PROJECT_SOURCE_DIR}/grid/translations/GridWindow.translations
          DESTINATION ${CMAKE_INSTALL_DATADIR}/clavira COMPONENT runtime)
endif()
# The system's own /etc for a /usr install (a package); etc/ under any other
# prefix, so that installing into a folder writes nothing outside it.
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(CLAVIRA_PAM_DIR /etc/pam.d)
else()
  set(CLAVIRA_PAM_DIR ${CMAKE_INSTALL_SYSCONFDIR}/pam.d)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/clavira.pam
        DESTINATION ${CLAVIRA_PAM_DIR} RENAME clavira COMPONENT runtime)

# Manual pages and the Debian documentation files, compressed as Debian
# installs them.
set(CLAVIRA_GZIPPED ${PROJECT_BINARY_DIR}/packaging)
set(CLAVIRA_GZIP_OUTPUTS)
foreach(source IN ITEMS man/clavira.1 man/clavira-cli.1 man/clavira-translations.1 man/clavira-grid.1
                      changelog)
  get_filename_component(leaf ${source} NAME)
  set(output ${CLAVIRA_GZIPPED}/${leaf}.gz)
  add_custom_command(OUTPUT ${output}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${CLAVIRA_GZIPPED}
                     COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/${source} > ${output}
                     DEPENDS ${PROJECT_SOURCE_DIR}/packaging/${source}
                     VERBATIM)
  list(APPEND CLAVIRA_GZIP_OUTPUTS ${output})
endforeach()
add_custom_target(clavira_packaging_files ALL DEPENDS ${CLAVIRA_GZIP_OUTPUTS})
install(FILES ${CLAVIRA_GZIPPED}/clavira.1.gz ${CLAVIRA_GZIPPED}/clavira-cli.1.gz
              ${CLAVIRA_GZIPPED}/clavira-translations.1.gz ${CLAVIRA_GZIPPED}/clavira-grid.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT runtime)
foreach(package IN ITEMS clavira clavira-dev)
  if(package STREQUAL "clavira")
    set(component runtime)
  else()
    set(component dev)
  endif()
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${CLAVIRA_GZIPPED}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component})
endforeach()

# Debian packages (cpack -G DEB in a build configured with
# -DCMAKE_INSTALL_PREFIX=/usr; scripts/package does both): clavira, the test
# bench; clavira-dev, the framework's headers, libraries and CMake package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME clavira)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Clavira developers <developers@clavira.invalid>")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime dev)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME clavira)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION admin)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION
    "test bench for a login service\nAn operator checks a login three ways from one window or from the\ncommand line: a bind against an LDAP directory, the login service's own\nflow against its database, and the operating system's logon (PAM).")
# The PAM service file is the administrator's to change: a conffile.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_DEV_PACKAGE_NAME clavira-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS
    "clavira (= ${PROJECT_VERSION}), unixodbc-dev, libpq-dev, libssl-dev, libldap-dev, libpam0g-dev")
set(CPACK_DEBIAN_DEV_PACKAGE_SUGGESTS "qt6-base-dev")
set(CPACK_DEBIAN_DEV_DESCRIPTION
    "data framework for typed, multi-language tabular data (development files)\nTyped fields, tables, row storages with subtotal trees, criteria, quilts,\ncalculated fields and translation of forms, with a Qt item model and a\nbridge to database tables: headers, static libraries and the CMake\npackage (find_package(Clavira)).")
include(CPack)

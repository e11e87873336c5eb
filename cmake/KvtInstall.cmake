# What `cmake --install` puts in front of a host: the KvtSuppliers library
# with the static layers it stands on (and the Qt front end's, when built),
# the headers of cmake/host_headers.txt, and a package configuration, so a
# host writes
#   find_package(KvtSuppliers) ... target_link_libraries(app KvtSuppliers::KvtSuppliers)
include(CMakePackageConfigHelpers)
include(GNUInstallDirs)

set(kvt_installed_targets "")
foreach(target IN ITEMS kvt_value kvt_data kvt_object kvt_ui kvt_script kvt_report
                        kvt_services kvt_db kvt_component kvt_orders kvt_vouchers kvt_documents
                        KvtSuppliers kvt_qt_ui kvt_qt_report)
  if(TARGET ${target})
    list(APPEND kvt_installed_targets ${target})
  endif()
endforeach()
install(TARGETS ${kvt_installed_targets} EXPORT KvtSuppliersTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})

# The host's face: the headers cmake/host_headers.txt lists, the Qt front
# end's only when it is built.
file(STRINGS cmake/host_headers.txt kvt_public_headers REGEX "^[a-z]")
foreach(header IN LISTS kvt_public_headers)
  if(header MATCHES "^frontends/qt/" AND NOT KVT_WITH_QT)
    continue()
  endif()
  get_filename_component(dir ${header} DIRECTORY)
  string(REGEX REPLACE "^include/" "" dir "${dir}")
  install(FILES ${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kvtsuppliers/${dir})
endforeach()

set(kvt_config_dir ${CMAKE_INSTALL_LIBDIR}/cmake/KvtSuppliers)
install(EXPORT KvtSuppliersTargets NAMESPACE KvtSuppliers:: DESTINATION ${kvt_config_dir})
configure_package_config_file(cmake/KvtSuppliersConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/KvtSuppliersConfig.cmake INSTALL_DESTINATION ${kvt_config_dir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/KvtSuppliersConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/KvtSuppliersConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/KvtSuppliersConfigVersion.cmake
        DESTINATION ${kvt_config_dir})

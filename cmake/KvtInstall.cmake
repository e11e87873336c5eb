# What `cmake --install` puts in front of a host: the KvtSuppliers library
# with the static layers it stands on, the public headers and the headers of
# the types a host passes in, and a package configuration, so a host writes
#   find_package(KvtSuppliers) ... target_link_libraries(app KvtSuppliers::KvtSuppliers)
include(CMakePackageConfigHelpers)
include(GNUInstallDirs)

set(kvt_installed_targets "")
foreach(target IN ITEMS kvt_value kvt_data kvt_object kvt_ui kvt_script kvt_report
                        kvt_services kvt_component kvt_orders kvt_vouchers kvt_documents
                        KvtSuppliers)
  if(TARGET ${target})
    list(APPEND kvt_installed_targets ${target})
  endif()
endforeach()
install(TARGETS ${kvt_installed_targets} EXPORT KvtSuppliersTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})

# The host's face: the classes, and the value, record-set, object and form
# types it hands to them, with the headers those include.
set(kvt_public_headers
  include/kvt/CGRV.h include/kvt/COrder.h include/kvt/enumerations.h
  include/kvt/export.h include/kvt/host_helpers.h include/kvt/shared_settings.h
  platform/value/variant.h platform/value/currency.h platform/value/date.h
  platform/value/error.h platform/value/conversions.h platform/value/locale.h
  platform/data/record_set.h platform/data/data_type.h
  platform/object/object.h
  platform/ui/form.h platform/ui/control.h platform/ui/controls.h
  platform/ui/data_binding.h platform/ui/event.h platform/ui/layout.h)
foreach(header IN LISTS kvt_public_headers)
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

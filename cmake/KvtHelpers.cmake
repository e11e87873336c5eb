# kvt_add_library(name SOURCES ... DEPS ...): one static library per layer,
# with the repository root as include root.
function(kvt_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>
    $<INSTALL_INTERFACE:include/kvtsuppliers>)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  add_library(kvt::${name} ALIAS ${name})
endfunction()

# kvt_add_test(name [QT_MAIN] SOURCES ... DEPS ...): one GoogleTest program
# per layer; every TEST becomes its own CTest case. Its main takes the
# locale from the environment first; QT_MAIN makes it by creating the
# QApplication before any test runs.
function(kvt_add_test name)
  cmake_parse_arguments(ARG "QT_MAIN" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_QT_MAIN)
    set(main kvt_qt_test_main)
  else()
    set(main kvt_test_main)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest ${main})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# kvt_add_subdirectories(dir...): adds each listed folder that has a
# CMakeLists.txt, so a layer's pieces can arrive one at a time.
macro(kvt_add_subdirectories)
  foreach(sub IN ITEMS ${ARGN})
    if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${sub}/CMakeLists.txt")
      add_subdirectory(${sub})
    endif()
  endforeach()
endmacro()

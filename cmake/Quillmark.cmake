# Shared helpers for the per-folder libraries and test suites.
#
# Every folder is one static library named qm_<folder>, built from all the
# .cpp files in it (sub-folders included). Includes are written from the
# repository root: #include "base/text/SafeBuf.h". A folder with no sources yet
# gets an interface library so that the folders above it still configure.

function(qm_library name dir)
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.c)
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
  endif()
endfunction()

# Links a folder library to its dependencies whether or not it has sources yet.
function(qm_link name)
  get_property(tree GLOBAL PROPERTY QM_TREE_FOLDERS)
  if(name IN_LIST tree)
    set_property(GLOBAL APPEND PROPERTY QM_TREE_LINKS ${ARGN})
    return()
  endif()
  get_target_property(type ${name} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_link_libraries(${name} INTERFACE ${ARGN})
  else()
    target_link_libraries(${name} PUBLIC ${ARGN})
  endif()
endfunction()

# One test executable per test source file in tests/<dir>/ and its concern
# sub-folders, linked with the given libraries, registered with ctest through
# gtest discovery.
function(qm_tests dir)
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${dir}/*_test.cpp)
  file(GLOB helpers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${dir}/support/*.cpp)
  foreach(src ${srcs})
    get_filename_component(stem ${src} NAME_WE)
    set(exe test_${dir}_${stem})
    add_executable(${exe} ${src} ${helpers})
    if(QM_SANITIZE)
      target_sources(${exe} PRIVATE ${CMAKE_SOURCE_DIR}/tests/common/LeakSuppressions.cpp)
    endif()
    target_link_libraries(${exe} PRIVATE ${ARGN} GTest::gtest GTest::gmock GTest::gtest_main)
    target_include_directories(${exe} PRIVATE ${CMAKE_SOURCE_DIR})
    target_compile_definitions(${exe} PRIVATE
      QM_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data"
      QM_TEST_OUTPUT_DIR="${CMAKE_BINARY_DIR}/test-output")
    # QM_TEST_TIMEOUT_<exe>, when set, bounds each of that program's tests.
    set(timeout)
    if(DEFINED QM_TEST_TIMEOUT_${exe})
      set(timeout TIMEOUT ${QM_TEST_TIMEOUT_${exe}})
    endif()
    # Listing the tests of a corpus suite reads its pages, which takes a few
    # seconds under the sanitizers on a busy machine.
    gtest_discover_tests(${exe} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
      WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
      PROPERTIES ENVIRONMENT "QM_RESOURCES_DIR=${CMAKE_SOURCE_DIR}/resources" ${timeout})
  endforeach()
endfunction()

# element/, style/ and elements/ call one another (an element lays itself out
# and paints itself through style/, and the factory makes the element kinds),
# so their sources are compiled into one static library, qm_tree. Each of
# those folders still has its own name qm_<folder>: an interface library over
# qm_tree, which its tests and the folders above link. qm_link on such a name
# adds the dependency to qm_tree (names of the group itself are left out).
# qm_tree_library, called once after every folder, makes the library. The
# document, the engine and the control above them are ordinary folders.
function(qm_tree_folder name dir)
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.c)
  set_property(GLOBAL APPEND PROPERTY QM_TREE_SOURCES ${srcs})
  set_property(GLOBAL APPEND PROPERTY QM_TREE_FOLDERS ${name})
  add_library(${name} INTERFACE)
  target_link_libraries(${name} INTERFACE qm_tree)
  target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
endfunction()

function(qm_tree_library)
  get_property(srcs GLOBAL PROPERTY QM_TREE_SOURCES)
  get_property(folders GLOBAL PROPERTY QM_TREE_FOLDERS)
  get_property(links GLOBAL PROPERTY QM_TREE_LINKS)
  list(REMOVE_ITEM links ${folders})
  list(REMOVE_DUPLICATES links)
  add_library(qm_tree STATIC ${srcs})
  target_include_directories(qm_tree PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(qm_tree PUBLIC ${links})
endfunction()

# Where resources/ is for this build: a note at the top of the build folder.
# The resources lookup (platform/sys/Bundle.h) walks up from the module that
# holds the code and reads it, so every build folder, inside the sources or
# not, and a plug-in loaded from it find the project's resources/.
function(qm_note_resources_location)
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/resources.location
       CONTENT "${CMAKE_SOURCE_DIR}/resources\n")
endfunction()
qm_note_resources_location()

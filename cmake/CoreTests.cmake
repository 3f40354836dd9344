# One GoogleTest program per folder of the plan core's tests: every
# *_test.cpp of the calling folder, with the shared helpers of tests/common.
function(halvix_core_tests name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  add_executable(${name} ${sources})
  find_package(ZLIB REQUIRED)
  target_link_libraries(${name} PRIVATE halvix_core ZLIB::ZLIB GTest::gtest_main halvix_eccodes
    ${ARGN})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/common)
  target_compile_definitions(${name} PRIVATE
    HALVIX_SAMPLE_PLAN="${PROJECT_SOURCE_DIR}/examples/sample.flt"
    HALVIX_SAMPLE_WINDS="${PROJECT_SOURCE_DIR}/examples/sample-winds.txt"
    HALVIX_NAVLOG="$<TARGET_FILE:halvix-navlog>"
    HALVIX_LIB_FROM_PROGRAM="${HALVIX_LIB_FROM_PROGRAM}"
    HALVIX_WMM_DIR="${PROJECT_SOURCE_DIR}/data/wmm2025"
    HALVIX_ROUTES="${PROJECT_SOURCE_DIR}/tests/routes/files"
    HALVIX_PLAN_TEST_FILES="${PROJECT_SOURCE_DIR}/tests/plan/files"
    HALVIX_AVIATION_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data/files")
  add_dependencies(${name} halvix-navlog)
  halvix_stage_data(${name})
  include(GoogleTest)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()

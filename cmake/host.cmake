# Host build: the Windows-free code, its tests (also under sanitizers), the build-time tools, benchmarks.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

tivolu_core_layers()
set(SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
tivolu_core_layers(SUFFIX _checked OPTIONS ${SANITIZE} -O1 -g)
foreach(layer framework_core region_core app_core controls_core settings_core)
  target_link_options(${layer}_checked PUBLIC ${SANITIZE})
endforeach()
set(CORE_LAYERS framework_core region_core app_core controls_core settings_core)

# Every folder under tools/ is one command-line tool named after the folder.
file(GLOB TOOL_DIRS LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/*)
foreach(dir ${TOOL_DIRS})
  file(GLOB tool_sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(IS_DIRECTORY ${dir} AND tool_sources)
    get_filename_component(tool ${dir} NAME)
    add_executable(${tool} ${tool_sources})
    target_link_libraries(${tool} PRIVATE ${CORE_LAYERS})
    target_compile_options(${tool} PRIVATE ${WARNINGS})
  endif()
endforeach()

# Host tests: one executable, built with AddressSanitizer and UndefinedBehaviorSanitizer.
file(GLOB_RECURSE HOST_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/host/*.cpp)
add_executable(host_tests ${HOST_TEST_SOURCES})
target_link_libraries(host_tests PRIVATE framework_core_checked region_core_checked app_core_checked
                                         controls_core_checked settings_core_checked
                                         GTest::gtest_main)
# The test sources themselves need no optimisation (the code under test is the checked layers,
# at -O1), and they share one precompiled header.
target_compile_options(host_tests PRIVATE ${SANITIZE} -g -O0)
target_precompile_headers(host_tests PRIVATE <gtest/gtest.h> <string> <vector>)
target_compile_definitions(host_tests PRIVATE TIVOLU_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                              TIVOLU_BUILD_DIR="${CMAKE_BINARY_DIR}")
add_dependencies(host_tests bmp2rgn artc formc)
add_test(NAME host_tests COMMAND host_tests)

# Host benchmarks: bench/host_*.cpp, one executable each.
file(GLOB HOST_BENCHES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/host_*.cpp)
foreach(src ${HOST_BENCHES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(bench_${name} ${src})
  target_link_libraries(bench_${name} PRIVATE ${CORE_LAYERS})
endforeach()

# Tests of the project's own scripts.
add_test(NAME install_deps_test COMMAND bash ${CMAKE_SOURCE_DIR}/tests/scripts/install_deps_test.sh)

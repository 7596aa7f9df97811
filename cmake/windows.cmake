# Windows build: the program, its Windows tests (run under Wine by ctest) and the end-to-end tests.
set(HOST_TOOLS "${CMAKE_SOURCE_DIR}/build/host" CACHE PATH "Folder holding the host build's tools")
set(FORMC ${HOST_TOOLS}/formc)
set(ART_DIR "${CMAKE_SOURCE_DIR}/build/art" CACHE PATH "Folder of the compiled frame pictures")
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
add_compile_options(${WARNINGS})
# The shipped program drops unused code at link time.
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(-static -static-libgcc -static-libstdc++)

# The layers, each linked only to what it may use: the framework to the platform; the region
# components, the settings file, the controls and the tray icon to the framework; the program to
# all. New folders join here with the layers they use.
set(PLATFORM gdi32 user32 shell32 kernel32 comctl32)
tivolu_core_layers()
tivolu_layer(framework USES framework/core SYSTEM ${PLATFORM})
tivolu_layer(region USES framework region/core)
tivolu_layer(settings USES controls tray framework settings/core)
tivolu_layer(controls USES framework controls/core)
tivolu_layer(tray USES framework)
tivolu_layer(app USES settings region controls tray framework app/core EXCLUDE app/main.cpp)
# The Windows layers' sources nearly all include the system's header, which takes most of their
# compile time: they share one precompiled header of it and the standard headers they use most
# (each source still includes what it uses). The Windows-free layers have none.
target_precompile_headers(framework PRIVATE <windows.h> <string> <vector> <memory> <functional>
                          <map>)
foreach(layer region settings controls tray app)
  target_precompile_headers(${layer} REUSE_FROM framework)
endforeach()

# The framework declares the base classes, so its schema comes first.
file(GLOB SCHEMAS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*/classes.txt)
list(REMOVE_ITEM SCHEMAS ${CMAKE_SOURCE_DIR}/src/framework/classes.txt)
list(PREPEND SCHEMAS ${CMAKE_SOURCE_DIR}/src/framework/classes.txt)

# Compiles stored window descriptions (*.dfm, named after their class) into RCDATA resources of TARGET.
function(tivolu_descriptions target)
  cmake_parse_arguments(ARG "" "" "SCHEMAS;FILES" ${ARGN})
  set(rc ${CMAKE_BINARY_DIR}/${target}_descriptions.rc)
  set(rc_text "")
  set(schema_args)
  foreach(schema ${ARG_SCHEMAS})
    list(APPEND schema_args --schema ${schema})
  endforeach()
  foreach(dfm ${ARG_FILES})
    get_filename_component(cls ${dfm} NAME_WE)
    string(TOUPPER ${cls} res)
    set(bin ${CMAKE_BINARY_DIR}/descriptions/${target}/${cls}.bin)
    add_custom_command(OUTPUT ${bin}
      COMMAND ${FORMC} ${schema_args} --include ${ART_DIR} ${dfm} ${bin}
      DEPENDS ${dfm} ${ARG_SCHEMAS} ${FORMC} ${ART_DIR}/stamp
      COMMENT "Compiling window description ${cls}")
    string(APPEND rc_text "${res} RCDATA \"${bin}\"\n")
    list(APPEND bins ${bin})
  endforeach()
  file(GENERATE OUTPUT ${rc} CONTENT "${rc_text}")
  add_custom_target(${target}_descriptions DEPENDS ${bins})
  add_dependencies(${target} ${target}_descriptions)
  target_sources(${target} PRIVATE ${rc})
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${bins}")
endfunction()

# Resource scripts that include pictures compiled by artc into ART_DIR/pictures/.
set(GLYPHS_RC ${CMAKE_SOURCE_DIR}/src/controls/glyphs.rc)
set_source_files_properties(${GLYPHS_RC} PROPERTIES INCLUDE_DIRECTORIES ${ART_DIR}
  OBJECT_DEPENDS ${ART_DIR}/pictures/CHECKBOX.bmp)
set(ICON_RC ${CMAKE_SOURCE_DIR}/src/app/icon.rc)
set_source_files_properties(${ICON_RC} PROPERTIES INCLUDE_DIRECTORIES ${ART_DIR}
  OBJECT_DEPENDS ${ART_DIR}/pictures/MAINICON.ico)

# The program.
file(GLOB PROGRAM_DESCRIPTIONS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/forms/*.dfm)
configure_file(${CMAKE_SOURCE_DIR}/src/app/version.h.in ${CMAKE_BINARY_DIR}/generated/version.h)
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/app/tivolu.rc PROPERTIES
  INCLUDE_DIRECTORIES ${CMAKE_BINARY_DIR}/generated)
add_executable(tivolu WIN32 src/app/main.cpp src/app/tivolu.rc ${ICON_RC} ${GLYPHS_RC})
target_link_libraries(tivolu PRIVATE app)
tivolu_descriptions(tivolu SCHEMAS ${SCHEMAS} FILES ${PROGRAM_DESCRIPTIONS})
# The shipped 32-bit program lands in build/; a 64-bit build (for testing) stays in its own folder.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set_target_properties(tivolu PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_SOURCE_DIR}/build)
endif()
# The shipped program carries no symbols and drops unused code. Its sections start on page
# boundaries in the file as in memory: Wine then maps them from the file, sharing them and reading
# only the pages used, where it would otherwise copy the whole program into private memory.
set(SHIPPED_LINK_OPTIONS -s -Wl,--gc-sections -Wl,--file-alignment,0x1000)
target_link_options(tivolu PRIVATE ${SHIPPED_LINK_OPTIONS})

# Windows tests: tests/win32/<layer>/*_test.cpp, one GoogleTest program each, with the test-only
# descriptions. Tests that use a display run in a lane that ctest hands out (scripts/lane.sh): one
# test a lane at a time, the lanes side by side (scripts/test.sh starts them).
set(LANE ${CMAKE_SOURCE_DIR}/scripts/lane.sh)
file(GLOB WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*/*_test.cpp)
file(GLOB WIN_TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/support/*.cpp)
file(GLOB TEST_DESCRIPTIONS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/forms/*.dfm)
# The program's schemas, for the test that ties them to the code.
string(REPLACE ";" "|" PROGRAM_SCHEMAS "${SCHEMAS}")
# What every test program shares is built once: the support code (with the tests' entry), the
# stored descriptions and the glyph strip. The test sources themselves are compiled without
# optimisation (the code under test is the shipped libraries, optimised as they ship) and with
# one precompiled header of what they all include.
add_library(win_test_support STATIC ${WIN_TEST_SUPPORT})
target_link_libraries(win_test_support PUBLIC app settings GTest::gtest)
target_include_directories(win_test_support PUBLIC ${CMAKE_SOURCE_DIR}/tests/win32)
target_compile_definitions(win_test_support PUBLIC TIVOLU_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                                   TIVOLU_SCHEMAS="${PROGRAM_SCHEMAS}")
target_compile_options(win_test_support PUBLIC -O0)
target_precompile_headers(win_test_support PRIVATE <gtest/gtest.h> <windows.h> <string> <vector>
                          <memory> "${CMAKE_SOURCE_DIR}/tests/win32/support/test_support.h")
add_library(win_test_resources OBJECT ${GLYPHS_RC})
tivolu_descriptions(win_test_resources
                    SCHEMAS ${SCHEMAS} ${CMAKE_SOURCE_DIR}/tests/win32/forms/classes.txt
                    FILES ${TEST_DESCRIPTIONS} ${PROGRAM_DESCRIPTIONS})
# GNU ld takes four seconds or more for each test program (the many sections of their templates'
# code), lld a fifth of one. The 64-bit test programs link with lld where it is installed: gcc then
# runs cmake/lld/collect2, which hands the link to lld. The programs that ship or are measured
# (tivolu.exe, the floor of bench/cpu.sh) and the 32-bit test programs keep GNU ld.
find_program(LLD ld.lld)
if(LLD AND CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(TEST_LINK_OPTIONS -B${CMAKE_SOURCE_DIR}/cmake/lld/)
endif()
foreach(src ${WIN_TESTS})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  list(APPEND TEST_PROGRAMS ${name})
  target_link_libraries(${name} PRIVATE win_test_support win_test_resources)
  target_link_options(${name} PRIVATE ${TEST_LINK_OPTIONS})
  target_precompile_headers(${name} REUSE_FROM win_test_support)
  add_test(NAME ${name} COMMAND bash ${LANE} wine $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600 RESOURCE_GROUPS lanes:1)
endforeach()
target_sources(pictures_test PRIVATE ${ICON_RC})
# These neither use the pointer nor show windows where others look: they may run beside the rest,
# in lane 0's display.
set_tests_properties(region_blob_test walker_handles_test pictures_test PROPERTIES RESOURCE_GROUPS "")
# The settings file's tests run once in the Japanese code page (932, the harness's locale) and
# once in Wine's default Western one (1252); each checks that it got the one it was started for.
foreach(name inifiles_test settings_file_test)
  add_test(NAME ${name}_cp1252 COMMAND bash ${LANE} wine $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES RESOURCE_GROUPS "" ENVIRONMENT "TIVOLU_ANSI_CODE_PAGE=932")
  set_tests_properties(${name}_cp1252 PROPERTIES TIMEOUT 600
    ENVIRONMENT "LANG=C.UTF-8;TIVOLU_ANSI_CODE_PAGE=1252")
endforeach()
# The whole-pixel scaling at three more screen resolutions (the prefix's DPI changed for the run).
foreach(dpi 144 192 288)
  add_test(NAME scale_test_dpi${dpi} COMMAND bash ${LANE} bash
           ${CMAKE_SOURCE_DIR}/tests/win32/support/at_dpi.sh ${dpi} wine $<TARGET_FILE:scale_test>)
  set_tests_properties(scale_test_dpi${dpi} PROPERTIES TIMEOUT 600 RESOURCE_GROUPS lanes:1
                       RESOURCE_LOCK settings_file)
endforeach()

# End-to-end tests: tests/e2e/*_test.sh drive the real program under Wine and Xvfb.
file(GLOB E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*_test.sh)
foreach(script ${E2E_TESTS})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME e2e_${name} COMMAND bash ${LANE} bash ${script})
  set_tests_properties(e2e_${name} PROPERTIES TIMEOUT 300 RESOURCE_GROUPS lanes:1
    ENVIRONMENT "TIVOLU_EXE=$<TARGET_FILE:tivolu>;TIVOLU_BUILD=${CMAKE_BINARY_DIR};TIVOLU_SHIPPED=${CMAKE_SOURCE_DIR}/build/tivolu.exe")
endforeach()
# The user's whole journey once more in Wine's default Western code page.
add_test(NAME e2e_journey_test_cp1252 COMMAND bash ${LANE} bash ${CMAKE_SOURCE_DIR}/tests/e2e/journey_test.sh)
set_tests_properties(e2e_journey_test_cp1252 PROPERTIES TIMEOUT 300 RESOURCE_GROUPS lanes:1
  ENVIRONMENT "TIVOLU_ANSI_CODE_PAGE=1252;TIVOLU_EXE=$<TARGET_FILE:tivolu>;TIVOLU_BUILD=${CMAKE_BINARY_DIR}")
# The tests that read or write the settings file beside the test programs of this build take
# turns, in whichever lane (the end-to-end tests run copies of the program, each in a folder of
# its own).
set_tests_properties(characters_test scale_test status_form_test settings_file_test
  settings_file_test_cp1252 window_test PROPERTIES RESOURCE_LOCK settings_file)

# Windows benchmarks: bench/win_*.cpp.
file(GLOB WIN_BENCHES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/win_*.cpp)
foreach(src ${WIN_BENCHES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(bench_${name} WIN32 ${src} ${GLYPHS_RC})
  target_link_libraries(bench_${name} PRIVATE app)
  if(NOT name STREQUAL win_floor)
    target_link_options(bench_${name} PRIVATE ${TEST_LINK_OPTIONS})
  endif()
endforeach()
# The floor of bench/cpu.sh shows the characters' own frames (the pictures and outline blobs that
# artc wrote to ART_DIR, as RCDATA resources <NAME>_RGN<N>_BMP and <NAME>_RGN<N>_RGN) and the
# program's tray icon.
set(floor_rc_text "TRAYICON ICON \"${ART_DIR}/pictures/TrayIcon.ico\"\n")
foreach(character Mubo Tesk Plim Quarn)
  string(TOUPPER ${character} res)
  foreach(n RANGE 1 12)
    string(APPEND floor_rc_text "${res}_RGN${n}_BMP RCDATA \"${ART_DIR}/${character}/Rgn${n}.bmp\"\n"
                                "${res}_RGN${n}_RGN RCDATA \"${ART_DIR}/${character}/Rgn${n}.rgn\"\n")
  endforeach()
endforeach()
set(FLOOR_RC ${CMAKE_BINARY_DIR}/bench_win_floor_frames.rc)
file(GENERATE OUTPUT ${FLOOR_RC} CONTENT "${floor_rc_text}")
set_source_files_properties(${FLOOR_RC} PROPERTIES OBJECT_DEPENDS ${ART_DIR}/stamp)
target_sources(bench_win_floor PRIVATE ${FLOOR_RC})
# Linked as the program is, so that their memory compares.
target_link_options(bench_win_floor PRIVATE ${SHIPPED_LINK_OPTIONS})
# The settings window's benchmark reads the window's stored description.
tivolu_descriptions(bench_win_settings_open SCHEMAS ${SCHEMAS} FILES ${PROGRAM_DESCRIPTIONS})

# Test helpers: the Wine keeper and the window probe of the end-to-end tests.
add_executable(keeper WIN32 tests/win32/keeper/keeper.cpp)
add_executable(probe tests/e2e/probe/probe.cpp)
target_link_options(keeper PRIVATE ${TEST_LINK_OPTIONS})
target_link_options(probe PRIVATE ${TEST_LINK_OPTIONS})
target_link_libraries(probe PRIVATE gdi32 user32 shell32)
# What a launched file's type is associated with in the launch tests: records its arguments.
add_executable(marker WIN32 tests/e2e/marker/marker.cpp)
target_link_options(marker PRIVATE -municode ${TEST_LINK_OPTIONS})
target_link_libraries(marker PRIVATE shell32)
# The program with an active tray icon of the end-to-end tray test, built from the test window.
add_executable(traydemo WIN32 tests/e2e/traydemo/traydemo.cpp)
target_link_libraries(traydemo PRIVATE app)
target_link_options(traydemo PRIVATE ${TEST_LINK_OPTIONS})
target_include_directories(traydemo PRIVATE ${CMAKE_SOURCE_DIR}/tests/win32)
tivolu_descriptions(traydemo SCHEMAS ${SCHEMAS} ${CMAKE_SOURCE_DIR}/tests/win32/forms/classes.txt
                    FILES ${CMAKE_SOURCE_DIR}/tests/win32/forms/TTrayTestForm.dfm)

# Everything the Windows tests run (the test script builds it first, the benchmarks beside the
# tests).
add_custom_target(windows_tests DEPENDS tivolu keeper probe marker traydemo ${TEST_PROGRAMS})

# The Windows download (make dist) of the shipped program.
add_test(NAME dist_test COMMAND bash ${CMAKE_SOURCE_DIR}/tests/scripts/dist_test.sh)
# The tests of the shipped 32-bit program itself: where the other tests run the 64-bit build, the
# test script builds it beside them and runs these after.
set_tests_properties(dist_test e2e_binary_test PROPERTIES LABELS shipped)

# The longest tests start first (ctest starts the costliest first), so that no long one is left
# running alone at the end: their seconds on a 2-core machine, each run beside others.
foreach(test_cost e2e_monitors_test:80 e2e_journey_test:70 e2e_walk_test:65
                  e2e_journey_test_cp1252:58 e2e_settings_load_test:38 e2e_hidpi_test:37
                  e2e_readonly_folder_test:30 e2e_open_test:27 e2e_startup_failure_test:20
                  e2e_settings_drag_test:18 e2e_frames_test:14 e2e_fullscreen_test:13
                  check_box_test:20
                  # the tests that take turns with the settings file, before the short ones
                  status_form_test:60 characters_test:45 settings_file_test:40
                  settings_file_test_cp1252:40 scale_test:35 scale_test_dpi144:35
                  scale_test_dpi192:35 scale_test_dpi288:35 window_test:35)
  string(REPLACE ":" ";" test_cost ${test_cost})
  list(GET test_cost 0 name)
  list(GET test_cost 1 cost)
  set_tests_properties(${name} PROPERTIES COST ${cost})
endforeach()

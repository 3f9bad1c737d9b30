# The Windows builds: the shipped programs and the helpers the tests and the
# demo run (win32 thread model), or the GoogleTest programs (posix model).
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600)
# -O2, not CMake's -O3: the programs' time goes to the system calls they
# make, and -O3's inlined text building made the images a seventh larger.
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG")
# Stack and buffer checks; no build path in the images.
add_compile_options(-fstack-protector-strong -D_FORTIFY_SOURCE=2
                    -ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=.)
add_link_options(-static -municode -fstack-protector-strong)
enable_language(RC)

# The version the programs carry: a release's own (make dist VERSION=...),
# else the project's.
set(TOLVARINE_VERSION "${PROJECT_VERSION}" CACHE STRING "The programs' version: major.minor.build")
if(NOT TOLVARINE_VERSION MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
  message(FATAL_ERROR "TOLVARINE_VERSION=${TOLVARINE_VERSION} is not major.minor.build")
endif()
set(TOLVARINE_VERSION_MAJOR ${CMAKE_MATCH_1})
set(TOLVARINE_VERSION_MINOR ${CMAKE_MATCH_2})
set(TOLVARINE_VERSION_BUILD ${CMAKE_MATCH_3})

# The resources of one program (icon, manifest, version), generated so that
# the version is given in one place. Gives the .rc file's path. Common
# Controls 6 (the controls' visual style) by the process manifest for a
# program that shows windows of controls from its start (PROCESS), by a
# manifest of its own for its message boxes only (BOXES), or not at all
# (NONE): asked for at start, Windows loads them at every start. A program
# that shows boxes (PROCESS or BOXES) carries the boxes' own manifest, under
# which each box loads them first, as Windows XP needs.
function(tolvarine_program_resources name description common_controls out)
  set(PROGRAM_NAME ${name})
  set(PROGRAM_DESCRIPTION ${description})
  set(CMAKE_SOURCE_DIR_RC ${CMAKE_SOURCE_DIR})
  # The side-by-side Common Controls must match the image's architecture.
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(MANIFEST_ARCHITECTURE amd64)
  else()
    set(MANIFEST_ARCHITECTURE x86)
  endif()
  configure_file(${CMAKE_SOURCE_DIR}/resources/common_controls.xml.in ${CMAKE_BINARY_DIR}/common_controls.xml @ONLY)
  file(READ ${CMAKE_BINARY_DIR}/common_controls.xml dependency)
  set(PROCESS_COMMON_CONTROLS "")
  set(BOX_STYLES_RESOURCE "")
  set(depends "${CMAKE_BINARY_DIR}/${name}.manifest;${CMAKE_SOURCE_DIR}/window/tolvarine.ico")
  if(common_controls STREQUAL "PROCESS")
    set(PROCESS_COMMON_CONTROLS "${dependency}")
  endif()
  if(common_controls MATCHES "^(PROCESS|BOXES)$")
    configure_file(${CMAKE_SOURCE_DIR}/resources/box_styles.manifest.in ${CMAKE_BINARY_DIR}/${name}.box-styles.manifest @ONLY)
    set(BOX_STYLES_RESOURCE "IDR_BOX_STYLES_MANIFEST RT_MANIFEST \"${name}.box-styles.manifest\"")
    list(APPEND depends ${CMAKE_BINARY_DIR}/${name}.box-styles.manifest)
  elseif(NOT common_controls STREQUAL "NONE")
    message(FATAL_ERROR "tolvarine_program_resources: ${common_controls} is not PROCESS, BOXES or NONE")
  endif()
  configure_file(${CMAKE_SOURCE_DIR}/resources/program.manifest.in ${CMAKE_BINARY_DIR}/${name}.manifest @ONLY)
  configure_file(${CMAKE_SOURCE_DIR}/resources/program.rc.in ${CMAKE_BINARY_DIR}/${name}.rc @ONLY)
  # windres does not report the files the script includes.
  set_source_files_properties(${CMAKE_BINARY_DIR}/${name}.rc PROPERTIES OBJECT_DEPENDS "${depends}")
  set(${out} ${CMAKE_BINARY_DIR}/${name}.rc PARENT_SCOPE)
endfunction()

# The shipped images: ASLR with relocations, DEP, terminal-server aware, no
# SEH handlers, no timestamp, loadable on Windows XP SP3 (5.01), and a link
# error for any accidental DLL import.
set(TOLVARINE_IMAGE_LINK_OPTIONS -s
  -Wl,--dynamicbase,--nxcompat,--tsaware,--no-seh,--no-insert-timestamp,--disable-auto-import
  -Wl,--major-os-version,5,--minor-os-version,1,--major-subsystem-version,5,--minor-subsystem-version,1)

add_library(tolvarine_platform STATIC
  platform/console_output.cpp
  platform/file_association.cpp
  platform/message_box.cpp
  platform/process_hardening.cpp
  platform/registry_reader.cpp
  platform/running_program.cpp
  platform/system_error.cpp
  platform/system_library.cpp
  platform/text_encoding.cpp
  platform/top_level_window.cpp
  platform/windows_platform.cpp
)
target_link_libraries(tolvarine_platform PUBLIC tolvarine_logic gdi32 ole32 shell32 user32 advapi32)

add_library(tolvarine_test_support STATIC tests/support/timeline_log.cpp)
target_link_libraries(tolvarine_test_support PUBLIC tolvarine_logic advapi32)

if(TOLVARINE_GTEST)
  tolvarine_program_resources(windows_tests "Tolvarine tests" PROCESS windows_tests_rc)
  add_executable(windows_tests
    tests/windows/form1_test.cpp
    tests/windows/kit_state.cpp
    tests/windows/launch_test.cpp
    tests/windows/main.cpp
    tests/windows/probe_test.cpp
    tests/windows/registry_test.cpp
    tests/windows/windows_test_support.cpp
    window/form1.cpp
    ${windows_tests_rc}
  )
  target_link_libraries(windows_tests PRIVATE tolvarine_platform tolvarine_test_support GTest::gtest)
  # The version the kit's programs carry, built from the same tree.
  target_compile_definitions(windows_tests PRIVATE TOLVARINE_VERSION_TEXT=L"${TOLVARINE_VERSION}")
  return()
endif()

# Both programs carry Form1 and the icon; only ManualLaunch.exe opens the window.
# TolvarineCheck.exe is a console program for administrators' scripts.
tolvarine_program_resources(TolvarineLauncher "Tolvarine Launcher" BOXES launcher_rc)
tolvarine_program_resources(ManualLaunch "Tolvarine manual database launch" PROCESS manual_launch_rc)
tolvarine_program_resources(TolvarineCheck "Tolvarine launcher check" NONE check_rc)
add_executable(TolvarineLauncher WIN32 launcher/main.cpp window/form1.cpp ${launcher_rc})
add_executable(ManualLaunch WIN32 window/manual_launch_main.cpp window/form1.cpp ${manual_launch_rc})
add_executable(TolvarineCheck check/main.cpp ${check_rc})
foreach(program TolvarineLauncher ManualLaunch TolvarineCheck)
  target_link_libraries(${program} PRIVATE tolvarine_platform)
  target_link_options(${program} PRIVATE ${TOLVARINE_IMAGE_LINK_OPTIONS})
endforeach()

# Helpers for the tests, the demo and the benchmark. The stand-in application
# is also built as Access 2003 (11) and as Access 2016 to 365 (16): the same
# program with that version resource, installed as MSACCESS.EXE.
add_executable(standin_app WIN32 tests/support/standin_app.cpp)
foreach(major 11 16)
  set(ACCESS_MAJOR ${major})
  configure_file(tests/support/access_version.rc.in ${CMAKE_BINARY_DIR}/access${major}_version.rc @ONLY)
  add_executable(standin_access${major} WIN32 tests/support/standin_app.cpp ${CMAKE_BINARY_DIR}/access${major}_version.rc)
endforeach()
add_executable(launch_observer WIN32 tests/support/launch_observer.cpp)
foreach(helper standin_app standin_access11 standin_access16 launch_observer)
  target_link_libraries(${helper} PRIVATE tolvarine_test_support shell32 user32)
endforeach()

# A DLL the tests plant where the programs must not load DLLs from.
add_library(planted SHARED tests/support/planted_dll.cpp)
set_target_properties(planted PROPERTIES PREFIX "")

# The benchmark's baseline: a program that only opens the database.
add_executable(shell_open_only WIN32 bench/shell_open_only.cpp)
target_link_libraries(shell_open_only PRIVATE shell32 user32)
# The benchmark's starter: a program started as Explorer starts it, nothing attached.
add_executable(start_time WIN32 bench/start_time.cpp)
target_link_libraries(start_time PRIVATE tolvarine_test_support shell32)
# The benchmark's timer of the launcher's look-up of the Access that opens ".mde" files.
add_executable(lookup_time bench/lookup_time.cpp)
target_link_libraries(lookup_time PRIVATE tolvarine_platform)

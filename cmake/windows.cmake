# The Windows builds: the shipped programs and the helpers the tests and the
# demo run (win32 thread model), or the GoogleTest programs (posix model).
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501)
add_link_options(-static -municode)
enable_language(RC)

add_library(tolvarine_platform STATIC
  platform/system_error.cpp
  platform/top_level_window.cpp
  platform/windows_platform.cpp
)
target_link_libraries(tolvarine_platform PUBLIC tolvarine_logic ole32 shell32 user32 advapi32)

if(TOLVARINE_GTEST)
  add_executable(wine_tests
    tests/wine/form1_test.cpp
    tests/wine/launch_test.cpp
    tests/wine/registry_test.cpp
    tests/wine/launcher_directory_test.cpp
    tests/wine/wine_test_support.cpp
    tests/wine/main.cpp
    window/form1.cpp
    resources/program.rc
  )
  target_link_libraries(wine_tests PRIVATE tolvarine_platform gdi32 GTest::gtest)
  return()
endif()

# Both programs carry Form1 and the icon; only ManualLaunch.exe opens the window.
add_executable(TolvarineLauncher WIN32 launcher/main.cpp window/form1.cpp resources/program.rc)
add_executable(ManualLaunch WIN32 window/manual_launch_main.cpp window/form1.cpp resources/program.rc)
foreach(program TolvarineLauncher ManualLaunch)
  target_link_libraries(${program} PRIVATE tolvarine_platform gdi32)
endforeach()

# Helpers for the tests, the demo and the benchmark.
add_library(tolvarine_test_support STATIC tests/support/timeline_log.cpp)
target_include_directories(tolvarine_test_support PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(tolvarine_test_support PUBLIC advapi32)
foreach(helper standin_app launch_observer)
  add_executable(${helper} WIN32 tests/support/${helper}.cpp)
  target_link_libraries(${helper} PRIVATE tolvarine_test_support shell32 user32)
endforeach()

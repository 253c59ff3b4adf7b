# Cross build: the program, the Win32 layer and its tests (run under Wine by
# the emulator wrapper; cmake/wine-emulator.sh.in).
enable_language(RC)
set(KOLVI_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH "Wine prefix the tests run in")
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-emulator.sh.in ${CMAKE_BINARY_DIR}/wine-emulator.sh
  @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-emulator.sh)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} --codepage=65001")

set(KOLVI_WIN_DEFS UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)
configure_file(${CMAKE_SOURCE_DIR}/cmake/kolvi_version.h.in ${CMAKE_BINARY_DIR}/generated/kolvi_version.h @ONLY)
include_directories(${CMAKE_BINARY_DIR}/generated)

# The Win32 layer: every */win32/ folder (the platform's and the features'
# views). Resource ids are visible here and to the exe and the Win32 tests.
file(GLOB_RECURSE KOLVI_WIN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*/win32/*.cpp)
add_library(kolvi_win STATIC ${KOLVI_WIN_SOURCES})
target_include_directories(kolvi_win PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/res)
target_compile_definitions(kolvi_win PUBLIC ${KOLVI_WIN_DEFS})
target_compile_options(kolvi_win PRIVATE ${KOLVI_WARNINGS})
# Only the DLLs every start needs are linked; the shell, the common dialogs,
# the multimedia commands and COM are loaded on first use (system_library.h).
target_link_libraries(kolvi_win PUBLIC kolvi_core comctl32 imm32 gdi32 user32 kernel32)

set(KOLVI_RC ${CMAKE_SOURCE_DIR}/res/kolvialarm.rc)
set_source_files_properties(${KOLVI_RC} PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/res/app.manifest;${CMAKE_SOURCE_DIR}/res/kolvialarm.ico;${CMAKE_SOURCE_DIR}/res/resource.h")

add_executable(kolvialarm WIN32 ${CMAKE_SOURCE_DIR}/src/app/main.cpp ${KOLVI_RC})
target_link_libraries(kolvialarm PRIVATE kolvi_win)
target_compile_options(kolvialarm PRIVATE ${KOLVI_WARNINGS})
target_link_options(kolvialarm PRIVATE -municode -mwindows -s)

# GoogleTest from Debian's sources, built with the same cross compiler.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

# In-process Win32 tests: the real forms from the real resources.
file(GLOB KOLVI_WIN_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
add_executable(kolvi_win_tests ${KOLVI_WIN_TEST_SOURCES} ${KOLVI_RC})
target_link_libraries(kolvi_win_tests PRIVATE kolvi_win gtest gtest_main ole32)
target_include_directories(kolvi_win_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_options(kolvi_win_tests PRIVATE ${KOLVI_WARNINGS})
target_compile_definitions(kolvi_win_tests PRIVATE KOLVI_TEST_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
# An output device for the tests of the sound output: ALSA's null sink.
file(WRITE ${CMAKE_BINARY_DIR}/alsa-null.conf "pcm.!default { type null }\n")
gtest_discover_tests(kolvi_win_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  PROPERTIES TIMEOUT 60 LABELS wine
    ENVIRONMENT "ALSA_CONFIG_PATH=/usr/share/alsa/alsa.conf:${CMAKE_BINARY_DIR}/alsa-null.conf")

# End to end: a driver that starts the real exe in a throw-away program directory.
file(GLOB KOLVI_E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
if(KOLVI_E2E_SOURCES)
  add_executable(kolvi_e2e_tests ${KOLVI_E2E_SOURCES})
  target_link_libraries(kolvi_e2e_tests PRIVATE gtest gtest_main)
  # Whatever the program plays lands in this file (ALSA's file plugin over a
  # null sink), so a test can tell that a sound was really produced.
  set(KOLVI_AUDIO_CAPTURE ${CMAKE_BINARY_DIR}/e2e-audio.raw)
  file(WRITE ${CMAKE_BINARY_DIR}/alsa-capture.conf
    "pcm.!default { type file; slave.pcm \"nullsink\"; file \"${KOLVI_AUDIO_CAPTURE}\"; format \"raw\" }\n"
    "pcm.nullsink { type null }\n")
  target_compile_definitions(kolvi_e2e_tests PRIVATE ${KOLVI_WIN_DEFS}
    KOLVI_TEST_SOURCE_DIR="${CMAKE_SOURCE_DIR}" KOLVI_EXE_PATH="$<TARGET_FILE:kolvialarm>"
    KOLVI_AUDIO_CAPTURE="${KOLVI_AUDIO_CAPTURE}")
  target_include_directories(kolvi_e2e_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_options(kolvi_e2e_tests PRIVATE ${KOLVI_WARNINGS})
  target_link_libraries(kolvi_e2e_tests PRIVATE kolvi_win)
  add_dependencies(kolvi_e2e_tests kolvialarm)
  gtest_discover_tests(kolvi_e2e_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT 120 LABELS e2e RUN_SERIAL TRUE
      ENVIRONMENT "ALSA_CONFIG_PATH=/usr/share/alsa/alsa.conf:${CMAKE_BINARY_DIR}/alsa-capture.conf")
endif()

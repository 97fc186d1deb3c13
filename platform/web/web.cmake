# The show in a web page: the same libraries as the native program, linked with the web platform
# layer into krom7316.js + krom7316.wasm beside the page index.html (three files, any static host).
# The show's loops wait by giving the browser its turn at the pacer's sleep, the present and the
# pause; ASYNCIFY lets those waits return to the browser and resume the loop where it stood.
file(GLOB web_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/web/*.cpp)
add_executable(krom7316 driver/main.cpp ${web_srcs})
target_link_libraries(krom7316 PRIVATE krom m)
target_link_options(krom7316 PRIVATE
  -sASYNCIFY=1 -sASYNCIFY_STACK_SIZE=65536
  -sMODULARIZE=1 -sEXPORT_NAME=createKrom -sENVIRONMENT=web
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864 -sEXIT_RUNTIME=1)
configure_file(${CMAKE_SOURCE_DIR}/platform/web/index.html ${CMAKE_BINARY_DIR}/index.html COPYONLY)

# The core's unit tests built for WebAssembly and run under node by ctest (GoogleTest from the
# sources Debian ships with its development package): every subsystem whose code the page runs.
# The native platform layers (X11, ALSA, the recorder) have their tests in the native build.
if(KROM_TESTS AND EXISTS /usr/src/googletest/CMakeLists.txt)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  target_compile_options(gtest PRIVATE -w)
  target_compile_options(gtest_main PRIVATE -w)
  enable_testing()
  add_library(krom_web_rand OBJECT platform/web/randlibc.cpp platform/sysrand.cpp)
  add_library(krom_no_sound_device OBJECT tests/helpers/no_sound_device.cpp platform/snddev.cpp)
  function(krom_web_tests dir)
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${dir}/*.cpp)
    # The Linux random sequence, as in the page: the tests' expected draws and pictures need it.
    add_executable(tests_${dir} ${srcs} $<TARGET_OBJECTS:krom_web_rand>)
    target_link_libraries(tests_${dir} PRIVATE ${ARGN} gtest gtest_main m)
    target_compile_definitions(tests_${dir} PRIVATE
      KROM_SOURCE_DIR="${CMAKE_SOURCE_DIR}" KROM_BINARY_DIR="${CMAKE_BINARY_DIR}")
    # Files of the source tree are read through node's own file system.
    target_link_options(tests_${dir} PRIVATE -sENVIRONMENT=node -sNODERAWFS=1 -sEXIT_RUNTIME=1
      -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864)
    # One node process per program: starting node for each of hundreds of cases costs minutes.
    add_test(NAME web_tests_${dir} COMMAND tests_${dir} ${KROM_WEB_TEST_ARGS_${dir}})
    set_tests_properties(web_tests_${dir} PROPERTIES LABELS unit TIMEOUT 300)
  endfunction()
  # Standard output goes to the page's console, not through a descriptor GoogleTest can capture;
  # the resource generator is a native tool the web build does not make.
  set(KROM_WEB_TEST_ARGS_vector --gtest_filter=-Vec2d.ReportsRefusedCallsAndSeg2dStaysSilent)
  set(KROM_WEB_TEST_ARGS_resources --gtest_filter=-ResourceGenerator.*)
  # The programs that run the show's loops link a platform that never stops them or the process.
  add_library(krom_test_platform OBJECT tests/helpers/test_platform.cpp)
  krom_web_tests(image krom_image)
  # XSND through the OSS backend on fake system calls, as in the native audio tests.
  krom_web_tests(audio krom_audio)
  target_sources(tests_audio PRIVATE platform/snddev.cpp platform/ossdev.cpp)
  krom_web_tests(text krom_text krom_image)
  krom_web_tests(vector krom_vector krom_text krom_image krom_audio krom_no_sound_device)
  krom_web_tests(effects krom_effects krom_image krom_audio krom_no_sound_device)
  krom_web_tests(resources krom_resources krom_image krom_vector krom_text krom_audio krom_no_sound_device)
  krom_web_tests(platform krom krom_test_platform krom_no_sound_device)
  krom_web_tests(driver krom krom_test_platform krom_no_sound_device)
  krom_web_tests(scenes krom krom_test_platform krom_no_sound_device)
  # The page's sound player, taken from the page as it ships.
  find_program(KROM_NODE node REQUIRED)
  add_test(NAME web_player COMMAND ${KROM_NODE} ${CMAKE_SOURCE_DIR}/tests/web/player.cjs
                                   ${CMAKE_SOURCE_DIR}/platform/web/index.html)
  set_tests_properties(web_player PROPERTIES LABELS unit)
endif()

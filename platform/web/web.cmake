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

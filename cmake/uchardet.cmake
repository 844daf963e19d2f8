# The character-set detector, compiled from the source package that
# scripts/setup.sh fetches into build/deps (shared by both architectures),
# into a static library of our own: its library sources only, none of its
# tools or install steps, with its warnings off so that ours stay readable.
file(GLOB UCHARDET_TREES LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/build/deps/uchardet-[0-9]*)
set(UCHARDET_SOURCE_DIR "")
if(UCHARDET_TREES)
  list(SORT UCHARDET_TREES)
  list(GET UCHARDET_TREES -1 UCHARDET_TREE)
  set(UCHARDET_SOURCE_DIR ${UCHARDET_TREE}/src)
endif()
if(NOT EXISTS "${UCHARDET_SOURCE_DIR}/uchardet.h")
  message(FATAL_ERROR "The source of uchardet is missing in ${CMAKE_SOURCE_DIR}/build/deps: "
                      "run scripts/setup.sh (as root) to fetch it.")
endif()
file(GLOB UCHARDET_SOURCES ${UCHARDET_SOURCE_DIR}/*.cpp ${UCHARDET_SOURCE_DIR}/LangModels/*.cpp)
add_library(uchardet STATIC ${UCHARDET_SOURCES})
target_compile_options(uchardet PRIVATE $<IF:$<CXX_COMPILER_ID:MSVC>,/w,-w>)
target_include_directories(uchardet SYSTEM PUBLIC ${UCHARDET_SOURCE_DIR})
# Its licence, which ships beside the program in the release packages.
set(UCHARDET_LICENSE ${UCHARDET_TREE}/COPYING)

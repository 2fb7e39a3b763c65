# Common settings for our own targets.
add_library(marivel_options INTERFACE)
target_compile_options(marivel_options INTERFACE
  -Wall -Wextra -Werror -flifetime-dse=1 -fno-strict-aliasing)
target_include_directories(marivel_options INTERFACE ${PROJECT_SOURCE_DIR})
if(MARIVEL_NO_POOL)
  target_compile_definitions(marivel_options INTERFACE MARIVEL_NO_POOL=1)
endif()
if(MARIVEL_DEVELOPER)
  target_compile_definitions(marivel_options INTERFACE MARIVEL_DEVELOPER=1)
endif()

# Source paths in log lines and checks are relative to the project, not to the build machine.
add_compile_options(-fmacro-prefix-map=${PROJECT_SOURCE_DIR}/=)

# -flifetime-dse=1 also for code we do not own, so inlined constructors never drop the pool's zero fill.
add_compile_options(-flifetime-dse=1)

# Line tables only: sanitizer stack traces keep their files and lines, the compiler does half the work.
if(MARIVEL_DEBUG_INFO STREQUAL "lines")
  add_compile_options($<$<CONFIG:RelWithDebInfo,Debug>:-g1>)
elseif(NOT MARIVEL_DEBUG_INFO STREQUAL "full")
  message(FATAL_ERROR "MARIVEL_DEBUG_INFO is full or lines, not ${MARIVEL_DEBUG_INFO}")
endif()

# lld links the large sanitised test programs several times faster than the default linker.
include(CheckLinkerFlag)
check_linker_flag(CXX -fuse-ld=lld MARIVEL_HAVE_LLD)
if(MARIVEL_HAVE_LLD)
  add_link_options(-fuse-ld=lld)
endif()

if(MARIVEL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# marivel_library(<folder> [DEPS ...]): one static library per subsystem folder from its sources.
function(marivel_library folder)
  cmake_parse_arguments(ML "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/${folder}/*.c)
  # Programs of a folder live in its main/ and tools/ subfolders, outside the library.
  list(FILTER srcs EXCLUDE REGEX "^${PROJECT_SOURCE_DIR}/${folder}/(main|tools)/")
  set(target marivel_${folder})
  if(srcs)
    add_library(${target} STATIC ${srcs})
    target_link_libraries(${target} PUBLIC marivel_options ${ML_DEPS})
    # Sanitised libraries at -O1: a quarter less compile time, the same test run time.
    if(MARIVEL_SANITIZE)
      target_compile_options(${target} PRIVATE $<$<CONFIG:RelWithDebInfo>:-O1>)
    endif()
  else()
    add_library(${target} INTERFACE)
    target_link_libraries(${target} INTERFACE marivel_options ${ML_DEPS})
  endif()
endfunction()

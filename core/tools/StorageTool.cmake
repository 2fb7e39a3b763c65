# marivel-storage: inspects and repairs a Storage.xml; the core tests drive it.
add_executable(marivel-storage ${CMAKE_CURRENT_LIST_DIR}/storage-tool.cpp)
target_link_libraries(marivel-storage PRIVATE marivel_core)

# The test program is defined later: once every folder is read, build the tool with it
# and tell it where the tool lies.
function(marivel_storage_tool_for_tests)
  if(TARGET test_core)
    add_dependencies(test_core marivel-storage)
    target_compile_definitions(test_core PRIVATE MARIVEL_STORAGE_TOOL="$<TARGET_FILE:marivel-storage>")
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL marivel_storage_tool_for_tests)

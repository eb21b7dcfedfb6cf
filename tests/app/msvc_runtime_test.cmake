# cmake -P msvc_runtime_test.cmake: no Visual Studio runs here, so the
# setting is checked the way CMake can: the static runtime is what
# cmake/MsvcRuntime.cmake asks for, the policy that makes CMake honour it is
# in force (cmake_minimum_required 3.15 or later), and the top CMakeLists.txt
# includes it before its first target.
set(root ${CMAKE_CURRENT_LIST_DIR}/../..)
include(${root}/cmake/MsvcRuntime.cmake)
if(NOT CMAKE_MSVC_RUNTIME_LIBRARY STREQUAL "MultiThreaded$<$<CONFIG:Debug>:Debug>")
    message(FATAL_ERROR "the MSVC runtime is ${CMAKE_MSVC_RUNTIME_LIBRARY}, not the static one")
endif()
file(READ ${root}/CMakeLists.txt top)
if(NOT top MATCHES "cmake_minimum_required\\(VERSION ([0-9]+\\.[0-9]+)")
    message(FATAL_ERROR "no cmake_minimum_required in CMakeLists.txt")
endif()
if(CMAKE_MATCH_1 VERSION_LESS 3.15)
    message(FATAL_ERROR "cmake_minimum_required ${CMAKE_MATCH_1}: CMP0091 would be OLD")
endif()
string(FIND "${top}" "include(cmake/MsvcRuntime.cmake)" at_include)
string(REGEX MATCH "\nadd_(library|executable)\\(" first_target "${top}")
string(FIND "${top}" "${first_target}" at_target)
if(at_include LESS 0 OR (at_target GREATER_EQUAL 0 AND at_include GREATER at_target))
    message(FATAL_ERROR "CMakeLists.txt does not include cmake/MsvcRuntime.cmake before its first target")
endif()
message(STATUS "the Visual Studio build links the static C runtime")

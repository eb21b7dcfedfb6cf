# The system DLLs the program calls besides KERNEL32, msvcrt and ntdll. None
# is imported at load time: each is loaded on its first call, from System32
# only (base/SystemLibrary.h), so that nothing saved beside the program is
# ever loaded into it.
# In the order that decides which DLL a name exported by several belongs to.
set(KORVIX_LATE_DLLS user32 gdi32 comctl32 advapi32 shlwapi shell32 ole32 oleaut32 gdiplus
    wininet winhttp crypt32 wintrust version oleacc)

# korvix_system: the loading and its first-call stubs. Every layer of the
# program links it instead of the DLLs' import libraries.
if(MSVC)
    add_library(korvix_system STATIC base/SystemLibrary.cpp)
    target_link_libraries(korvix_system PUBLIC ${KORVIX_LATE_DLLS} delayimp)
    foreach(dll IN LISTS KORVIX_LATE_DLLS)
        target_link_options(korvix_system INTERFACE /DELAYLOAD:${dll}.dll)
    endforeach()
else()
    enable_language(ASM)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(stub_arch x86_64)
    else()
        set(stub_arch i686)
    endif()
    set(stub_dir ${CMAKE_BINARY_DIR}/late-dlls)
    file(MAKE_DIRECTORY ${stub_dir})
    set(stubs "")
    set(pairs "")
    set(import_libs "")
    foreach(dll IN LISTS KORVIX_LATE_DLLS)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=lib${dll}.a
            OUTPUT_VARIABLE import_lib OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(NOT IS_ABSOLUTE "${import_lib}")
            message(FATAL_ERROR "no import library lib${dll}.a for ${CMAKE_CXX_COMPILER}")
        endif()
        list(APPEND stubs ${stub_dir}/${dll}.s)
        list(APPEND pairs ${import_lib} ${dll}.dll)
        list(APPEND import_libs ${import_lib})
    endforeach()
    add_custom_command(OUTPUT ${stubs}
        COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/delay_imports.py
            ${CMAKE_NM} ${stub_arch} ${stub_dir} ${pairs}
        DEPENDS ${CMAKE_SOURCE_DIR}/tools/delay_imports.py ${import_libs}
        COMMENT "First-call stubs of ${KORVIX_LATE_DLLS}")
    add_library(korvix_system STATIC base/SystemLibrary.cpp ${stubs})
endif()
target_include_directories(korvix_system PUBLIC base)
korvix_target_options(korvix_system)

# korvix_load_config(target): the executable's load configuration says that
# what it imports comes from System32 (app/LoadConfig.cpp).
function(korvix_load_config target)
    if(MSVC)
        target_link_options(${target} PRIVATE /DEPENDENTLOADFLAG:0x800)
        return()
    endif()
    target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/app/LoadConfig.cpp)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(symbol _load_config_used)
    else()
        set(symbol __load_config_used)
    endif()
    set(map ${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
    target_link_options(${target} PRIVATE -Wl,--undefined=${symbol} -Wl,-Map=${map})
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/pe_load_config.py
            $<TARGET_FILE:${target}> ${map}
        VERBATIM)
endfunction()

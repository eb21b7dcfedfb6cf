# Compile and link options shared by the program, its tests and test tools.
function(korvix_target_options target)
    target_compile_definitions(${target} PRIVATE
        UNICODE _UNICODE NOMINMAX WINVER=0x0601 _WIN32_WINNT=0x0601)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /utf-8)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Werror
            -ffunction-sections -fdata-sections)
        # One file on a clean machine: no MinGW runtime DLL beside it. The
        # program is downloaded before anything else, so unused code goes.
        target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++
            -Wl,--gc-sections $<$<CONFIG:Release,MinSizeRel>:-s>)
    endif()
endfunction()

# For programs whose entry point is wWinMain or wmain.
function(korvix_unicode_entry target)
    if(NOT MSVC)
        target_link_options(${target} PRIVATE -municode)
    endif()
endfunction()

# Embeds the generated language packs (and the pictures, where the .rc
# includes them) through the target's .rc file.
function(korvix_embed_language_packs target rc_file)
    target_include_directories(${target} PRIVATE ${KORVIX_PACK_DIR} ${CMAKE_SOURCE_DIR}/resources)
    file(GLOB pictures ${CMAKE_SOURCE_DIR}/resources/images/*.png)
    set_property(SOURCE ${rc_file} APPEND PROPERTY OBJECT_DEPENDS
        ${KORVIX_PACK_FILES} ${KORVIX_PACK_DIR}/language_packs.rc
        ${CMAKE_SOURCE_DIR}/resources/images/images.rc ${pictures})
    add_dependencies(${target} language_packs)
endfunction()

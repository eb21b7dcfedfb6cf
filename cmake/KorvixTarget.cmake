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

# korvix_embed_language_packs(target rc_file [PACKS set]): embeds a set of
# language packs (default: the product's), and the pictures where the .rc
# includes them, through the target's .rc file.
function(korvix_embed_language_packs target rc_file)
    cmake_parse_arguments(E "" "PACKS" "" ${ARGN})
    if(NOT E_PACKS)
        set(E_PACKS product)
    endif()
    get_property(dir GLOBAL PROPERTY KORVIX_PACKS_${E_PACKS}_DIR)
    get_property(files GLOBAL PROPERTY KORVIX_PACKS_${E_PACKS}_FILES)
    target_include_directories(${target} PRIVATE ${dir} ${CMAKE_SOURCE_DIR}/resources)
    file(GLOB pictures ${CMAKE_SOURCE_DIR}/resources/images/*.png)
    set_property(SOURCE ${rc_file} APPEND PROPERTY OBJECT_DEPENDS
        ${files} ${dir}/language_packs.rc
        ${CMAKE_SOURCE_DIR}/resources/images/images.rc ${pictures}
        ${CMAKE_SOURCE_DIR}/resources/Korvix_Setup.manifest)
    add_dependencies(${target} language_packs_${E_PACKS})
endfunction()

# korvix_analytics_account(target [HOST host] [PROPERTY id]): the analytics
# account the program reports to (default: the product's settings).
function(korvix_analytics_account target)
    cmake_parse_arguments(A "" "HOST;PROPERTY" "" ${ARGN})
    set(KORVIX_ACCOUNT_HOST ${KORVIX_ANALYTICS_HOST})
    set(KORVIX_ACCOUNT_PROPERTY ${KORVIX_ANALYTICS_PROPERTY})
    if(A_HOST)
        set(KORVIX_ACCOUNT_HOST ${A_HOST})
    endif()
    if(A_PROPERTY)
        set(KORVIX_ACCOUNT_PROPERTY ${A_PROPERTY})
    endif()
    korvix_generated_source(${target} AnalyticsAccount)
endfunction()

# korvix_installer_publisher(target [NAME name]): whose signature the program
# requires on the installer it runs (default: KORVIX_INSTALLER_PUBLISHER).
function(korvix_installer_publisher target)
    cmake_parse_arguments(P "" "NAME" "" ${ARGN})
    set(KORVIX_SIGNER ${KORVIX_INSTALLER_PUBLISHER})
    if(P_NAME)
        set(KORVIX_SIGNER ${P_NAME})
    endif()
    korvix_generated_source(${target} Publisher)
endfunction()

# korvix_generated_source(target name): install/<name>.cpp.in, filled in with
# the caller's variables, compiled into target alone.
function(korvix_generated_source target name)
    set(out ${CMAKE_BINARY_DIR}/generated/${target}/${name}.cpp)
    configure_file(${CMAKE_SOURCE_DIR}/install/${name}.cpp.in ${out} @ONLY)
    target_sources(${target} PRIVATE ${out})
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/install)
endfunction()

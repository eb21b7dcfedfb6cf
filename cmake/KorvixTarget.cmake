# Compile and link options shared by the program, its tests and test tools.
function(korvix_target_options target)
    target_compile_definitions(${target} PRIVATE
        UNICODE _UNICODE NOMINMAX WINVER=0x0601 _WIN32_WINNT=0x0601)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /utf-8 /Brepro)
        target_link_options(${target} PRIVATE /Brepro)
        if(CMAKE_SIZEOF_VOID_P EQUAL 4)
            target_link_options(${target} PRIVATE /LARGEADDRESSAWARE)
        endif()
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Werror
            -ffunction-sections -fdata-sections)
        # One file on a clean machine: no MinGW runtime DLL beside it. The
        # program is downloaded before anything else, so unused code goes.
        target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++
            -Wl,--gc-sections $<$<CONFIG:Release,MinSizeRel>:-s>)
        # A 32-bit program may use the 4 GiB that 64-bit Windows gives it:
        # the whole installer is held in memory while it downloads.
        if(CMAKE_SIZEOF_VOID_P EQUAL 4)
            target_link_options(${target} PRIVATE -Wl,--large-address-aware)
        endif()
        # The same bytes from every build of a commit: no link time in the
        # PE header (nor the checksum that follows from it), no build path.
        target_compile_options(${target} PRIVATE
            -ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)
        target_link_options(${target} PRIVATE -Wl,--no-insert-timestamp)
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
    target_include_directories(${target} PRIVATE ${dir} ${CMAKE_SOURCE_DIR}/resources
        ${CMAKE_BINARY_DIR}/version)
    file(GLOB pictures ${CMAKE_SOURCE_DIR}/resources/images/*.png
        ${CMAKE_SOURCE_DIR}/resources/images/2x/*.png)
    set_property(SOURCE ${rc_file} APPEND PROPERTY OBJECT_DEPENDS
        ${files} ${dir}/language_packs.rc
        ${CMAKE_SOURCE_DIR}/resources/images/images.rc ${pictures}
        ${CMAKE_BINARY_DIR}/version/Korvix_Setup.manifest ${CMAKE_BINARY_DIR}/version/KorvixVersion.h)
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

# korvix_installer_publisher(target [NAME name] [ISSUER issuer] [MIN_VERSION a.b.c.d]):
# whose installer the program runs: signed by NAME (default:
# KORVIX_INSTALLER_PUBLISHER), under a CA named ISSUER (default:
# KORVIX_INSTALLER_ISSUER; empty: any trusted CA), of a file version of at
# least MIN_VERSION (default: KORVIX_MIN_INSTALLER_VERSION; empty: any).
function(korvix_installer_publisher target)
    cmake_parse_arguments(P "" "NAME;ISSUER;MIN_VERSION" "" ${ARGN})
    set(KORVIX_SIGNER "${KORVIX_INSTALLER_PUBLISHER}")
    set(KORVIX_SIGNER_ISSUER "${KORVIX_INSTALLER_ISSUER}")
    set(version "${KORVIX_MIN_INSTALLER_VERSION}")
    if(P_NAME)
        set(KORVIX_SIGNER "${P_NAME}")
    endif()
    if(DEFINED P_ISSUER)
        set(KORVIX_SIGNER_ISSUER "${P_ISSUER}")
    endif()
    if(DEFINED P_MIN_VERSION)
        set(version "${P_MIN_VERSION}")
    endif()
    korvix_check_installer_policy("${KORVIX_SIGNER}" "${KORVIX_SIGNER_ISSUER}" "${version}")
    if("${version}" STREQUAL "")
        set(KORVIX_VERSION_REQUIRED false)
        set(KORVIX_MIN_VERSION 0x0)
    else()
        string(REPLACE "." ";" parts ${version})
        list(GET parts 0 a)
        list(GET parts 1 b)
        list(GET parts 2 c)
        list(GET parts 3 d)
        set(KORVIX_VERSION_REQUIRED true)
        math(EXPR KORVIX_MIN_VERSION "(${a} << 48) | (${b} << 32) | (${c} << 16) | ${d}"
            OUTPUT_FORMAT HEXADECIMAL)
    endif()
    korvix_generated_source(${target} Publisher)
endfunction()

# The installer policy's values, checked before they go into source code.
function(korvix_check_installer_policy publisher issuer version)
    if("${publisher}" STREQUAL "" OR "${publisher}" MATCHES "[\"\\\\]")
        message(FATAL_ERROR "the installer's publisher must be a name without quotes or backslashes")
    endif()
    if("${issuer}" MATCHES "[\"\\\\]")
        message(FATAL_ERROR "the installer's issuer must be a name without quotes or backslashes")
    endif()
    if(NOT "${version}" STREQUAL "")
        if(NOT "${version}" MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
            message(FATAL_ERROR "the minimum installer version must look like 1.2.3.4, not ${version}")
        endif()
        foreach(part ${CMAKE_MATCH_1} ${CMAKE_MATCH_2} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4})
            if(part GREATER 65535)
                message(FATAL_ERROR "each part of the minimum installer version is at most 65535")
            endif()
        endforeach()
    endif()
endfunction()

# korvix_generated_source(target name): install/<name>.cpp.in, filled in with
# the caller's variables, compiled into target alone.
function(korvix_generated_source target name)
    set(out ${CMAKE_BINARY_DIR}/generated/${target}/${name}.cpp)
    configure_file(${CMAKE_SOURCE_DIR}/install/${name}.cpp.in ${out} @ONLY)
    target_sources(${target} PRIVATE ${out})
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/install)
endfunction()

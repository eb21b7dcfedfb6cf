# Build-time settings. The program reads no setting at run time: the
# addresses go into the language packs, the analytics account and the
# installer's publisher into generated sources.
set(KORVIX_DOWN_URL "https://download.velmora.com/korvix/velmora-korvix_setup.exe"
    CACHE STRING "Address of the product's full installer (same in every pack)")

set(KORVIX_INSTALLER_PUBLISHER "Velmora"
    CACHE STRING "Subject common name of the certificate that signs the installer at KORVIX_DOWN_URL")
set(KORVIX_INSTALLER_ISSUER ""
    CACHE STRING "Common name of the CA that issues the publisher's code-signing certificate (empty: not checked)")
set(KORVIX_MIN_INSTALLER_VERSION ""
    CACHE STRING "Lowest file version a.b.c.d of the installer that may run (empty: not checked)")

set(KORVIX_LICENCE_URL_EN "https://www.velmora.com/company/license-agreement/"
    CACHE STRING "Licence page, English pack")
set(KORVIX_LICENCE_URL_ZH_TW "https://tw.velmora.com/company/license-agreement/"
    CACHE STRING "Licence page, Traditional Chinese pack")
set(KORVIX_LICENCE_URL_FR "https://fr.velmora.com/company/license-agreement/"
    CACHE STRING "Licence page, French pack")
set(KORVIX_LICENCE_URL_DE "https://de.velmora.com/company/license-agreement/"
    CACHE STRING "Licence page, German pack")
set(KORVIX_LICENCE_URL_IT "https://it.velmora.com/company/license-agreement/"
    CACHE STRING "Licence page, Italian pack")
set(KORVIX_LICENCE_URL_JA "https://jp.velmora.com/company/license-agreement/"
    CACHE STRING "Licence page, Japanese pack")

set(KORVIX_ANALYTICS_HOST "collect.velmora.com"
    CACHE STRING "Host of the analytics collection endpoint")
set(KORVIX_ANALYTICS_PROPERTY "UA-40925113-07"
    CACHE STRING "Analytics property id, UA- then 8 digits, - and 2 digits")

if(NOT KORVIX_ANALYTICS_PROPERTY MATCHES "^UA-[0-9][0-9][0-9][0-9][0-9][0-9][0-9][0-9]-[0-9][0-9]$")
    message(FATAL_ERROR "KORVIX_ANALYTICS_PROPERTY must look like UA-12345678-01")
endif()
foreach(url KORVIX_DOWN_URL KORVIX_LICENCE_URL_EN KORVIX_LICENCE_URL_ZH_TW KORVIX_LICENCE_URL_FR
        KORVIX_LICENCE_URL_DE KORVIX_LICENCE_URL_IT KORVIX_LICENCE_URL_JA)
    if(NOT ${url} MATCHES "^https://[^/]+/")
        message(FATAL_ERROR "${url} must be an absolute https address with a path")
    endif()
endforeach()


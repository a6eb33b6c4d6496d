# The LibreOffice UNO SDK as a target. Debian ships the core headers and the
# type libraries but not the com/sun/star headers, so cppumaker generates them
# into the build tree; LibreOffice::SDK carries everything a UNO client needs.
include_guard(GLOBAL)

set(LIBREOFFICE_PROGRAM_DIR /usr/lib/libreoffice/program CACHE PATH "LibreOffice program folder")
set(LIBREOFFICE_SDK_DIR /usr/lib/libreoffice/sdk CACHE PATH "LibreOffice SDK folder")
set(LIBREOFFICE_INCLUDE_DIR /usr/include/libreoffice CACHE PATH "LibreOffice core headers")

find_program(LIBREOFFICE_CPPUMAKER cppumaker HINTS ${LIBREOFFICE_SDK_DIR}/bin REQUIRED)
set(_lo_types ${LIBREOFFICE_PROGRAM_DIR}/types.rdb ${LIBREOFFICE_PROGRAM_DIR}/types/offapi.rdb)
foreach(rdb IN LISTS _lo_types)
    if(NOT EXISTS ${rdb})
        message(FATAL_ERROR "LibreOffice type library missing: ${rdb} (install libreoffice-dev)")
    endif()
endforeach()

# All types at once: a subset misses types that the core headers need.
set(_lo_generated ${CMAKE_BINARY_DIR}/libreoffice-sdk/include)
set(_lo_stamp ${_lo_generated}/com/sun/star/uno/XComponentContext.hpp)
add_custom_command(
    OUTPUT ${_lo_stamp}
    COMMAND ${LIBREOFFICE_CPPUMAKER} -Gc -O${_lo_generated} ${_lo_types}
    DEPENDS ${_lo_types}
    COMMENT "Generating the UNO headers with cppumaker"
    VERBATIM)
add_custom_target(libreoffice_sdk_headers DEPENDS ${_lo_stamp})

add_library(libreoffice_sdk INTERFACE)
add_library(LibreOffice::SDK ALIAS libreoffice_sdk)
add_dependencies(libreoffice_sdk libreoffice_sdk_headers)
target_include_directories(libreoffice_sdk SYSTEM INTERFACE ${LIBREOFFICE_INCLUDE_DIR} ${_lo_generated})
target_compile_definitions(libreoffice_sdk INTERFACE LINUX)
target_link_directories(libreoffice_sdk INTERFACE ${LIBREOFFICE_SDK_DIR}/lib)
target_link_libraries(libreoffice_sdk INTERFACE uno_cppuhelpergcc3 uno_cppu uno_sal)
# The URE libraries those pull in (libreglo and others) live only here.
target_link_options(libreoffice_sdk INTERFACE "LINKER:-rpath,${LIBREOFFICE_PROGRAM_DIR}")

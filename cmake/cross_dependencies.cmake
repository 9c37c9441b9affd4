# The header-only libraries for a cross build.
#
# Debian's package files for nlohmann-json and CLI11 put the Linux /usr/include
# on the include path, which pulls glibc's headers into a Windows build. Here
# the cross build gets a folder holding only those two libraries' headers,
# and imported targets of the same names that point at it.
set(tav_cross_include ${CMAKE_BINARY_DIR}/cross-include)
file(MAKE_DIRECTORY ${tav_cross_include})
foreach(library nlohmann CLI)
    if(NOT EXISTS ${TAV_CROSS_HEADER_ROOT}/${library})
        message(FATAL_ERROR "cross build: ${TAV_CROSS_HEADER_ROOT}/${library} not found "
                            "(install nlohmann-json3-dev and libcli11-dev)")
    endif()
    file(CREATE_LINK ${TAV_CROSS_HEADER_ROOT}/${library} ${tav_cross_include}/${library}
         SYMBOLIC)
endforeach()

add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${tav_cross_include})
add_library(CLI11::CLI11 INTERFACE IMPORTED)
set_target_properties(CLI11::CLI11 PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${tav_cross_include})

# utfcpp keeps its headers in a folder of its own, so the Linux package's
# folder serves the cross build as it is.
if(NOT EXISTS ${TAV_CROSS_HEADER_ROOT}/utf8cpp/utf8.h)
    message(FATAL_ERROR "cross build: ${TAV_CROSS_HEADER_ROOT}/utf8cpp not found "
                        "(install libutfcpp-dev)")
endif()
add_library(utf8cpp INTERFACE IMPORTED)
set_target_properties(utf8cpp PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${TAV_CROSS_HEADER_ROOT}/utf8cpp)

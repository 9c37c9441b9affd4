# Warnings, the same for every target of the project and for every compiler
# it is built with: one INTERFACE target holds the flags, and every target the
# project defines links it (tav_link_warnings, called once at the end of the
# top-level list). Warnings are errors everywhere, MSVC's included, through
# CMake's own switch (-Werror, /WX); `cmake --compile-no-warning-as-error`
# turns that off for a local experiment.
set(CMAKE_COMPILE_WARNING_AS_ERROR ON)

add_library(tav_warnings INTERFACE)
target_compile_options(tav_warnings INTERFACE
    $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wpedantic -Wconversion -Wshadow>
    # /permissive-: standard C++ rules, as GCC applies them.
    $<$<CXX_COMPILER_ID:MSVC>:/W4 /permissive->)

if(MSVC)
    add_compile_options(/utf-8)  # the sources are UTF-8
endif()

# Links tav_warnings into every target defined under `directory` and the
# folders below it that are the project's own (GoogleTest's sources, added
# for a cross build, keep their own flags).
function(tav_link_warnings directory)
    cmake_path(IS_PREFIX PROJECT_SOURCE_DIR "${directory}" NORMALIZE ours)
    if(NOT ours)
        return()
    endif()
    get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(NOT type MATCHES "INTERFACE_LIBRARY|UTILITY")
            target_link_libraries(${target} PRIVATE tav_warnings)
        endif()
    endforeach()
    get_property(folders DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
    foreach(folder IN LISTS folders)
        tav_link_warnings(${folder})
    endforeach()
endfunction()

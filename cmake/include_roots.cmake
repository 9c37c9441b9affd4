# Each target sees the headers of the targets it links, and no others.
#
# Includes name a header by its folder ("engine/run_tables.h"), so the source
# root would be the natural include folder; but a target given the source
# root could include any header of the tree, and the layering would hold only
# by convention. Instead each target gets an include root of its own in the
# build tree, where its folder's headers appear under the same names, each as
# a one-line header that includes the real one. A target that includes a
# header of a library it does not link fails to compile.
#
#   tav_include_root(TARGET PUBLIC|PRIVATE|INTERFACE FOLDER_OR_HEADER...)
#
# Paths are relative to the source root. A folder exports the headers directly
# in it (a subfolder that is a library of its own exports itself); a header
# exports itself alone. One call per target: it makes the whole root.
function(tav_include_root target visibility)
    set(root ${PROJECT_BINARY_DIR}/include_roots/${target})
    set(wanted)
    foreach(path IN LISTS ARGN)
        if(path MATCHES "\\.h$")
            if(NOT EXISTS ${PROJECT_SOURCE_DIR}/${path})
                message(FATAL_ERROR "tav_include_root(${target}): no header ${path}")
            endif()
            set(headers ${path})
        else()
            file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}
                 ${PROJECT_SOURCE_DIR}/${path}/*.h)
            if(NOT headers)
                message(FATAL_ERROR "tav_include_root(${target}): no headers in ${path}/")
            endif()
        endif()
        foreach(header IN LISTS headers)
            # Written only when its text changes, so a configure run does not
            # rebuild what includes it.
            file(CONFIGURE OUTPUT ${root}/${header}
                 CONTENT "#include \"${PROJECT_SOURCE_DIR}/${header}\"\n")
            list(APPEND wanted ${root}/${header})
        endforeach()
    endforeach()
    # A header deleted from the source tree goes from the root too.
    file(GLOB_RECURSE present ${root}/*.h)
    foreach(header IN LISTS present)
        if(NOT header IN_LIST wanted)
            file(REMOVE ${header})
        endif()
    endforeach()
    target_include_directories(${target} ${visibility} ${root})
endfunction()

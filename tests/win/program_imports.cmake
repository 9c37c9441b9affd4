# tavrelmondix.exe must start on every Windows 10 and 11. A program that
# imports a function its Windows lacks does not start at all ("The procedure
# entry point ... could not be located"), so every function it imports must be
# on the allowed list, and that list holds only functions Windows 10 version
# 1507 has. Runs on the build machine with the cross toolchain's objdump:
#
#   cmake -DOBJDUMP=x86_64-w64-mingw32-objdump -DPROGRAM=tavrelmondix.exe
#         -DALLOWED=allowed_imports.txt -P program_imports.cmake
cmake_minimum_required(VERSION 3.25)

foreach(input OBJDUMP PROGRAM ALLOWED)
    if(NOT DEFINED ${input})
        message(FATAL_ERROR "program_imports: -D${input}=... is required")
    endif()
endforeach()

# Functions that came with later versions of Windows 10 and that a Windows
# program reaches for first: none may ever be allowed. (Not every such
# function: the review of the allowed list covers the rest.)
set(later_than_1507
    user32.dll!AdjustWindowRectExForDpi
    user32.dll!AreDpiAwarenessContextsEqual
    user32.dll!EnableNonClientDpiScaling
    user32.dll!GetAwarenessFromDpiAwarenessContext
    user32.dll!GetDpiForSystem
    user32.dll!GetDpiForWindow
    user32.dll!GetDpiFromDpiAwarenessContext
    user32.dll!GetSystemDpiForProcess
    user32.dll!GetSystemMetricsForDpi
    user32.dll!GetThreadDpiAwarenessContext
    user32.dll!GetWindowDpiAwarenessContext
    user32.dll!IsValidDpiAwarenessContext
    user32.dll!SetProcessDpiAwarenessContext
    user32.dll!SetThreadDpiAwarenessContext
    user32.dll!SetThreadDpiHostingBehavior
    user32.dll!SystemParametersInfoForDpi
    kernel32.dll!GetThreadDescription
    kernel32.dll!SetThreadDescription)

# "dll!Function" with the DLL's name in lower case, as the list writes it.
function(import_key dll function out)
    string(TOLOWER "${dll}" dll)
    set(${out} "${dll}!${function}" PARENT_SCOPE)
endfunction()

# ALLOWED may name several lists, separated by ";".
set(allowed_lines "")
foreach(list_file IN LISTS ALLOWED)
    file(READ "${list_file}" list_text)
    # One entry per line; a ";" in a comment must not split it.
    string(REPLACE ";" "," list_text "${list_text}")
    string(REPLACE "\n" ";" list_lines "${list_text}")
    list(APPEND allowed_lines ${list_lines})
endforeach()
set(allowed "")
foreach(line IN LISTS allowed_lines)
    string(STRIP "${line}" line)
    if(line STREQUAL "" OR line MATCHES "^#")
        continue()
    endif()
    if(NOT line MATCHES "^([^!]+)!(.+)$")
        message(FATAL_ERROR "program_imports: ${ALLOWED}: \"${line}\" is not DLL!Function")
    endif()
    import_key("${CMAKE_MATCH_1}" "${CMAKE_MATCH_2}" key)
    if(key IN_LIST later_than_1507)
        message(FATAL_ERROR "program_imports: ${ALLOWED} allows ${key}, which Windows 10 "
                            "version 1507 lacks: look it up at run time instead")
    endif()
    list(APPEND allowed "${key}")
endforeach()

execute_process(COMMAND "${OBJDUMP}" -p "${PROGRAM}"
                OUTPUT_VARIABLE dump ERROR_VARIABLE dump_errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "program_imports: ${OBJDUMP} -p ${PROGRAM} failed: ${dump_errors}")
endif()

# The import tables: a "DLL Name:" line, then one line per function
# ("<address> <hint> <name>"), then a blank line.
string(REPLACE ";" "\\;" dump "${dump}")
string(REPLACE "\n" ";" dump_lines "${dump}")
set(dll "")
set(imports "")
foreach(line IN LISTS dump_lines)
    if(line MATCHES "^[ \t]*DLL Name: (.+)$")
        set(dll "${CMAKE_MATCH_1}")
    elseif(dll STREQUAL "")
        continue()
    elseif(line MATCHES "^[ \t]*$")
        set(dll "")
    elseif(line MATCHES "^[ \t]*[0-9a-fA-F]+[ \t]+[0-9]+[ \t]+([^ \t]+)")
        import_key("${dll}" "${CMAKE_MATCH_1}" key)
        list(APPEND imports "${key}")
    elseif(NOT line MATCHES "Hint/Ord")
        message(FATAL_ERROR "program_imports: cannot read this import of ${dll}: \"${line}\"")
    endif()
endforeach()
list(LENGTH imports import_count)
if(import_count EQUAL 0)
    message(FATAL_ERROR "program_imports: no imports found in ${OBJDUMP}'s listing of ${PROGRAM}")
endif()

set(not_allowed "")
foreach(key IN LISTS imports)
    if(NOT key IN_LIST allowed)
        string(APPEND not_allowed "\n    ${key}")
    endif()
endforeach()
if(NOT not_allowed STREQUAL "")
    message(FATAL_ERROR
        "${PROGRAM} imports functions that are not on ${ALLOWED}:${not_allowed}\n"
        "A function that Windows 10 version 1507 lacks keeps the program from starting "
        "there: look it up at run time (see app/win/dpi.cpp). One that 1507 has may be added "
        "to the list.")
endif()
message(STATUS "${import_count} imports, all on the allowed list")

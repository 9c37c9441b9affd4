# Runs the harness binary as a user or a script would and checks its exit
# status, its refusal line and its result file.
#   cmake -DHARNESS=... -DDATA=... -DEXAMPLES=... -DWORK=... [-DEMULATOR=wine] -P harness_cli.cmake

function(expect_run expected_status)
    execute_process(COMMAND ${EMULATOR} ${HARNESS} ${ARGN}
        RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT status EQUAL expected_status)
        message(FATAL_ERROR "tavrelmondix-sim ${ARGN}: exit ${status}, expected ${expected_status}\n${out}\n${err}")
    endif()
    set(last_out "${out}" PARENT_SCOPE)
    set(last_err "${err}" PARENT_SCOPE)
endfunction()

file(MAKE_DIRECTORY ${WORK})

# Usage errors.
expect_run(2)
expect_run(2 ${EXAMPLES}/gearbox.scene.json --press process,dance)
expect_run(2 ${EXAMPLES}/gearbox.scene.json --unknown-option)
expect_run(2 ${WORK}/missing.scene.json)

# A refused scene: one line naming the file, the JSON path and the fault, and nothing run.
file(REMOVE ${WORK}/refused.json)
expect_run(2 ${DATA}/scenes/bad-member-type.scene.json --result ${WORK}/refused.json)
string(STRIP "${last_err}" refusal)
if(NOT refusal MATCHES "bad-member-type.scene.json: drawingViews\\[0\\]\\.root\\.children\\[0\\]\\.type: ")
    message(FATAL_ERROR "unclear refusal: '${refusal}'")
endif()
if(refusal MATCHES "\n")
    message(FATAL_ERROR "refusal is more than one line: '${refusal}'")
endif()
if(EXISTS ${WORK}/refused.json)
    message(FATAL_ERROR "a refused scene wrote a result file")
endif()

# The tool ran: exit 0 whatever it decided, including a start-up refusal.
expect_run(0 ${EXAMPLES}/no-solid-edge.scene.json --quiet --result ${WORK}/no-host.json)
file(READ ${WORK}/no-host.json result)
string(JSON end GET "${result}" end)
if(NOT end STREQUAL "refused")
    message(FATAL_ERROR "no-solid-edge ended '${end}'")
endif()

expect_run(0 ${EXAMPLES}/gearbox.scene.json --result ${WORK}/gearbox.json)
if(NOT last_out MATCHES "Line styles created" OR NOT last_out MATCHES "Processing View 1 to")
    message(FATAL_ERROR "the terminal report is missing its parts:\n${last_out}")
endif()
file(READ ${WORK}/gearbox.json result)
string(JSON end GET "${result}" end)
string(JSON held GET "${result}" heldReferences)
if(NOT end STREQUAL "my_end" OR NOT held EQUAL 0)
    message(FATAL_ERROR "gearbox ended '${end}' holding ${held} references")
endif()

expect_run(0 ${EXAMPLES}/gearbox.scene.json --quiet --press help,close)
if(NOT last_out STREQUAL "")
    message(FATAL_ERROR "--quiet printed:\n${last_out}")
endif()

# A refused scene removes the result an earlier run left at --result: no
# stale result may pass for this run's.
file(WRITE ${WORK}/stale.json "{\"format\": \"tavrelmondix-result/1\", \"end\": \"my_end\"}\n")
expect_run(2 ${DATA}/scenes/bad-member-type.scene.json --quiet --result ${WORK}/stale.json)
if(EXISTS ${WORK}/stale.json)
    message(FATAL_ERROR "a refused scene left an earlier result in place")
endif()
file(WRITE ${WORK}/stale.json "stale")
expect_run(2 ${EXAMPLES}/gearbox.scene.json --press dance --result ${WORK}/stale.json)
if(EXISTS ${WORK}/stale.json)
    message(FATAL_ERROR "a usage error left an earlier result in place")
endif()

# The result file is written whole or not at all: a result that cannot be
# written is one clear line, exit 2, and neither a file nor a temporary left.
function(expect_no_result_files folder)
    file(GLOB left ${folder}/* ${folder}/.*)
    if(left)
        message(FATAL_ERROR "a failed write left files behind: ${left}")
    endif()
endfunction()

expect_run(2 ${EXAMPLES}/gearbox.scene.json --quiet --result ${WORK}/missing-folder/out.json)
if(NOT last_err MATCHES "cannot write .*missing-folder/out.json: ")
    message(FATAL_ERROR "unclear write failure: '${last_err}'")
endif()

if(CMAKE_HOST_UNIX AND NOT EMULATOR)
    # A disk that fills up half-way: a file size limit of 2 blocks, with the
    # signal that would end the process ignored, makes the writes fail (the
    # events' spill file or the result itself, whichever comes first). A
    # native harness only: the limit is the shell's, not Wine's.
    file(REMOVE_RECURSE ${WORK}/full)
    file(MAKE_DIRECTORY ${WORK}/full)
    file(WRITE ${WORK}/full/out.json "stale")
    execute_process(
        COMMAND sh -c "trap '' XFSZ; ulimit -f 2; exec \"$0\" \"$@\""
                ${HARNESS} ${EXAMPLES}/gearbox.scene.json --quiet --result ${WORK}/full/out.json
        RESULT_VARIABLE status ERROR_VARIABLE err)
    if(NOT (status EQUAL 1 OR status EQUAL 2) OR NOT err MATCHES "^tavrelmondix-sim: [^\n]*cannot ")
        message(FATAL_ERROR "a failed write: exit ${status}, '${err}'")
    endif()
    expect_no_result_files(${WORK}/full)
endif()

# Replacing an earlier result leaves only the new one.
file(REMOVE_RECURSE ${WORK}/replace)
file(MAKE_DIRECTORY ${WORK}/replace)
file(WRITE ${WORK}/replace/out.json "stale")
expect_run(0 ${EXAMPLES}/gearbox.scene.json --quiet --result ${WORK}/replace/out.json)
file(GLOB written ${WORK}/replace/* ${WORK}/replace/.*)
file(READ ${WORK}/replace/out.json result)
string(JSON end GET "${result}" end)
list(LENGTH written count)
if(NOT count EQUAL 1 OR NOT end STREQUAL "my_end")
    message(FATAL_ERROR "replacing a result left: ${written}")
endif()

# Nothing the harness prints acts on the terminal: control characters and
# escape sequences from a scene, or bytes that are not UTF-8, show as escapes.
string(ASCII 27 escape)
string(ASCII 7 bell)
string(ASCII 13 carriage_return)
function(expect_printable text what)
    foreach(raw IN ITEMS "${escape}" "${bell}" "${carriage_return}")
        string(FIND "${text}" "${raw}" at)
        if(NOT at EQUAL -1)
            message(FATAL_ERROR "${what} prints a raw control character:\n${text}")
        endif()
    endforeach()
endfunction()

expect_run(0 ${DATA}/scenes/control-characters.scene.json)
expect_printable("${last_out}${last_err}" "the report")
if(NOT last_out MATCHES "Bolt\\\\x1B\\[31m\\.par" OR NOT last_out MATCHES "Nut\\\\u{202E}\\.par"
   OR NOT last_out MATCHES "Washer\\\\x07\\\\u{009B}\\.par")
    message(FATAL_ERROR "names are not shown escaped:\n${last_out}")
endif()

string(ASCII 255 invalid_byte)
if(EMULATOR)
    # A Windows file name cannot hold a control character; the file's text
    # still can.
    set(forged_name "forged")
else()
    set(forged_name "forged${escape}[2J")
endif()
set(forged "${WORK}/${forged_name}.scene.json")
file(WRITE "${forged}" "{\"format\": \"tavrelmondix-scene/1\", \"activeDocument\": \"${invalid_byte}\"}")
expect_run(2 "${forged}")
expect_printable("${last_err}" "the refusal")
string(FIND "${last_err}" "${invalid_byte}" at)
if(NOT EMULATOR AND NOT last_err MATCHES "forged\\\\x1B\\[2J\\.scene\\.json: ")
    message(FATAL_ERROR "the file name is not shown escaped: '${last_err}'")
endif()
if(NOT at EQUAL -1 OR NOT last_err MATCHES "\\\\xFF")
    message(FATAL_ERROR "the refusal is not shown escaped: '${last_err}'")
endif()

# The command-line tool: the harness exits 0 whatever the tool's exit status,
# which the result holds; its own options refuse to go without --cli.
expect_run(2 ${EXAMPLES}/gearbox.scene.json --program-dir ${WORK})
expect_run(2 ${EXAMPLES}/gearbox.scene.json --cli --interrupt-at-call 0)
expect_run(0 ${DATA}/cli/gearbox-drafts.scene.json --cli --quiet --result ${WORK}/cli.json
    -- --no-such-option)
file(READ ${WORK}/cli.json result)
string(JSON end GET "${result}" end)
string(JSON exit_code GET "${result}" cli exitCode)
if(NOT end STREQUAL "cli" OR NOT exit_code EQUAL 2)
    message(FATAL_ERROR "a usage error of the tool ended '${end}' with exit status ${exit_code}")
endif()
expect_run(0 ${DATA}/cli/gearbox-drafts.scene.json --cli -- C:\\Work\\Gearbox.dft)
if(NOT last_out MATCHES "processed: C:.Work.Gearbox.dft: 2 sheets" OR NOT last_out MATCHES "exit status 0")
    message(FATAL_ERROR "the tool's lines are missing:\n${last_out}")
endif()

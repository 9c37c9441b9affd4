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

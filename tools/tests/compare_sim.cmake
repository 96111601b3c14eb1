# Runs the simulator with ARGS and compares what it prints with the recorded
# GOLDEN file byte for byte, except the run time and speed, which vary.
# With UPDATE set it rewrites the recording instead.
separate_arguments(args UNIX_COMMAND "${ARGS}")
execute_process(COMMAND "${SIM}" ${args} OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "corvane-sim ${ARGS} exited with ${rc}:\n${out}")
endif()
string(REGEX REPLACE "  time [0-9.]+ s  hands/s [0-9]+" "" out "${out}")
if(UPDATE)
    file(WRITE "${GOLDEN}" "${out}")
    return()
endif()
file(READ "${GOLDEN}" expected)
if(NOT out STREQUAL expected)
    message(FATAL_ERROR "corvane-sim ${ARGS} no longer plays as recorded in ${GOLDEN}.\n"
                        "Now:\n${out}\nRecorded:\n${expected}")
endif()

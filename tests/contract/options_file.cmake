# `weltor options` prints an options file as its nine rows, and refuses a file
# of the wrong size with a clear message.
set(dir "${WORK_DIR}/options-file")
file(REMOVE_RECURSE "${dir}")
file(MAKE_DIRECTORY "${dir}")
string(REPLACE "|" ";" runner "${RUNNER}")
# A record the plug-in itself saved, with a warehouse name in Polish letters.
file(WRITE "${dir}/save.txt" "sample 3 20\ndescribe\nactivate\npick 1\nform F3 F3.1=12 F3.3=2147483647 F12\nconfigure\n")
execute_process(COMMAND ${runner} "${WELTOR}" --data "${dir}" play "${dir}/save.txt"
                OUTPUT_VARIABLE shown ERROR_VARIABLE said RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "the scenario that saves options failed (${failed}):\n${said}\n${shown}")
endif()
execute_process(COMMAND ${runner} "${WELTOR}" options "${dir}/Kamoria.dat"
                OUTPUT_VARIABLE shown ERROR_VARIABLE said RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "weltor options failed (${failed}):\n${said}")
endif()
foreach(expected
    "│  1  F2                               0           0           0         -1 │"
    "│  2  F3   Łódź Bałuty 01             12           0  2147483647          1 │"
    "│  9  F10                              0           0           0         -1 │")
  string(FIND "${shown}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "weltor options does not show\n${expected}\n\n${shown}")
  endif()
endforeach()

file(WRITE "${dir}/short.dat" "not an options file")
execute_process(COMMAND ${runner} "${WELTOR}" options "${dir}/short.dat"
                OUTPUT_VARIABLE shown ERROR_VARIABLE said RESULT_VARIABLE failed)
if(failed EQUAL 0 OR NOT said MATCHES "short.dat: an options file holds 279 bytes, this one 19")
  message(FATAL_ERROR "a 19-byte file: exit ${failed}, said:\n${said}\n${shown}")
endif()
file(REMOVE_RECURSE "${dir}")

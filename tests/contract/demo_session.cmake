# The README's main job: the demo session plays to its end and shows the
# notice, the form, the lock, the lookup window and the refused host's box.
set(data "${WORK_DIR}/demo-session-data")
file(REMOVE_RECURSE "${data}")
execute_process(COMMAND "${WELTOR}" --data "${data}" "${SCRIPT}"
                OUTPUT_VARIABLE shown ERROR_VARIABLE errors RESULT_VARIABLE failed)
file(REMOVE_RECURSE "${data}")
if(failed)
  message(FATAL_ERROR "weltor failed (${failed}):\n${errors}\n${shown}")
endif()
foreach(expected
    "Zainstalowano wtyczkę do programu:"
    "[form] Ustaw stanowiska dla magazynów (83 items)"
    "row 2: warehouse 2 \"Kraków Podgórze \", workstations 3 7 0"
    "current warehouse 2, default warehouse 2, table 64 setting 0"
    "warehouses open to the user: 2 (1 of 100)"
    "current warehouse 2, default warehouse 0, table 64 setting 1"
    "[window] Stany na innych magazynach"
    "screen 147 answers -2 (the screen's own handler did not see it)"
    "screen 742 answers 0\n"
    "and answers -1 (refuses to run)"
    "[STOP box] STOP!!!")
  string(FIND "${shown}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the demo session does not show: ${expected}\n\n${shown}")
  endif()
endforeach()

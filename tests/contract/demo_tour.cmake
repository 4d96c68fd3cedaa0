# The README's main job: `weltor demo` plays the bundled tour to its end and
# shows, as boxes, what the plug-in puts in front of the user. The Windows
# program runs the same tour under Wine (RUNNER is its emulator).
string(REPLACE "|" ";" runner "${RUNNER}")
execute_process(COMMAND ${runner} "${WELTOR}" demo
                OUTPUT_VARIABLE shown ERROR_VARIABLE errors RESULT_VARIABLE failed)
if(failed EQUAL 77)
  message("${errors}")
  return()
endif()
if(failed)
  message(FATAL_ERROR "weltor demo failed (${failed}):\n${errors}\n${shown}")
endif()
foreach(expected
    # activation and the installation notice
    "and answers 0 (ready)"
    "question 1668:"
    "│ Zainstalowano wtyczkę do programu: │"
    # the form, with the warehouse chosen and the workstations typed, saved
    "║  F4  Mag.  Kraków Podgórze ·     ······3 ······7 ······0        ║"
    "form 4733, as the user closed it with OK:"
    "│  3  F4   Kraków Podgórze             3           7           0          2 │"
    # the lock: before, while the document screen is open, after
    "│ current warehouse: 0 (Warszawa Centrala 00) │\n  │ default warehouse: 0 (Warszawa Centrala 00) │\n  │ table 64 setting:  1"
    "│ current warehouse: 2 (Kraków Podgórze 02) │\n  │ default warehouse: 2 (Kraków Podgórze 02) │\n  │ table 64 setting:  0                      │\n  │ open to the user:  2 (1 of 100)"
    "│ default warehouse: 0 (Warszawa Centrala 00) │\n  │ table 64 setting:  1                        │\n  │ open to the user:  0–99 (100 of 100)"
    # the lookup window, and the keys the plug-in takes and leaves
    "┌───── Stany na innych magazynach ──────┐"
    "│ Łódź Bałuty 01              79.596 mb │"
    "screen 147 answers -2 (the plug-in took F11; the screen never saw it)"
    "screen 742 answers 0 (the key went on to the screen)"
    "screen 742 answers -2 (the plug-in took Ctrl-F6; the screen never saw it)"
    # an item nobody else holds, and a user who may not configure
    "│ Towarów z tym kodem nie ma na innych magazynach. │"
    "│ Brak uprawnień do konfiguracji wtyczki │"
    # the refused host
    "and answers -1 (refuses to run)"
    "═ STOP!!! ═"
    "║ MODUŁ NIE ZOSTANIE ZAŁADOWANY!!!")
  string(FIND "${shown}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the tour does not show:\n${expected}\n\n${shown}")
  endif()
endforeach()
# Warehouse 0's own stock is not listed as stock elsewhere.
string(FIND "${shown}" "│ Warszawa Centrala 00 " at)
if(NOT at EQUAL -1)
  message(FATAL_ERROR "the lookup from warehouse 0 lists warehouse 0 itself:\n${shown}")
endif()

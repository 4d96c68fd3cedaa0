# A scenario with a mistake stops before anything plays, names the line and
# says what was expected there.
set(dir "${WORK_DIR}/scenario-errors")
file(REMOVE_RECURSE "${dir}")
file(MAKE_DIRECTORY "${dir}/data")
# Each case: the second line of the scenario | what weltor says about it.
set(cases
  "open x|bad.txt:3: expected a screen number after \"open\", got \"x\""
  "key 147 F13|bad.txt:3: expected a key (F2 … F12, Ctrl-F6, Ctrl-9, Esc or a number) after \"key 147\", got \"F13\""
  "cursor 147|bad.txt:3: expected an item number after \"cursor 147\", got the end of the line"
  "host colour 3|bad.txt:3: expected a host value (warehouse, default-warehouse, setting, api-version) after \"host\", got \"colour\""
  "describe now|bad.txt:3: expected the end of the line after \"describe\", got \"now\""
  "form F4 F4.4=3 F12|bad.txt:3: expected a form step (F2 … F12, Esc, ok, cancel, F4.1=3, 0x410D=3) after \"form F4\", got \"F4.4=3\""
  "user forbid everything|bad.txt:3: expected a right (warehouse-change, configuration, or GROUP ITEM MODE) after \"user forbid\", got \"everything\""
  "pick 2 two|bad.txt:3: expected a warehouse number after \"pick 2\", got \"two\""
  "frobnicate 3|bad.txt:3: expected an action (say, sample, user, host, describe, activate, report, configure, unload, answer, pick, form, open, close, key, cursor, show), got \"frobnicate\""
  # Found only when it runs: the line is named all the same.
  "cursor 815 3|bad.txt:3: screen 815 has no item list")
string(REPLACE "|" ";" runner "${RUNNER}")
foreach(case IN LISTS cases)
  string(FIND "${case}" "|" bar)
  string(SUBSTRING "${case}" 0 ${bar} line)
  math(EXPR after "${bar} + 1")
  string(SUBSTRING "${case}" ${after} -1 expected)
  file(WRITE "${dir}/bad.txt" "# a scenario with one mistake\ndescribe\n${line}\n")
  execute_process(COMMAND ${runner} "${WELTOR}" --data "${dir}/data" play "${dir}/bad.txt"
                  OUTPUT_VARIABLE shown ERROR_VARIABLE said RESULT_VARIABLE failed)
  if(failed EQUAL 0)
    message(FATAL_ERROR "\"${line}\" played without an error:\n${shown}")
  endif()
  string(FIND "${said}" "weltor: ${expected}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "for \"${line}\" expected\n  weltor: ${expected}\ngot\n  ${said}")
  endif()
  # A mistake the reading finds stops the scenario before its first line plays.
  string(FIND "${shown}" "> describe" played)
  if(NOT line MATCHES "^cursor 815" AND NOT played EQUAL -1)
    message(FATAL_ERROR "\"${line}\": lines before the mistake were played:\n${shown}")
  endif()
endforeach()
file(REMOVE_RECURSE "${dir}")

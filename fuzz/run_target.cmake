# Runs one fuzz target for a bounded time over its seed corpus. What it finds
# goes into a scratch corpus of this run, never into the committed seeds; a
# crash leaves its input next to it and fails the test.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/corpus")
execute_process(
  COMMAND "${TARGET}" -max_total_time=${SECONDS} -runs=${RUNS} -timeout=10 -print_final_stats=1
          -artifact_prefix=${WORK}/ "${WORK}/corpus" "${SEEDS}"
  WORKING_DIRECTORY "${WORK}"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(GLOB found "${WORK}/crash-*" "${WORK}/leak-*" "${WORK}/timeout-*" "${WORK}/oom-*")
  message(FATAL_ERROR "the fuzz target failed (exit ${status}); input kept: ${found}")
endif()

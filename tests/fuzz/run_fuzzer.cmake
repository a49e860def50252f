# Runs one fuzz target for a bounded time: every input in REGRESSIONS once,
# then SECONDS of fuzzing from seed 1 on a copy of the seed corpus in WORK (the
# checked-in corpus never changes). A crashing input is left in WORK.
file(REMOVE_RECURSE ${WORK})
file(GLOB seeds ${CORPUS}/*)
file(COPY ${seeds} DESTINATION ${WORK}/corpus)
file(GLOB regressions ${REGRESSIONS}/*)
if(regressions)
  execute_process(COMMAND ${FUZZER} ${regressions} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "a regression input fails again (status ${status})")
  endif()
endif()
execute_process(COMMAND ${FUZZER} -seed=1 -max_total_time=${SECONDS} -max_len=${MAX_LEN} -timeout=10
                        -print_final_stats=1 -artifact_prefix=${WORK}/ ${WORK}/corpus
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the fuzzer found a fault (status ${status}); the input is in ${WORK}")
endif()

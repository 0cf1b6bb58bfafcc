# Runs one fuzz target for a bounded time:
#   cmake -DFUZZER=... -DCORPUS_DIR=... -DSEED_DIR=... -DARTIFACT_PREFIX=... -P run_fuzzer.cmake
# New inputs go into CORPUS_DIR, which is kept between runs; the seeds are only read. A crash,
# sanitizer report, leak, timeout or out-of-memory makes libFuzzer exit non-zero and fails the
# test; the input is saved under ARTIFACT_PREFIX.
foreach(var FUZZER CORPUS_DIR SEED_DIR ARTIFACT_PREFIX)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "run_fuzzer.cmake: ${var} is not set")
  endif()
endforeach()
if(NOT EXISTS ${SEED_DIR})
  message(FATAL_ERROR "run_fuzzer.cmake: no seed corpus at ${SEED_DIR} (build the fuzz targets first)")
endif()

file(MAKE_DIRECTORY ${CORPUS_DIR})
get_filename_component(findings_dir ${ARTIFACT_PREFIX} DIRECTORY)
file(MAKE_DIRECTORY ${findings_dir})

execute_process(
  COMMAND ${FUZZER} -max_total_time=30 -rss_limit_mb=2048 -timeout=10 -print_final_stats=1
          -artifact_prefix=${ARTIFACT_PREFIX} ${CORPUS_DIR} ${SEED_DIR}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed (${status}); see the reproducer under ${ARTIFACT_PREFIX}*")
endif()

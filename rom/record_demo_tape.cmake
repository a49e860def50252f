# Records the demo tape: in a scratch folder holding the ROM, the demo
# program and the keyboard layout, the headless runner loads the demo at
# 5000h, starts the recorder and types MON and the monitor's own save command; the
# recording becomes demo.raw.
#   cmake -DHEADLESS=... -DWORK=... -DDATA=... -DLAYOUT=... -P record_demo_tape.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/data)
file(COPY ${DATA}/vorn.bin ${DATA}/dev.bin ${LAYOUT} DESTINATION ${WORK}/data)
execute_process(
  COMMAND ${HEADLESS} --frames 800 --load-dev 50 --tape-record 60
          --type "70:MON\\nS \"DEMO\" 5000 800 5000\\n" --dump "800:memory.bin" --tape-stop 800
  WORKING_DIRECTORY ${WORK}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT EXISTS ${WORK}/data/default.raw)
  message(FATAL_ERROR "the headless runner did not record the demo tape")
endif()
file(COPY_FILE ${WORK}/data/default.raw ${DATA}/demo.raw)

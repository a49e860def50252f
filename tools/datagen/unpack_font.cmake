# cmake -DFONT=font.psf.gz -DOUTPUT=font.psf -P unpack_font.cmake
# Unpacks the console font the generators draw with, or stops the build with
# the name of the package that provides it.
if(NOT EXISTS "${FONT}")
  message(FATAL_ERROR "${FONT} is missing: install the Debian package console-setup-linux")
endif()
execute_process(COMMAND gzip -dc "${FONT}" OUTPUT_FILE "${OUTPUT}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot unpack ${FONT}")
endif()

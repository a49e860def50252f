# Z80 sources are assembled at build time with pasmo. Local labels (_name)
# belong to the label before them; include paths are relative to the source's
# own directory.
find_program(PASMO pasmo REQUIRED)

# vorn_assemble(OUTPUT file.bin SOURCE main.asm [SYMBOLS file.sym] [DEPENDS ...])
# Assembles SOURCE into OUTPUT; the build fails on any assembler error.
function(vorn_assemble)
  cmake_parse_arguments(ARG "" "OUTPUT;SOURCE;SYMBOLS" "DEPENDS" ${ARGN})
  get_filename_component(source ${ARG_SOURCE} ABSOLUTE)
  get_filename_component(source_dir ${source} DIRECTORY)
  set(symbols ${ARG_SYMBOLS})
  if(NOT symbols)
    set(symbols ${ARG_OUTPUT}.sym)
  endif()
  add_custom_command(
    OUTPUT ${ARG_OUTPUT} ${symbols}
    COMMAND ${PASMO} --alocal -I ${source_dir} ${source} ${ARG_OUTPUT} ${symbols}
    WORKING_DIRECTORY ${source_dir}
    DEPENDS ${source} ${ARG_DEPENDS}
    COMMENT "Assembling ${ARG_SOURCE}"
    VERBATIM)
endfunction()

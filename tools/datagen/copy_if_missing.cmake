# cmake -DFROM=source -DTO=target -P copy_if_missing.cmake
# Puts a sample file in place only where the user has none: a file the user
# keeps or edits is never overwritten by a build.
if(NOT EXISTS "${TO}")
  file(COPY_FILE "${FROM}" "${TO}")
endif()

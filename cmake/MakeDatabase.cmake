# Writes the program database into the build's program folder when it is not
# there yet. An existing database is never replaced: it may hold the
# developer's own stock and settings, and the program upgrades older files.
if(NOT EXISTS "${DB}")
  execute_process(COMMAND "${KAVO}" init-db "${DB}" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "Could not write ${DB}")
  endif()
endif()

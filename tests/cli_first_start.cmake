# rovanel-cli's first start in an empty user folder: the language dialog is
# answered before start-up, the delay loop calibrated, the configuration
# written; the next run reads it, and --lang changes the language for one
# run without touching the file.
file(REMOVE_RECURSE ${HOME})
file(MAKE_DIRECTORY ${HOME})
set(ENV{ROVANEL_HOME} ${HOME})
execute_process(COMMAND ${CLI} --box none --first-start "dialog:TSelLge anglais=1 ok" dump:config
  dump:superposition OUTPUT_VARIABLE out RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT EXISTS ${HOME}/rovanel.cfg)
  message(FATAL_ERROR "first start failed (${rc}): ${out} ${err}")
endif()
if(NOT out MATCHES "CfgLanguage=2\n" OR NOT out MATCHES "CfgPortBox=0\n" OR NOT out MATCHES "Overlay")
  message(FATAL_ERROR "first start did not take English: ${out}")
endif()
file(SIZE ${HOME}/rovanel.cfg size)
if(NOT size EQUAL 312)
  message(FATAL_ERROR "the configuration holds ${size} bytes, not 312")
endif()
file(READ ${HOME}/rovanel.cfg before HEX)
execute_process(COMMAND ${CLI} --box none --lang 3 dump:superposition dump:config
  OUTPUT_VARIABLE out RESULT_VARIABLE rc ERROR_VARIABLE err)
file(READ ${HOME}/rovanel.cfg after HEX)
if(NOT rc EQUAL 0 OR NOT out MATCHES "Überlagern" OR NOT before STREQUAL after)
  message(FATAL_ERROR "--lang 3 run: ${rc} ${out} ${err}")
endif()
execute_process(COMMAND ${CLI} --box none dump:superposition
  OUTPUT_VARIABLE out RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out MATCHES "Overlay")
  message(FATAL_ERROR "the second start did not read the configuration: ${out} ${err}")
endif()

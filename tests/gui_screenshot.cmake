# The window takes actions after start-up, grabs itself once and quits.
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
# Zoomed in, grid on, a cursor dragged: the window shows the model's picture.
execute_process(COMMAND ${GUI} --box sim --lang 1 --screenshot ${OUT}/shot.png click:acquisition
  click:Grid click:cursv click:ZoomPlus mouse:down:120,50 mouse:move:200,60 mouse:up:200,60
  dump:ecran=${OUT}/ecran.png RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT EXISTS ${OUT}/shot.png OR NOT EXISTS ${OUT}/ecran.png)
  message(FATAL_ERROR "screenshot run failed (${rc}): ${out} ${err}")
endif()
if(NOT out MATCHES "screenshot written to")
  message(FATAL_ERROR "the window did not say where the screenshot went: ${out}")
endif()

# Form resources compiled into the binary: qz_add_form_resources(<target> <file.qzfm>...) makes
# "<file>.qzfm.inc" (a string literal of the file's text) that the form's .cpp includes:
#   static const char kResource[] =
#   #include "RovanCF.qzfm.inc"
#       ;
if(CMAKE_SCRIPT_MODE_FILE)
  file(READ "${INPUT}" text)
  string(FIND "${text}" ")qzfm\"" bad)
  if(NOT bad EQUAL -1)
    message(FATAL_ERROR "${INPUT}: the text may not contain )qzfm\"")
  endif()
  file(WRITE "${OUTPUT}.tmp" "R\"qzfm(${text})qzfm\"\n")
  file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
  return()
endif()

set(QZ_EMBED_TEXT_SCRIPT ${CMAKE_CURRENT_LIST_FILE} CACHE INTERNAL "")

function(qz_add_form_resources target)
  foreach(file ${ARGN})
    get_filename_component(abs ${file} ABSOLUTE)
    get_filename_component(name ${file} NAME)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/${name}.inc)
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -DINPUT=${abs} -DOUTPUT=${out} -P ${QZ_EMBED_TEXT_SCRIPT}
      DEPENDS ${abs} ${QZ_EMBED_TEXT_SCRIPT}
      COMMENT "Embedding ${name}" VERBATIM)
    target_sources(${target} PRIVATE ${out})
  endforeach()
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR})
endfunction()

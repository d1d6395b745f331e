# The pak tool given what a damaged install or a slip of the hand offers: a folder where an
# archive belongs, a name too long for a pack file. Each ends with exit code 1 and a message that
# says what is wrong.
file(REMOVE_RECURSE ${WORK})
string(REPEAT "n" 200 longFolder)
string(REPEAT "f" 100 longFile)
file(MAKE_DIRECTORY ${WORK}/folder ${WORK}/long/${longFolder})
file(WRITE ${WORK}/long/${longFolder}/${longFile}.txt "x")

function(expect_failure expected)
  execute_process(COMMAND ${PAK} ${ARGN} RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_QUIET)
  if(NOT rc EQUAL 1)
    message(FATAL_ERROR "pak ${ARGN}: exit ${rc}, expected 1\n${err}")
  endif()
  string(FIND "${err}" "${expected}" at)
  if(at LESS 0)
    message(FATAL_ERROR "pak ${ARGN}: message lacks '${expected}':\n${err}")
  endif()
endfunction()

expect_failure("${WORK}/folder is a folder, not a pack file" list ${WORK}/folder)
expect_failure("${WORK}/folder is a folder, not a pack file" extract ${WORK}/folder ${WORK}/out)
expect_failure("cannot read ${WORK}/missing.pak" list ${WORK}/missing.pak)
expect_failure("is 305 bytes long; a pack file holds names of at most 255"
               build ${WORK}/long ${WORK}/long.pak)
if(EXISTS ${WORK}/long.pak)
  message(FATAL_ERROR "a failed build left an archive behind")
endif()

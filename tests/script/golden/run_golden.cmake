# Runs one golden script and compares its output with the expected text.
#   cmake -DRUNNER=kestrin-script -DSCRIPT=x.js -DEXPECTED=x.out -P run_golden.cmake
# Beside x.js, x.answers (the dialogs' answers) and x.stdin (standard input) are used when
# they exist.
# Peer mode (-DPEER=/usr/bin/duk): runs the script through the peer too, after a one-line
# prelude that defines println, and compares both outputs (without the exit-code line).
# With -DSTACK_KB=N the runner gets a stack of N KiB (ulimit -s).
string(REGEX REPLACE "\\.js$" "" base ${SCRIPT})
set(args "")
if(EXISTS ${base}.answers)
  list(APPEND args --answers ${base}.answers)
endif()
list(APPEND args ${SCRIPT})
set(stdin /dev/null)
if(EXISTS ${base}.stdin)
  set(stdin ${base}.stdin)
endif()
if(DEFINED STACK_KB)
  set(command /bin/sh -c "ulimit -s ${STACK_KB} && exec \"$@\"" sh ${RUNNER} ${args})
else()
  set(command ${RUNNER} ${args})
endif()
execute_process(COMMAND ${command} INPUT_FILE ${stdin} OUTPUT_VARIABLE actual ERROR_VARIABLE err
                RESULT_VARIABLE rc TIMEOUT 60)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${RUNNER} failed (${rc}): ${err}")
endif()
if(DEFINED PEER)
  if(NOT EXISTS ${PEER})
    if("$ENV{CI}" STREQUAL "true")
      message(FATAL_ERROR "peer ${PEER} is missing")
    endif()
    message("peer ${PEER} is missing: skipped")
    return()
  endif()
  get_filename_component(name ${SCRIPT} NAME)
  file(READ ${SCRIPT} body)
  # One file per peer: the duktape and mujs runs of a script may run at the same time.
  get_filename_component(peer_name ${PEER} NAME)
  set(peer_script ${WORK_DIR}/${name}.${peer_name}.js)
  file(WRITE ${peer_script} "function println(x) { print(x); }\n${body}")
  execute_process(COMMAND ${PEER} ${peer_script} OUTPUT_VARIABLE expected RESULT_VARIABLE prc TIMEOUT 60)
  string(REGEX REPLACE "exit code: [-0-9]+\n$" "" actual "${actual}")
else()
  file(READ ${EXPECTED} expected)
endif()
if(NOT actual STREQUAL expected)
  message(FATAL_ERROR "output differs for ${SCRIPT}\n--- expected\n${expected}--- actual\n${actual}")
endif()

# The real compiler, built from its source beside the project where that is at hand, for the tests
# that run it on a real map. One build serves every build tree beside this one, so that a run of all
# the workflows builds it once.
set(TARNWICK_BSPC_SOURCE ${PROJECT_SOURCE_DIR}/../shared/bspc CACHE PATH
    "The real compiler's source, build script and test map, for the tests that run it")
set(TARNWICK_BSPC_BUILD ${CMAKE_BINARY_DIR}/../bspc CACHE PATH
    "Where the real compiler is built, shared by the build trees beside this one")

if(EXISTS ${TARNWICK_BSPC_SOURCE}/build AND EXISTS ${TARNWICK_BSPC_SOURCE}/testbox.bsp)
    set(TARNWICK_REAL_COMPILER ON)
else()
    set(TARNWICK_REAL_COMPILER OFF)
    message(STATUS "No real compiler source at ${TARNWICK_BSPC_SOURCE}: its tests are left out")
endif()

# The fixture `bspc` that builds `program` (bspc or bspc.exe) unless it is there already.
function(tarnwick_real_compiler_fixture program)
    add_test(NAME bspc_build
             COMMAND sh -c "[ -x '${TARNWICK_BSPC_BUILD}/${program}' ] || '${TARNWICK_BSPC_SOURCE}/build' '${TARNWICK_BSPC_BUILD}'")
    set_tests_properties(bspc_build PROPERTIES FIXTURES_SETUP bspc TIMEOUT 600)
endfunction()

# The libFuzzer targets of tests/fuzz, built natively with clang-14 into fuzz/ of the build
# folder, and their ctest tests: each target runs for QUORIEL_FUZZ_SECONDS on a fresh copy of its
# seeds, one at a time; fuzz_regressions_test replays the seeds and the regression cases.
include(ExternalProject)

set(QUORIEL_FUZZ_SECONDS 60 CACHE STRING "Seconds each fuzz target runs under ctest")
set(QUORIEL_FUZZ_SOURCE ${CMAKE_CURRENT_LIST_DIR})
set(QUORIEL_FUZZ_BUILD ${CMAKE_BINARY_DIR}/fuzz)

ExternalProject_Add(quoriel_fuzz
    SOURCE_DIR ${QUORIEL_FUZZ_SOURCE}
    BINARY_DIR ${QUORIEL_FUZZ_BUILD}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON)

# Time for start-up, loading the seeds and the final report beyond the budget.
math(EXPR QUORIEL_FUZZ_TIMEOUT "${QUORIEL_FUZZ_SECONDS} + 120")

include(${QUORIEL_FUZZ_SOURCE}/targets.cmake)
foreach(entry ${QUORIEL_FUZZ_TARGETS})
    quoriel_fuzz_entry(${entry} fuzz)
    add_test(NAME ${fuzz_TARGET}
        COMMAND bash ${QUORIEL_FUZZ_SOURCE}/run-fuzz.sh ${QUORIEL_FUZZ_BUILD}/${fuzz_TARGET}
                ${QUORIEL_FUZZ_SECONDS} ${QUORIEL_FUZZ_BUILD}/runs/${fuzz_TARGET}
                ${QUORIEL_FUZZ_SOURCE}/dict/${fuzz_DICTIONARY}
                ${QUORIEL_FUZZ_BUILD}/seeds/${fuzz_SEEDS}
                ${QUORIEL_FUZZ_SOURCE}/seeds/${fuzz_SEEDS}
                ${QUORIEL_FUZZ_SOURCE}/regressions/${fuzz_SEEDS})
    # One fuzzer at a time: each takes a core for its whole budget.
    set_tests_properties(${fuzz_TARGET} PROPERTIES
        TIMEOUT ${QUORIEL_FUZZ_TIMEOUT}
        RESOURCE_LOCK quoriel_fuzz
        LABELS fuzz)
endforeach()

add_test(NAME fuzz_regressions_test COMMAND ${QUORIEL_FUZZ_BUILD}/fuzz_regressions_test)
set_tests_properties(fuzz_regressions_test PROPERTIES LABELS fuzz)

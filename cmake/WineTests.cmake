# Test programs run under Wine in one prefix inside the build folder. The prefix is made once,
# by the fixture test below, before any test program starts.

set(QUORIEL_TEST_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(QUORIEL_TEST_ENVIRONMENT
    "WINEPREFIX=${QUORIEL_TEST_PREFIX}"
    "WINEDEBUG=-all"
    "WINEDLLOVERRIDES=winemenubuilder.exe,mscoree,mshtml=d")

# quoriel_add_wine_test(NAME SOURCES... [REGISTRY] [LIBRARIES libs...])
# REGISTRY: the test changes the prefix's registry, so it never runs beside another such test.
function(quoriel_add_wine_test name)
    cmake_parse_arguments(ARG "REGISTRY" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} quoriel_test_support GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "${QUORIEL_TEST_ENVIRONMENT}"
        FIXTURES_REQUIRED wine_prefix
        TIMEOUT 600)
    if(ARG_REGISTRY)
        set_tests_properties(${name} PROPERTIES RESOURCE_LOCK wine_registry)
    endif()
endfunction()

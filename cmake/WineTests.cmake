# Test programs run under Wine in one prefix inside the build folder. The prefix is made once,
# by the fixture test below, before any test program starts.

set(QUORIEL_TEST_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
# The end-to-end tests install into a prefix of their own, made anew for every run.
set(QUORIEL_FRESH_PREFIX ${CMAKE_BINARY_DIR}/fresh-prefix)

function(quoriel_wine_environment variable prefix)
    set(${variable}
        "WINEPREFIX=${prefix}"
        "WINEDEBUG=-all"
        "WINEDLLOVERRIDES=winemenubuilder.exe,mscoree,mshtml=d"
        PARENT_SCOPE)
endfunction()

# quoriel_add_wine_test(NAME SOURCES... [REGISTRY] [FRESH_PREFIX] [LIBRARIES libs...])
# REGISTRY: the test changes the prefix's registry, so it never runs beside another such test.
# FRESH_PREFIX: the test runs in the fresh prefix instead of the shared one.
function(quoriel_add_wine_test name)
    cmake_parse_arguments(ARG "REGISTRY;FRESH_PREFIX" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} quoriel_test_support GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name})
    if(ARG_FRESH_PREFIX)
        quoriel_wine_environment(environment ${QUORIEL_FRESH_PREFIX})
        set(fixture fresh_prefix)
    else()
        quoriel_wine_environment(environment ${QUORIEL_TEST_PREFIX})
        set(fixture wine_prefix)
    endif()
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "${environment}"
        FIXTURES_REQUIRED ${fixture}
        TIMEOUT 600)
    if(ARG_REGISTRY)
        set_tests_properties(${name} PROPERTIES RESOURCE_LOCK wine_registry)
    endif()
endfunction()

# Shared by the two native builds (tests/native and tests/fuzz): the product sources that build
# against the stand-in in tests/native/include (the pure reading and the template expansion)
# with the memory file behind it, and the sanitizer and warning flags.
get_filename_component(QUORIEL_ROOT ${CMAKE_CURRENT_LIST_DIR}/../.. ABSOLUTE)
set(QUORIEL_TEST_DATA ${QUORIEL_ROOT}/tests/data)

include(${QUORIEL_ROOT}/position/sources.cmake)
set(QUORIEL_NATIVE_SOURCES
    ${QUORIEL_READING_SOURCES}
    ${QUORIEL_ROOT}/launch/template_expansion.cpp
    ${QUORIEL_ROOT}/tests/native/memory_file.cpp)

set(QUORIEL_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all
    -fno-omit-frame-pointer)
set(QUORIEL_WARNINGS -Wall -Wextra -Wno-missing-field-initializers)

# The stand-in comes before the system headers.
function(quoriel_sanitized target)
    target_include_directories(${target} PUBLIC ${QUORIEL_ROOT}/tests/native/include
        ${QUORIEL_ROOT})
    target_compile_options(${target} PUBLIC ${QUORIEL_WARNINGS} -g ${QUORIEL_SANITIZERS})
    target_link_options(${target} PUBLIC ${QUORIEL_SANITIZERS})
endfunction()

# Shared by the two native builds (tests/native and tests/fuzz): the product sources that build
# against the stand-in in tests/native/include (the pure reading and the template expansion)
# with the memory file behind it, and the sanitizer and warning flags.
get_filename_component(QUORIEL_ROOT ${CMAKE_CURRENT_LIST_DIR}/../.. ABSOLUTE)
set(QUORIEL_TEST_DATA ${QUORIEL_ROOT}/tests/data)

set(QUORIEL_NATIVE_SOURCES
    ${QUORIEL_ROOT}/position/file_source.cpp
    ${QUORIEL_ROOT}/position/gps_reading.cpp
    ${QUORIEL_ROOT}/position/jpeg_locator.cpp
    ${QUORIEL_ROOT}/position/tiff_reader.cpp
    ${QUORIEL_ROOT}/position/chunks/png_locator.cpp
    ${QUORIEL_ROOT}/position/chunks/webp_locator.cpp
    ${QUORIEL_ROOT}/position/isobmff/box_reader.cpp
    ${QUORIEL_ROOT}/position/isobmff/heif_items.cpp
    ${QUORIEL_ROOT}/position/isobmff/heif_locator.cpp
    ${QUORIEL_ROOT}/position/isobmff/item_locations.cpp
    ${QUORIEL_ROOT}/position/movie/iso6709.cpp
    ${QUORIEL_ROOT}/position/movie/item_list.cpp
    ${QUORIEL_ROOT}/position/movie/movie_keys.cpp
    ${QUORIEL_ROOT}/position/movie/user_data_records.cpp
    ${QUORIEL_ROOT}/position/movie/video_location.cpp
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

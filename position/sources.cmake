# The sources of the pure reading, relative to this folder: one list for the product's library
# and for the native sanitizer and fuzz builds of the tests.
set(QUORIEL_READING_SOURCES
    file_source.cpp
    gps_reading.cpp
    jpeg_locator.cpp
    tiff_reader.cpp
    chunks/png_locator.cpp
    chunks/webp_locator.cpp
    isobmff/box_reader.cpp
    isobmff/canon_locator.cpp
    isobmff/heif_items.cpp
    isobmff/heif_locator.cpp
    isobmff/item_locations.cpp
    movie/iso6709.cpp
    movie/item_list.cpp
    movie/movie_keys.cpp
    movie/user_data_records.cpp
    movie/video_location.cpp)
list(TRANSFORM QUORIEL_READING_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/)

# The sources of the pure reading: every source in this folder and its rooms, a new room's
# included, but none of position/command/, a library of its own. One list for the product's
# library and for the native sanitizer and fuzz builds of the tests.
# Relative paths, so that the folder's own path (which may hold "+") is never read as a pattern.
file(GLOB_RECURSE QUORIEL_READING_SOURCES CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_LIST_DIR}
    ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
list(FILTER QUORIEL_READING_SOURCES EXCLUDE REGEX "^command/")
list(SORT QUORIEL_READING_SOURCES)
list(TRANSFORM QUORIEL_READING_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/)

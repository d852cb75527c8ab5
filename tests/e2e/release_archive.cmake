# Makes the release archive with the build's CPack set-up, unpacks it into a fresh folder and
# checks that it holds exactly the files a user is meant to get, so that the end-to-end test
# installs what is shipped. Run by ctest as
#   cmake -D CPACK=... -D BUILD_DIR=... -D OUTPUT_DIR=... -D ARCHIVE_NAME=... -D PRESETS_DIR=...
#         -P release_archive.cmake

file(REMOVE_RECURSE ${OUTPUT_DIR})
execute_process(
    COMMAND ${CPACK} --config ${BUILD_DIR}/CPackConfig.cmake -B ${OUTPUT_DIR}
    WORKING_DIRECTORY ${BUILD_DIR}
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cpack failed: ${status}")
endif()

file(GLOB archives RELATIVE ${OUTPUT_DIR} ${OUTPUT_DIR}/*.zip)
if(NOT archives STREQUAL ARCHIVE_NAME)
    message(FATAL_ERROR "expected the one archive ${ARCHIVE_NAME}, cpack made: ${archives}")
endif()

set(unpacked ${OUTPUT_DIR}/unpacked)
file(MAKE_DIRECTORY ${unpacked})
execute_process(
    COMMAND ${CMAKE_COMMAND} -E tar xf ${OUTPUT_DIR}/${ARCHIVE_NAME}
    WORKING_DIRECTORY ${unpacked}
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "unpacking ${ARCHIVE_NAME} failed: ${status}")
endif()

# Everything at the archive's top, no folder of the archive's own name around it: the installer
# copies the Quoriel.dll and QuorielSettings.exe and registers the Quoriel.msix, trusting
# Quoriel.cer, that lie beside it.
set(expected
    LICENSE
    Quoriel.cer
    Quoriel.dll
    Quoriel.msix
    QuorielSettings.exe
    QuorielSetup.exe
    THIRD-PARTY-NOTICES.md
    guide.en.md
    guide.ja.md)
file(GLOB presets RELATIVE ${PRESETS_DIR} ${PRESETS_DIR}/*.reg)
foreach(preset IN LISTS presets)
    list(APPEND expected presets/${preset})
endforeach()

file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE ${unpacked} ${unpacked}/*)
set(missing ${expected})
if(found)
    list(REMOVE_ITEM missing ${found})
endif()
set(unexpected ${found})
list(REMOVE_ITEM unexpected ${expected})
if(missing OR unexpected)
    message(FATAL_ERROR "${ARCHIVE_NAME}: missing [${missing}], unexpected [${unexpected}]")
endif()
list(LENGTH found count)
message(STATUS "${ARCHIVE_NAME} holds the ${count} expected files; unpacked in ${unpacked}")

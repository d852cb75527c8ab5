# The release archive, made by `cpack` in the build folder: Quoriel-<version>-win64.zip (a test
# build's Quoriel-<version>-test-win64.zip, QUORIEL_ARCHIVE_NAME in CMakeLists.txt) with the
# installer, the module and the settings program side by side at its top (the installer copies
# the Quoriel.dll and QuorielSettings.exe that lie beside it), the Windows 11 package and its
# certificate beside them (the installer registers the package it finds there), the settings
# presets in presets/, the user guides, the licence and the third-party notices.
#
# Everything shipped is installed as one component, and CPack packs that component only: the
# module's import library and any install rule of another project in the tree stay out.
set(QUORIEL_RELEASE_COMPONENT release)

install(TARGETS QuorielSetup Quoriel QuorielSettings
    RUNTIME DESTINATION . COMPONENT ${QUORIEL_RELEASE_COMPONENT})
# The programs are signed where they are staged, after the rule above has copied them and, for
# CPack (CPACK_STRIP_FILES), stripped them: stripping a signed program would break its
# signature. Each is signed with the package's certificate, under the name Windows shows for it.
set(signed_programs
    "$<TARGET_FILE_NAME:QuorielSetup>=Quoriel Setup"
    "$<TARGET_FILE_NAME:Quoriel>=Quoriel"
    "$<TARGET_FILE_NAME:QuorielSettings>=Quoriel Settings")
install(CODE "
    set(sign_command [==[${QUORIEL_SIGN_COMMAND};program;${QUORIEL_SIGNING_PFX_PATH}]==])
    set(signed_programs [==[${signed_programs}]==])
    include([==[${PROJECT_SOURCE_DIR}/cmake/SignPrograms.cmake]==])"
    COMPONENT ${QUORIEL_RELEASE_COMPONENT})
install(FILES ${QUORIEL_PACKAGE_FILE_PATH} ${QUORIEL_CERTIFICATE_FILE_PATH}
    DESTINATION . COMPONENT ${QUORIEL_RELEASE_COMPONENT})
install(DIRECTORY ${QUORIEL_PRESETS_DIR}/
    DESTINATION presets COMPONENT ${QUORIEL_RELEASE_COMPONENT}
    FILES_MATCHING PATTERN "*.reg")
install(FILES
    ${PROJECT_SOURCE_DIR}/docs/guide.en.md
    ${PROJECT_SOURCE_DIR}/docs/guide.ja.md
    ${PROJECT_SOURCE_DIR}/LICENSE
    ${PROJECT_SOURCE_DIR}/THIRD-PARTY-NOTICES.md
    DESTINATION . COMPONENT ${QUORIEL_RELEASE_COMPONENT})

set(CPACK_PACKAGE_NAME Quoriel)
set(CPACK_PACKAGE_VENDOR Vantorel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Explorer context-menu command that opens a photo's Exif GPS position on a map")
set(CPACK_PACKAGE_FILE_NAME ${QUORIEL_ARCHIVE_NAME})
# Written into CPackConfig.cmake, where scripts/winget_manifest.py reads it: no manifests for a
# test build.
set(CPACK_QUORIEL_TEST_BUILD ${QUORIEL_TEST_BUILD})
# CPack writes zip files itself (libarchive inside CMake); no zip program is needed.
set(CPACK_GENERATOR ZIP)
# Explorer's "Extract All" already makes a folder named after the archive; a folder of the same
# name inside it would only be one more level to open.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_INSTALL_CMAKE_PROJECTS
    "${CMAKE_BINARY_DIR};${PROJECT_NAME};${QUORIEL_RELEASE_COMPONENT};/")
# cpack (and the package target) packs what is built and builds nothing itself: its
# "preinstall" step would otherwise build the whole tree, tests included, from inside the
# release_archive test. scripts/package.sh builds first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
# The build keeps its debug information; the shipped programs do not need it.
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)
include(CPack)

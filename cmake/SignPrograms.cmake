# Signs the installed programs where they are staged. Included by an install(CODE) rule of
# Packaging.cmake, which sets
#   sign_command     the scripts/sign.sh command up to the program's name
#   signed_programs  FILE=NAME for each program: its file in the installation and its name
foreach(program IN LISTS signed_programs)
    string(REPLACE "=" ";" program "${program}")
    list(GET program 0 file)
    list(GET program 1 name)
    set(file "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${file}")
    message(STATUS "Signing: ${file}")
    execute_process(COMMAND ${sign_command} ${name} ${file} RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "signing ${file} failed: ${status}")
    endif()
endforeach()

# Runs at install time (after the executable and the icon are in place) with
# CORVANE_MKDB, CORVANE_DESKTOP_IN and CORVANE_ICON_FILE set by the install rules.

set(sDir "${CMAKE_INSTALL_PREFIX}")
set(sDestDir "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")

# The settings file as the program itself writes its defaults: eight lines,
# each ended by CR LF.
if(NOT EXISTS "${sDestDir}/corvane.ini")
    string(ASCII 13 10 sCrLf)
    set(sIni "")
    foreach(sLine "[Options]" "user_id=0" "db_path=APPPATH" "maxform=0" "soundon=TRUE"
                  "animspd=80" "copylnk=FALSE" "animals=FALSE")
        string(APPEND sIni "${sLine}${sCrLf}")
    endforeach()
    message(STATUS "Installing: ${sDestDir}/corvane.ini")
    file(WRITE "${sDestDir}/corvane.ini" "${sIni}")
else()
    message(STATUS "Keeping: ${sDestDir}/corvane.ini")
endif()

if(NOT EXISTS "${sDestDir}/corvane.mdb")
    message(STATUS "Installing: ${sDestDir}/corvane.mdb")
    execute_process(COMMAND "${CORVANE_MKDB}" "${sDestDir}/corvane.mdb"
                    RESULT_VARIABLE nResult OUTPUT_QUIET)
    if(NOT nResult EQUAL 0)
        message(FATAL_ERROR "Could not make a fresh ${sDestDir}/corvane.mdb")
    endif()
else()
    message(STATUS "Keeping: ${sDestDir}/corvane.mdb")
endif()

# A desktop entry with absolute paths into this folder. The Exec value is
# quoted when the path holds a character the entry format reserves.
set(sExec "${sDir}/corvane")
if(sExec MATCHES "[] \t\"'\\\\><~|&;$*?#()`[]")
    string(REPLACE "\\" "\\\\" sExec "${sExec}")
    string(REPLACE "\"" "\\\"" sExec "${sExec}")
    string(REPLACE "`" "\\`" sExec "${sExec}")
    string(REPLACE "$" "\\$" sExec "${sExec}")
    set(sExec "\"${sExec}\"")
    # The entry's own string escape comes on top of the argument quoting.
    string(REPLACE "\\" "\\\\" sExec "${sExec}")
endif()
string(REPLACE "%" "%%" sExec "${sExec}")
set(CORVANE_EXEC "${sExec}")
string(REPLACE "\\" "\\\\" CORVANE_PATH "${sDir}")
set(CORVANE_ICON "${CORVANE_PATH}/${CORVANE_ICON_FILE}")
message(STATUS "Installing: ${sDestDir}/share/applications/corvane.desktop")
configure_file("${CORVANE_DESKTOP_IN}" "${sDestDir}/share/applications/corvane.desktop" @ONLY)

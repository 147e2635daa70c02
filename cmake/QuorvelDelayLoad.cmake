# Windows libraries that Quorvel needs only after its hotkeys are live: the common controls for
# the windows' controls and the task pictures, the shell for the tray icon, the task pictures
# and the launches. Each is linked through an import library of its own that loads it at the
# first call into it (delay loading), so that a start does not map it and all it pulls in before
# wWinMain. The functions called are listed in cmake/delay-load/<library>.def; one missing there
# does not link. The load asks for the library by name, after wWinMain has restricted the search
# to the system folder: the common controls come from the side-by-side assembly the manifest
# names, the shell (a known system library) from the system folder.
#
# quorvel_late_library(comctl32) defines the target quorvel_late_comctl32 to link against.
function(quorvel_late_library library)
    if(NOT CMAKE_DLLTOOL)
        message(FATAL_ERROR "dlltool was not found: it makes the late-loaded libraries' imports")
    endif()
    set(definitions ${PROJECT_SOURCE_DIR}/cmake/delay-load/${library}.def)
    set(imports ${CMAKE_BINARY_DIR}/delay-load/lib${library}_late.a)
    add_custom_command(OUTPUT ${imports}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delay-load
        COMMAND ${CMAKE_DLLTOOL} --input-def ${definitions} --dllname ${library}.dll
                --output-delaylib ${imports}
        DEPENDS ${definitions}
        VERBATIM)
    add_custom_target(quorvel_late_${library}_imports DEPENDS ${imports})
    add_library(quorvel_late_${library} INTERFACE)
    add_dependencies(quorvel_late_${library} quorvel_late_${library}_imports)
    # delayimp: MinGW's loader that the imports call on their first use.
    target_link_libraries(quorvel_late_${library} INTERFACE ${imports} delayimp)
endfunction()

if(WIN32)
    quorvel_late_library(comctl32)
    quorvel_late_library(shell32)
endif()

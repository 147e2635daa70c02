# The two downloads for Windows, packed by CPack from the install rules below: a portable ZIP
# (Quorvel.exe beside a data folder with the default settings and an empty task list) and,
# where makensis is found, a per-user setup program, Quorvel-<version>-setup.exe.
install(TARGETS quorvel_program RUNTIME DESTINATION .)
install(DIRECTORY data DESTINATION .)

set(CPACK_PACKAGE_NAME Quorvel)
set(CPACK_PACKAGE_VENDOR Tessaly)
# The setup's own script, cmake/NSIS.template.in, and the file name per generator.
set(CPACK_MODULE_PATH ${PROJECT_SOURCE_DIR}/cmake)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/CPackPerGenerator.cmake)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/src/app/res/quorvel.ico)

find_program(QUORVEL_MAKENSIS makensis)
set(CPACK_GENERATOR ZIP)
if(QUORVEL_MAKENSIS)
    list(APPEND CPACK_GENERATOR NSIS)
    set(CPACK_NSIS_EXECUTABLE ${QUORVEL_MAKENSIS})
endif()
# cpack builds the install target's dependencies first; were that the whole tree, the setup's
# own build below would start itself again. Packing needs only what install() names.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)

if(QUORVEL_MAKENSIS)
    # The setup alone, rebuilt when the program or its packing changes.
    set(QUORVEL_SETUP ${CMAKE_BINARY_DIR}/Quorvel-${PROJECT_VERSION}-setup.exe)
    file(GLOB QUORVEL_DEFAULT_DATA ${PROJECT_SOURCE_DIR}/data/*)
    add_custom_command(OUTPUT ${QUORVEL_SETUP}
        COMMAND ${CMAKE_CPACK_COMMAND} -G NSIS
                --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
        DEPENDS quorvel_program ${QUORVEL_DEFAULT_DATA} ${PROJECT_SOURCE_DIR}/cmake/NSIS.template.in
                ${PROJECT_SOURCE_DIR}/cmake/CPackPerGenerator.cmake
        WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
        COMMENT "Packing ${QUORVEL_SETUP}"
        VERBATIM)
    add_custom_target(quorvel_setup DEPENDS ${QUORVEL_SETUP})
else()
    message(STATUS "makensis not found: no setup program, no setup test")
endif()

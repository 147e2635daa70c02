# Read by cpack once for each generator, after CPackConfig.cmake.
if(CPACK_GENERATOR STREQUAL "ZIP")
    # Unpacks to one folder, Quorvel-<version>-win64, holding Quorvel.exe and data.
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
elseif(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}-setup")
endif()

# Copies each file of SOURCE_DIR into DEST_DIR unless it is there already, so that a rebuild
# never overwrites the tasks and settings of a Quorvel.exe that has been used.
file(MAKE_DIRECTORY ${DEST_DIR})
file(GLOB defaults ${SOURCE_DIR}/*)
foreach(file ${defaults})
    get_filename_component(name ${file} NAME)
    if(NOT EXISTS ${DEST_DIR}/${name})
        file(COPY ${file} DESTINATION ${DEST_DIR})
    endif()
endforeach()

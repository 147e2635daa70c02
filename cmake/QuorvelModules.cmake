# The modules and the direction their includes point: each module sees its own folder and those
# of the modules below it. tasks and hotkeys stand side by side on common and see nothing of
# each other; actions sees both; then actions <- session <- editor <- app, with about beside
# the editor under app. The task session is the centre the windows show.
set(QUORVEL_SEES_common common)
set(QUORVEL_SEES_tasks ${QUORVEL_SEES_common} tasks)
set(QUORVEL_SEES_hotkeys ${QUORVEL_SEES_common} hotkeys)
set(QUORVEL_SEES_actions ${QUORVEL_SEES_common} tasks hotkeys actions)
set(QUORVEL_SEES_session ${QUORVEL_SEES_actions} session)
set(QUORVEL_SEES_editor ${QUORVEL_SEES_session} editor)
set(QUORVEL_SEES_about ${QUORVEL_SEES_session} about)
set(QUORVEL_SEES_app ${QUORVEL_SEES_editor} about app)

# quorvel_module_includes(TARGET MODULE): the target's one include directory is a folder in the
# build tree that holds symbolic links to the folders the module sees, so that an include
# pointing up ("app/..." in the editor) does not compile. Where links cannot be made (Windows
# without developer mode) the target sees the whole src folder instead.
function(quorvel_module_includes target module)
    set(view ${CMAKE_BINARY_DIR}/module-includes/${module})
    # Made afresh, so that a module no longer seen is gone from a build tree made before.
    file(REMOVE_RECURSE ${view})
    file(MAKE_DIRECTORY ${view})
    foreach(seen IN LISTS QUORVEL_SEES_${module})
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${seen} ${view}/${seen} RESULT linked SYMBOLIC)
        if(NOT linked STREQUAL "0")
            message(STATUS "No symbolic links (${linked}): module includes are not checked")
            set(view ${PROJECT_SOURCE_DIR}/src)
            break()
        endif()
    endforeach()
    target_include_directories(${target} PUBLIC ${view})
endfunction()

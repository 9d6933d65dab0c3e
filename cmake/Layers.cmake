# orvu_layer(TARGET): the headers of the folder that defines TARGET become
# reachable as "<folder>/<header>.h" to TARGET and to whatever links it, and to
# nothing else. The include path is a folder in the build tree that holds one
# link, named like the source folder and pointing at it, so a target that
# doesn't link a layer can't include that layer's headers by accident.
function(orvu_layer target)
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    set(root ${CMAKE_BINARY_DIR}/layers/${folder})
    file(MAKE_DIRECTORY ${root})
    if(NOT EXISTS ${root}/${folder})
        file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
    endif()
    target_include_directories(${target} PUBLIC ${root})
    target_link_libraries(${target} PRIVATE orvu_warnings)
    if(NOT TARGET orvu::${folder})
        add_library(orvu::${folder} ALIAS ${target})
    endif()
endfunction()

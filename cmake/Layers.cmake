# orvu_layer(TARGET [QT]): the headers of the folder that defines TARGET
# become reachable as "<folder>/<header>.h" to TARGET and to whatever links
# it, and to nothing else. The include path is a folder in the build tree
# that holds one link, named like the source folder and pointing at it, so a
# target that doesn't link a layer can't include that layer's headers by
# accident. QT runs Qt's moc over the layer's headers (its QObjects); no
# other target has it.
function(orvu_layer target)
    cmake_parse_arguments(LAYER "QT" "" "" ${ARGN})
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    set(root ${CMAKE_BINARY_DIR}/layers/${folder})
    file(MAKE_DIRECTORY ${root})
    if(NOT EXISTS ${root}/${folder})
        file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
    endif()
    target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${root}>)
    target_link_libraries(${target} PRIVATE orvu_warnings)
    if(LAYER_QT)
        set_target_properties(${target} PROPERTIES AUTOMOC ON)
    endif()
    get_target_property(type ${target} TYPE)
    if(NOT TARGET orvu::${folder} AND NOT type STREQUAL "EXECUTABLE")
        add_library(orvu::${folder} ALIAS ${target})
    endif()
endfunction()

# Headers are included by their path from the repository root
# ("framework/Wnd.h"), so a reader always sees which subsystem a name comes
# from. Each target sees only the folders it may use, not the whole tree: for
# each folder the build makes a root of its own that holds just that folder
# (a link to it), and a target names the roots of its own folder and its
# dependencies'. An include against the dependency directions then finds no
# file, and the build says so.
function(velkor_include_root target visibility folder)
    string(REPLACE "/" "_" root_name ${folder})
    set(root ${CMAKE_BINARY_DIR}/include-roots/${root_name})
    get_filename_component(parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    if(NOT EXISTS ${root}/${folder})
        file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
    endif()
    target_include_directories(${target} ${visibility} ${root})
endfunction()

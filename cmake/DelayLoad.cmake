# Libraries bound on their first call instead of at every start (cmake/make-delay-lib.sh): a later instance
# of deskling.exe only hands its command line over and ends, and loading what it never calls was most of
# its time.
function(deskling_delay_load target)
    set(libraries)
    foreach(name IN LISTS ARGN)
        set(library "${CMAKE_BINARY_DIR}/delayload/lib${name}-delay.a")
        add_custom_command(
            OUTPUT "${library}"
            COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_BINARY_DIR}/delayload"
            COMMAND sh "${CMAKE_SOURCE_DIR}/cmake/make-delay-lib.sh" "${CMAKE_NM}" "${CMAKE_DLLTOOL}"
                    "${CMAKE_FIND_ROOT_PATH}/lib/lib${name}.a" "${library}" "${CMAKE_SYSTEM_PROCESSOR}"
            DEPENDS "${CMAKE_SOURCE_DIR}/cmake/make-delay-lib.sh"
            VERBATIM)
        list(APPEND libraries "${library}")
    endforeach()
    add_custom_target(${target}_delay_libraries DEPENDS ${libraries})
    add_dependencies(${target} ${target}_delay_libraries)
    # Ahead of the system's import libraries on the link line, so these resolve the calls.
    target_link_libraries(${target} PRIVATE ${libraries})
endfunction()

# A system DLL outside the system's list of known DLLs is looked for beside the program first when it is
# imported the usual way, so a copy planted there would run before any of our code. Such DLLs are imported
# late instead: the first call loads them, after start-up has restricted the search to the system folder
# (SetDefaultDllDirectories). Each delay-import library is made at configure time from the toolchain's
# import library: its imported names, handed to dlltool.
find_program(DESKLING_NM NAMES ${DESKLING_TRIPLE}-nm REQUIRED)
find_program(DESKLING_DLLTOOL NAMES ${DESKLING_TRIPLE}-dlltool REQUIRED)

# Sets out_var to the delay-import libraries of the given system libraries, followed by the loader helper.
function(deskling_delay_import_libraries out_var)
    set(libraries)
    set(folder "${CMAKE_BINARY_DIR}/delay-imports")
    file(MAKE_DIRECTORY "${folder}")
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        # stdcall names keep their @n in the symbols and lose it in the DLL's export table.
        set(prefix "__imp__")
        set(kill_at --kill-at)
    else()
        set(prefix "__imp_")
        set(kill_at)
    endif()
    foreach(name ${ARGN})
        find_library(import_${name} NAMES "lib${name}.a" REQUIRED NO_CACHE)
        execute_process(COMMAND "${DESKLING_NM}" -g "${import_${name}}" OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
        string(REGEX MATCHALL " I ${prefix}[^\n]+" imported "${symbols}")
        list(TRANSFORM imported REPLACE " I ${prefix}" "")
        list(REMOVE_DUPLICATES imported)
        list(JOIN imported "\n" exports)
        file(WRITE "${folder}/${name}.def" "LIBRARY ${name}.dll\nEXPORTS\n${exports}\n")
        set(library "${folder}/lib${name}_delay.a")
        execute_process(COMMAND "${DESKLING_DLLTOOL}" ${kill_at} --input-def "${folder}/${name}.def"
                                --output-delaylib "${library}" COMMAND_ERROR_IS_FATAL ANY)
        list(APPEND libraries "${library}")
    endforeach()
    set(${out_var} ${libraries} delayimp PARENT_SCOPE)
endfunction()

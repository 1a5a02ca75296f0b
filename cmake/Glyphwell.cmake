# Shared build rules: strict warnings everywhere, static runtimes for Windows binaries.

function(gw_strict target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Werror
                                             -Werror=unknown-pragmas)
    if(WIN32)
        target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN
                                                     NOMINMAX _WIN32_WINNT=0x0601)
    endif()
endfunction()

function(gw_static_runtime target)
    if(WIN32)
        target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
    endif()
endfunction()

# Sources of the given folders (their top level only), without program entry points.
function(gw_collect_sources out)
    set(all)
    foreach(dir IN LISTS ARGN)
        file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp)
        list(APPEND all ${found})
    endforeach()
    list(FILTER all EXCLUDE REGEX "Main\\.cpp$")
    set(${out} ${all} PARENT_SCOPE)
endfunction()

# Programs entered through wWinMain.
function(gw_unicode_entry target)
    if(MINGW)
        target_link_options(${target} PRIVATE -municode)
    endif()
endfunction()

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

# A program or library that is shipped: its debug information moves to symbols/ beside the
# install folder, linked by name, and its sections lie on page boundaries in the file. Wine reads
# an image whose sections do not into the process's own memory whole (debug sections included,
# megabytes of private memory and start-up time); page-aligned sections it maps from the file.
function(gw_shipped target)
    if(MINGW)
        target_link_options(${target} PRIVATE -Wl,--file-alignment=4096)
    endif()
    if(MINGW AND CMAKE_OBJCOPY)
        set(symbols ${CMAKE_BINARY_DIR}/symbols/$<TARGET_FILE_NAME:${target}>.debug)
        add_custom_command(TARGET ${target} POST_BUILD
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/symbols
            COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> ${symbols}
            COMMAND ${CMAKE_OBJCOPY} --strip-debug --add-gnu-debuglink=${symbols}
                    $<TARGET_FILE:${target}>
            VERBATIM)
    endif()
endfunction()

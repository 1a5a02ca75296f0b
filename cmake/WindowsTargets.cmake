# The Windows layer, the deliverables and the tests that run under Wine.

# Not the common controls: the program loads that library when a dialog first needs it
# (framework/win/CommonControls.h).
set(GW_SYSTEM_LIBS user32 gdi32 shell32 ole32 oleaut32 uuid winmm imm32 advapi32 msimg32)

# Deliverables go to one folder laid out as the install folder.
set(GW_INSTALL_DIR ${CMAKE_BINARY_DIR}/Glyphwell)

gw_collect_sources(GW_FRAMEWORK_SOURCES framework/win)
add_library(gw_framework STATIC ${GW_FRAMEWORK_SOURCES})
target_include_directories(gw_framework PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(gw_framework PUBLIC ${GW_SYSTEM_LIBS})
gw_strict(gw_framework)

gw_collect_sources(GW_WIN_SOURCES keyboard/win languages/win shell/win hook/win macros/win
                   extensions/win)
add_library(gw_win STATIC ${GW_WIN_SOURCES})
target_link_libraries(gw_win PUBLIC gw_core gw_framework)
gw_strict(gw_win)

# The practice game's windows: on the framework and the game's rules only.
gw_collect_sources(GW_GAME_WIN_SOURCES game/win)
add_library(gw_game_win STATIC ${GW_GAME_WIN_SOURCES})
target_link_libraries(gw_game_win PUBLIC gw_game gw_framework)
gw_strict(gw_game_win)

# windres does not report what a script includes, so name it here.
file(GLOB GW_RESOURCE_INPUTS CONFIGURE_DEPENDS resources/*.rc resources/*.h resources/*.manifest
     resources/pictures/*)
set_source_files_properties(resources/Glyphwell.rc PROPERTIES OBJECT_DEPENDS
                                                              "${GW_RESOURCE_INPUTS}")
file(GLOB GW_GAME_RESOURCE_INPUTS CONFIGURE_DEPENDS game/win/*.h game/win/*.manifest)
set_source_files_properties(game/win/GWGame.rc PROPERTIES OBJECT_DEPENDS
                                                          "${GW_GAME_RESOURCE_INPUTS}")

# Windows tests: one program per source file, each run by CTest under Wine with the keyboard
# program's resources (the game's tests, Game*, with the game's). Tests that drive the desktop
# (input, focus, foreground) take the "desktop" lock so they never overlap.
file(GLOB GW_WIN_TEST_SOURCES CONFIGURE_DEPENDS tests/win/*.cpp)
foreach(source IN LISTS GW_WIN_TEST_SOURCES)
    get_filename_component(name ${source} NAME_WE)
    if(name MATCHES "^Game")
        add_executable(win_${name} ${source} game/win/GWGame.rc)
        target_link_libraries(win_${name} PRIVATE gw_game_win GTest::gtest_main GTest::gmock)
    else()
        add_executable(win_${name} ${source} resources/Glyphwell.rc)
        target_link_libraries(win_${name} PRIVATE gw_win GTest::gtest_main GTest::gmock)
    endif()
    gw_strict(win_${name})
    gw_static_runtime(win_${name})
    add_test(NAME win.${name} COMMAND win_${name} --gtest_brief=1)
    set_tests_properties(win.${name} PROPERTIES RESOURCE_LOCK desktop)
endforeach()

# The focus hook library. The system loads it into every program with a user interface, so it
# links against nothing of ours but the ring's own code, and exports its two hook procedures by
# their plain names.
add_library(GWOKHook SHARED hook/library/HookLibrary.cpp hook/HookRing.cpp)
target_include_directories(GWOKHook PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(GWOKHook PRIVATE user32 winmm)
set_target_properties(GWOKHook PROPERTIES PREFIX "" OUTPUT_NAME GWOKHOOK SUFFIX ".DLL"
                                          RUNTIME_OUTPUT_DIRECTORY ${GW_INSTALL_DIR})
if(MSVC)
    target_sources(GWOKHook PRIVATE hook/library/GWOKHook.def)
else()
    target_link_options(GWOKHook PRIVATE -Wl,--kill-at)
endif()
gw_strict(GWOKHook)
gw_static_runtime(GWOKHook)
gw_shipped(GWOKHook)

# The keyboard program.
add_executable(Glyphwell WIN32 shell/win/GlyphwellMain.cpp resources/Glyphwell.rc)
target_link_libraries(Glyphwell PRIVATE gw_win)
gw_unicode_entry(Glyphwell)
set_target_properties(Glyphwell PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${GW_INSTALL_DIR})
gw_strict(Glyphwell)
gw_static_runtime(Glyphwell)
gw_shipped(Glyphwell)
add_dependencies(Glyphwell GWOKHook GWLanguages)

# The languages we ship, installed beside the program in "Languages".
add_custom_target(GWLanguages
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/languages/files
            ${GW_INSTALL_DIR}/Languages
    COMMENT "Installing the languages")

# The practice game, "GW Game.exe", which the keyboard's menu starts from the install folder.
add_executable(GWGame WIN32 game/win/GameMain.cpp game/win/GWGame.rc)
target_link_libraries(GWGame PRIVATE gw_game_win)
gw_unicode_entry(GWGame)
set_target_properties(GWGame PROPERTIES OUTPUT_NAME "GW Game" RUNTIME_OUTPUT_DIRECTORY
                                                            ${GW_INSTALL_DIR})
gw_strict(GWGame)
gw_static_runtime(GWGame)
gw_shipped(GWGame)


include(cmake/ExtensionTargets.cmake)

# End-to-end tests: they start the real programs (and a small program to type into) from the
# build folder, as a user would, and drive them with real input.
add_executable(GWTypingTarget WIN32 tests/e2e/programs/TypingTargetMain.cpp)
gw_unicode_entry(GWTypingTarget)
gw_strict(GWTypingTarget)
gw_static_runtime(GWTypingTarget)
# The hook library's test types into target programs through the installed library.
add_dependencies(win_HookLibraryTest GWOKHook GWTypingTarget)

file(GLOB GW_E2E_TEST_SOURCES CONFIGURE_DEPENDS tests/e2e/*Test.cpp)
foreach(source IN LISTS GW_E2E_TEST_SOURCES)
    get_filename_component(name ${source} NAME_WE)
    add_executable(e2e_${name} ${source})
    # With the Windows layer, so the tests measure the system as the program does.
    target_link_libraries(e2e_${name} PRIVATE gw_win GTest::gtest_main)
    gw_strict(e2e_${name})
    gw_static_runtime(e2e_${name})
    add_dependencies(e2e_${name} Glyphwell GWGame GWTypingTarget)
    add_test(NAME e2e.${name} COMMAND e2e_${name} --gtest_brief=1
             WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
    set_tests_properties(e2e.${name} PROPERTIES RESOURCE_LOCK desktop)
endforeach()

# Timing probe (not a test: performance goals live in the benchmarks, see scripts/bench.sh). It
# starts the keyboard from the install folder and types into a window of its own.
add_executable(GWTapLatencyProbe bench/win/TapLatencyProbe.cpp)
target_link_libraries(GWTapLatencyProbe PRIVATE gw_core ${GW_SYSTEM_LIBS} comctl32)
gw_strict(GWTapLatencyProbe)
gw_static_runtime(GWTapLatencyProbe)
add_dependencies(GWTapLatencyProbe Glyphwell GWLeastKeyboard)
# The probe's yardstick: the least possible on-screen keyboard.
add_executable(GWLeastKeyboard WIN32 bench/win/LeastKeyboardMain.cpp)
gw_unicode_entry(GWLeastKeyboard)
gw_strict(GWLeastKeyboard)
gw_static_runtime(GWLeastKeyboard)
gw_shipped(GWLeastKeyboard) # built as the keyboard is, so that the two compare fairly

# How fast a typed key shows its macro and a long macro is typed out (see scripts/bench.sh).
add_executable(GWMacroProbe bench/win/MacroProbe.cpp)
target_link_libraries(GWMacroProbe PRIVATE gw_core ${GW_SYSTEM_LIBS} comctl32)
gw_strict(GWMacroProbe)
gw_static_runtime(GWMacroProbe)
add_dependencies(GWMacroProbe Glyphwell)

# What the hook library costs inside other programs, and draining its ring (see scripts/bench.sh).
add_executable(GWHookProbe bench/win/HookProbe.cpp)
target_link_libraries(GWHookProbe PRIVATE gw_win)
gw_strict(GWHookProbe)
gw_static_runtime(GWHookProbe)
add_dependencies(GWHookProbe GWOKHook)

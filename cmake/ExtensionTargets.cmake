# The touchpad extension, the simulated touchpad it drives, and the extension libraries of the
# loader's tests. Included by WindowsTargets.cmake.

# GWExt000.dll: the touchpad extension. It compiles against the engine interface's header and
# exports the extension functions by their plain names; of the program's code it uses only the
# touchpad logic and the settings key.
add_library(GWExt000 SHARED extensions/touchpad/TouchpadExtensionExports.cpp
            extensions/touchpad/TouchpadExtension.cpp extensions/touchpad/DeviceLibrary.cpp
            extensions/touchpad/PacketHandoff.cpp extensions/touchpad/GWExt000.rc)
target_include_directories(GWExt000 PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(GWExt000 PRIVATE gw_win)
set_target_properties(GWExt000 PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${GW_INSTALL_DIR})
file(GLOB GW_EXTENSION_RESOURCE_INPUTS CONFIGURE_DEPENDS resources/resource.h
     resources/pictures/*.cur)
set_source_files_properties(extensions/touchpad/GWExt000.rc
                            PROPERTIES OBJECT_DEPENDS "${GW_EXTENSION_RESOURCE_INPUTS}")
gw_strict(GWExt000)
gw_static_runtime(GWExt000)
gw_shipped(GWExt000)

# Touchpad.dll: the simulated touchpad, its seven operations exported by ordinal only.
add_library(Touchpad SHARED extensions/touchpad/device/SimulatedTouchpad.cpp
            extensions/touchpad/device/Touchpad.def)
target_include_directories(Touchpad PRIVATE ${PROJECT_SOURCE_DIR})
set_target_properties(Touchpad PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${GW_INSTALL_DIR})
gw_strict(Touchpad)
gw_static_runtime(Touchpad)
gw_shipped(Touchpad)

add_dependencies(Glyphwell GWExt000 Touchpad)

# The loader's test libraries: one source built under the names of the slots they stand in,
# each set in a folder of its own (test-extensions/<set>/), linking nothing of the program.
function(gw_test_extension set slot)
    set(target test_extension_${set}_${slot})
    add_library(${target} SHARED tests/win/extension/RecordingExtension.cpp)
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
    target_compile_definitions(${target} PRIVATE GW_TEST_SLOT=${slot} ${ARGN})
    target_link_libraries(${target} PRIVATE user32)
    set(folder ${CMAKE_BINARY_DIR}/test-extensions/${set})
    set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME GWExt00${slot}
                          RUNTIME_OUTPUT_DIRECTORY ${folder} ARCHIVE_OUTPUT_DIRECTORY ${folder})
    gw_strict(${target})
    gw_static_runtime(${target})
    add_dependencies(win_ExtensionLoaderTest ${target})
endfunction()

gw_test_extension(first 0)
gw_test_extension(second 1)
gw_test_extension(faulty 0 GW_TEST_WITHOUT_UNINSTALL)
gw_test_extension(faulty 2 GW_TEST_INSTALL_FAILS)

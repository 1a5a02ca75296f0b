#pragma once
// Start-up steps of the application that stand on their own.
#include <windows.h>

// Removes the machine-wide settings that earlier versions left: below root (HKEY_LOCAL_MACHINE
// unless a test says otherwise) the key SOFTWARE\Vantorel\Glyphwell, then SOFTWARE\Vantorel.
// Each goes only if it has no subkeys left; every failure is ignored (the program never reads
// this hive).
void RemoveEarlierMachineSettings(HKEY root = HKEY_LOCAL_MACHINE);

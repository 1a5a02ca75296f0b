#include "shell/win/StartUpSteps.h"

void RemoveEarlierMachineSettings(HKEY root) {
    HKEY software = nullptr;
    if (::RegOpenKeyExW(root, L"SOFTWARE", 0, KEY_ALL_ACCESS, &software) != ERROR_SUCCESS)
        return;
    HKEY maker = nullptr;
    if (::RegOpenKeyExW(software, L"Vantorel", 0, KEY_ALL_ACCESS, &maker) == ERROR_SUCCESS) {
        ::RegDeleteKeyW(maker, L"Glyphwell");
        ::RegCloseKey(maker);
        ::RegDeleteKeyW(software, L"Vantorel");
    }
    ::RegCloseKey(software);
}

#pragma once
// The setup program's exit codes, those of Windows Installer, which deployment tools know.

constexpr int EXIT_DONE = 0;                   // ERROR_SUCCESS
constexpr int EXIT_BAD_ARGUMENTS = 87;         // ERROR_INVALID_PARAMETER
constexpr int EXIT_CANCELLED = 1602;           // ERROR_INSTALL_USEREXIT
constexpr int EXIT_FAILED = 1603;              // ERROR_INSTALL_FAILURE
constexpr int EXIT_DONE_AFTER_RESTART = 3010;  // ERROR_SUCCESS_REBOOT_REQUIRED

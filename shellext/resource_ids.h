#pragma once
// Identifiers of the module's resources, shared by the resource script and the code.

// The command's icon in Windows 11's menu.
#define IDI_QUORIEL 101

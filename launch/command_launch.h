#pragma once
// The output phase of the command: settings, expansion, and the shell's "open".

#include <windows.h>

#include "common/gps_position.h"
#include "common/messages.h"
#include "common/status.h"

// Splits text in place at its first space, which becomes a NUL: the file is the text before
// it, the parameters everything after it. Without a space the parameters are null, not empty.
void SplitAtFirstSpace(WCHAR* text, const WCHAR** file, const WCHAR** parameters);

// Opens an expanded text, split at its first space in place, with the shell's "open": 0 when
// the shell accepted it; RESULT_REPORTED after the message box in texts, owned by owner, that
// says not.
Status LaunchExpandedText(HWND owner, const MessageTexts& texts, WCHAR* text);

// 0 when the shell accepted the launch; RESULT_REPORTED after a message box in texts owned by
// owner; or a failure HRESULT from the settings or the expansion, with nothing shown.
Status LaunchPosition(HWND owner, const MessageTexts& texts, const GpsPosition& position);

#pragma once
// The formats' check boxes are made from the formats table when the window opens, so that a new
// switched row needs no line of the resource script: each group's boxes fill its frame in two
// rows, as many columns as they need, in the table's order.

#include <windows.h>

// Creates the box of each switched format with identifier IDC_FORMAT_BASE + its place among the
// switched rows, inside its group's frame, in the tab order right after the frame.
void CreateFormatBoxes(HWND dialog);

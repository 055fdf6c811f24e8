// The message box: the one way the library speaks to the user (unit refusals).
#pragma once

#include "MIDAStranslatetoOrvo.h"  // MessageBoxHandler

// Shows text in a modal box with one OK button, through the handler set with SetMessageBoxHandler.
void ShowMessageBox(const char* text);

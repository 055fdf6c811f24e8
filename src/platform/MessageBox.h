// The message box: the one way the library speaks to the user (unit refusals).
#pragma once

#include "MIDAStranslatetoOrvo.h"  // MessageBoxHandler

// Shows text in a modal box with one OK button, through the handler set with SetMessageBoxHandler.
void ShowMessageBox(const char* text);

// The handler in place while the host sets none: on Windows a modal MessageBoxW with an OK button and
// no owner window (the UTF-8 text shown as UTF-16); elsewhere the text and a newline on standard error.
void ShowSystemMessageBox(const char* text, void* context);

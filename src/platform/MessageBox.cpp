// The message box: a replaceable handler; by default a modal box on Windows and a line on standard
// error elsewhere.
#include "MessageBox.h"

#include <cstdio>
#include <mutex>

#if defined(_WIN32)
#include "WideText.h"
#endif

void ShowSystemMessageBox(const char* text, void*)
{
#if defined(_WIN32)
    // No owner window: the library does not know the host's windows. The text arrives as UTF-8.
    MessageBoxW(nullptr, midas2orvo::WideText(text, CP_UTF8).c_str(), L"midas2orvo", MB_OK | MB_ICONWARNING);
#else
    // One stdio call, so that the messages of two translations on two threads do not interleave.
    std::fprintf(stderr, "%s\n", text);
#endif
}

namespace {

std::mutex g_Lock;
MessageBoxHandler g_Handler = &ShowSystemMessageBox;
void* g_Context = nullptr;

} // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler, void* context)
{
    std::lock_guard<std::mutex> lock(g_Lock);
    MessageBoxHandler previous = g_Handler;
    g_Handler = handler ? handler : &ShowSystemMessageBox;
    g_Context = handler ? context : nullptr;
    return previous;
}

// The handler is called outside the lock, so a handler that waits for the user holds up no other
// translation; it may therefore run on several threads at once.
void ShowMessageBox(const char* text)
{
    MessageBoxHandler handler;
    void* context;
    {
        std::lock_guard<std::mutex> lock(g_Lock);
        handler = g_Handler;
        context = g_Context;
    }
    handler(text, context);
}

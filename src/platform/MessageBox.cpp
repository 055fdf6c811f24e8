// The message box: a replaceable handler; by default the text goes to standard error.
#include "MessageBox.h"

#include <cstdio>
#include <mutex>

namespace {

// One stdio call, so that the messages of two translations on two threads do not interleave.
void WriteToStandardError(const char* text, void*)
{
    std::fprintf(stderr, "%s\n", text);
}

std::mutex g_Lock;
MessageBoxHandler g_Handler = &WriteToStandardError;
void* g_Context = nullptr;

} // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler, void* context)
{
    std::lock_guard<std::mutex> lock(g_Lock);
    MessageBoxHandler previous = g_Handler;
    g_Handler = handler ? handler : &WriteToStandardError;
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

// The message box: a replaceable handler; by default the text goes to standard error.
#include "MessageBox.h"

#include <cstdio>
#include <mutex>

namespace {

void WriteToStandardError(const char* text, void*)
{
    std::fputs(text, stderr);
    std::fputc('\n', stderr);
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

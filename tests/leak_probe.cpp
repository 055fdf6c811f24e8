// Loses heap blocks on purpose. Under ctest in the sanitizer build LeakSanitizer must report them; if it
// does not, leak checking is off and a clean run of the suite proves nothing about leaks. A hundred
// blocks, and a stack wiped afterwards: a stale copy of one address left in a register or on the stack
// would hide that block from the check, never all of them.
#include <cstdio>
#include <cstring>

[[gnu::noinline]] static void LoseABlock()
{
    char* volatile block = new char[4096];
    block[0] = 1;
}

[[gnu::noinline]] static void WipeTheStack()
{
    volatile char stack[1 << 16];
    std::memset(const_cast<char*>(stack), 0, sizeof stack);
}

int main()
{
    for (int k = 0; k < 100; ++k)
        LoseABlock();
    WipeTheStack();
    std::puts("lost 100 blocks of 4096 bytes");
    return 0;
}

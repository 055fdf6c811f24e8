// Loses one heap block on purpose. Under ctest in the sanitizer build LeakSanitizer must report it; if it
// does not, leak checking is off and a clean run of the suite proves nothing about leaks.
#include <cstdio>

[[gnu::noinline]] static void LoseABlock()
{
    char* volatile block = new char[4096];
    block[0] = 1;
}

int main()
{
    LoseABlock();
    std::puts("lost one block of 4096 bytes");  // overwrites what is left of the block's address
    return 0;
}

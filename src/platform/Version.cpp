// The library's version at run time.
#include "midas2orvo/Version.h"

const char* MidasLibraryVersion()
{
    return MIDAS2ORVO_VERSION_STRING;
}

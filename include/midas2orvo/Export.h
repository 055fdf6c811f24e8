// Export macro for the symbols a host application links against.
#pragma once

#if defined(_WIN32)
#  if defined(MIDAS2ORVO_BUILDING)
#    define MIDAS2ORVO_API __declspec(dllexport)
#  elif defined(MIDAS2ORVO_STATIC)
#    define MIDAS2ORVO_API
#  else
#    define MIDAS2ORVO_API __declspec(dllimport)
#  endif
#else
#  define MIDAS2ORVO_API __attribute__((visibility("default")))
#endif

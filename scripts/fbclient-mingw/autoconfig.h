/* Firebird's configuration header for 64-bit Windows built with mingw-w64.
 *
 * Firebird ships a configuration only for MSVC on Windows. It fits GCC as well, but
 * tells the target from MSVC's own macro, which GCC does not define; it is defined
 * here just for that header and taken back after, so no MSVC-only code path sees it. */
#ifndef PORDANE_FBCLIENT_AUTOCONFIG_H
#define PORDANE_FBCLIENT_AUTOCONFIG_H

#if !defined(__x86_64__)
#error "this configuration is for 64-bit Windows (x86_64-w64-mingw32) only"
#endif

#ifndef _M_AMD64
#define _M_AMD64 100
#define PORDANE_DEFINED_M_AMD64
#endif

#include "autoconfig_msvc.h"

#ifdef PORDANE_DEFINED_M_AMD64
#undef _M_AMD64
#undef PORDANE_DEFINED_M_AMD64
#endif

#endif
